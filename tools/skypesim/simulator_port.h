#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace skypesim {

// A window handle as a number; 0 is no window.
using WindowId = std::uint64_t;

// What came of sending a message: the receiver's return value, or the system error when the
// message was not delivered (no such window, or no reply in time).
struct TSendResult {
  bool delivered = false;
  std::int64_t value = 0;
  unsigned long error = 0;
};

// The outside world of the simulator. Everything here runs on the window thread.
class ISimulatorPort {
 public:
  virtual ~ISimulatorPort() = default;

  // One line of the event log.
  virtual void Log(const std::string& event, const std::string& details) = 0;

  virtual TSendResult SendAttach(WindowId client, std::uint32_t status) = 0;
  // The attach message to every top-level window, as Skype announces its API to all.
  virtual TSendResult BroadcastAttach(std::uint32_t status) = 0;
  // size bytes of data (data is null when size is 0) in one WM_COPYDATA.
  virtual TSendResult SendCopyData(WindowId client, const char* data, std::size_t size) = 0;
  virtual TSendResult SendToWindow(WindowId client, std::uint32_t message, std::int64_t wparam,
                                   std::int64_t lparam) = 0;
  virtual TSendResult PostToWindow(WindowId client, std::uint32_t message, std::int64_t wparam,
                                   std::int64_t lparam) = 0;

  // A one-shot timer that later calls ScenarioRunner::onTimer(id) from the message loop.
  virtual void StartTimer(unsigned id, std::uint32_t milliseconds) = 0;
  virtual void StopTimer(unsigned id) = 0;
  // Later calls ScenarioRunner::onWakeUp() from the message loop, never from inside the
  // handling of a message another program sent.
  virtual void WakeUp() = 0;

  // Stops handling messages for a while, as a hung program would.
  virtual void Freeze(std::uint32_t milliseconds) = 0;
  virtual void Quit() = 0;
  // Later, from the message loop: closes the API window, opens a new one and calls
  // ScenarioRunner::onReopened().
  virtual void ReopenWindow() = 0;
};

}  // namespace skypesim
