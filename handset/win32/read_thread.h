#pragma once
// TUSBPhoneDataReadThread: reads one handset's input reports on a thread of its own, each
// through a handle of its own, and turns them into key events.
#include <memory>
#include <string>

#include "handset/device_manager.h"
#include "handset/hid_platform.h"

class TUSBPhoneDataReadThread final : public IHandsetReadThread {
 public:
  TUSBPhoneDataReadThread(std::string device_path, std::uint16_t input_report_length, THandsetCallbacks callbacks);
  // Asks the thread to stop and returns at once, without waiting for it: the window thread
  // that stops handsets must stay free for the messages sent to it. From here on no callback
  // runs; the thread ends its pending read by itself and then frees what it used.
  ~TUSBPhoneDataReadThread() override;

 private:
  class TReader;
  std::shared_ptr<TReader> reader_;
};
