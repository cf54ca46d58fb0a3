#pragma once
// The simulator's outside world: its log, its pipes and its clock. Everything runs on one
// thread; pipe events come back through PipeEvents, timers through the owner of the port.
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/handsetsim/bytes.h"

namespace handsetsim {

// One client connection to a pipe; never reused while the simulator runs.
using ConnectionId = std::uint32_t;

// Pipe channels: the control pipe, or device N's pipe.
constexpr int kControlChannel = 0;

// What the pipes report. Every send to a connection ends (writeEnded) before it is reported
// disconnected, except a send made once it was broken, which ends with the disconnection.
// Nothing is reported about a connection afterwards.
class IPipeEvents {
 public:
  virtual ~IPipeEvents() = default;
  virtual void Connected(int channel, ConnectionId connection) = 0;
  // One whole message the client wrote.
  virtual void Received(ConnectionId connection, const Bytes& message) = 0;
  // A send ended: completed (on a device pipe: the client has read it) or not.
  virtual void WriteEnded(ConnectionId connection, bool completed) = 0;
  virtual void Disconnected(ConnectionId connection) = 0;
};

class ISimulatorPort {
 public:
  virtual ~ISimulatorPort() = default;

  virtual void Log(std::string_view event, const std::string& details) = 0;

  // Lets clients connect to `path`; false when the pipe cannot be made.
  virtual bool Listen(int channel, const std::string& path) = 0;
  // Refuses new clients and breaks every connection of the channel.
  virtual void StopListening(int channel) = 0;
  // Sends one message. On a device pipe the write ends only once the client has read it.
  virtual void Send(ConnectionId connection, const Bytes& message) = 0;
  // Cancels the connection's pending send; writeEnded still follows, completed or not.
  virtual void Withdraw(ConnectionId connection) = 0;

  // One-shot timers, delivered later from the message loop.
  virtual void StartTimer(unsigned id, std::uint32_t milliseconds) = 0;
  virtual void StopTimer(unsigned id) = 0;
  virtual std::uint64_t NowMs() = 0;
  // Calls back from the message loop, outside any pipe event.
  virtual void WakeUp() = 0;
  virtual void Quit() = 0;
};

// Timer ids from here on belong to the devices (base + device number); those below to the
// scenario.
constexpr unsigned kDeviceTimerBase = 0x10000;

}  // namespace handsetsim
