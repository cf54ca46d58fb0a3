#pragma once

#include <windows.h>

#include "tools/simkit/win32/event_log.h"
#include "tools/skypesim/simulator_port.h"
#include "tools/skypesim/win32/api_messages.h"

namespace skypesim {

// The simulator's outside world as Win32 calls made on behalf of its API window.
class TWin32Port : public ISimulatorPort {
 public:
  TWin32Port(simkit::TEventLog& log, const TApiMessages& messages) : log_(log), messages_(messages) {}

  void SetWindow(HWND window) { window_ = window; }

  void Log(const std::string& event, const std::string& details) override;
  TSendResult SendAttach(WindowId client, std::uint32_t status) override;
  TSendResult BroadcastAttach(std::uint32_t status) override;
  TSendResult SendCopyData(WindowId client, const char* data, std::size_t size) override;
  TSendResult SendToWindow(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam) override;
  TSendResult PostToWindow(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam) override;
  void StartTimer(unsigned id, std::uint32_t milliseconds) override;
  void StopTimer(unsigned id) override;
  void WakeUp() override;
  void Freeze(std::uint32_t milliseconds) override;
  void Quit() override;
  void ReopenWindow() override;

 private:
  TSendResult SendWithTimeout(WindowId client, UINT message, WPARAM wparam, LPARAM lparam);

  simkit::TEventLog& log_;
  TApiMessages messages_;
  HWND window_ = nullptr;
  // When the send that just returned began: the event that tells of it, logged next, carries
  // that moment (the client handles a send before it returns).
  std::uint64_t send_began_ = 0;
  bool send_returned_ = false;
};

}  // namespace skypesim
