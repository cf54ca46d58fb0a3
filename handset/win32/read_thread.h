#pragma once
// TUSBPhoneDataReadThread: reads one handset's input reports on a thread of its own, each
// through a handle of its own, and turns them into key events.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "handset/device_manager.h"
#include "handset/hid_platform.h"
#include "handset/key_decoder.h"

class TUSBPhoneDataReadThread final : public IHandsetReadThread {
 public:
  TUSBPhoneDataReadThread(std::string device_path, std::uint16_t input_report_length, THandsetCallbacks callbacks);
  // Asks the thread to stop and waits for it: at most one 200 ms wait slice.
  ~TUSBPhoneDataReadThread() override;

 private:
  struct PendingRead {
    OVERLAPPED overlapped;  // first, so the completion routine finds the record from it
    bool completed;
    DWORD error;
  };

  static DWORD WINAPI ThreadMain(LPVOID self);
  void Run();
  bool OpenReadHandle();
  void CloseReadHandle();
  enum class ReadOutcome { kCompleted, kNotStarted, kStopped };
  // Starts one read and waits for it to complete or for a stop request.
  ReadOutcome ReadOneReport();
  void ProcessReport();
  static void CALLBACK ReadCompleted(DWORD error, DWORD transferred, LPOVERLAPPED overlapped);

  const std::string device_path_;
  THandsetCallbacks callbacks_;
  std::vector<std::uint8_t> report_;
  std::uint16_t input_report_length_;
  HANDLE read_handle_ = INVALID_HANDLE_VALUE;
  PendingRead pending_{};
  TKeyDecoder decoder_;
  std::atomic<bool> stop_requested_{false};
  // A Win32 thread rather than std::thread: the 32-bit build's runtime (for Windows XP) has none.
  HANDLE thread_ = nullptr;
};
