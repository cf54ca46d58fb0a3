#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/skypesim/simulator_port.h"

namespace skypesim {

// Sends to the client through the port and logs each send with its result.
class TOutgoing {
 public:
  explicit TOutgoing(ISimulatorPort& port) : port_(port) {}

  void Attach(WindowId client, std::uint32_t status);
  void BroadcastAttach(std::uint32_t status);
  // The text and its terminating zero byte.
  void Notify(WindowId client, const std::string& text);
  // Exactly size bytes taken from text (see rawBytes); size 0 sends no buffer at all.
  void CopyData(WindowId client, std::size_t size, const std::string& text);
  // size bytes of 'A' and a zero byte.
  void CopyDataBig(WindowId client, std::size_t size);
  void Post(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam);
  void Send(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam);

 private:
  ISimulatorPort& port_;
};

}  // namespace skypesim
