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
class PipeEvents {
public:
    virtual ~PipeEvents() = default;
    virtual void connected(int channel, ConnectionId connection) = 0;
    // One whole message the client wrote.
    virtual void received(ConnectionId connection, const Bytes& message) = 0;
    // A send ended: completed (on a device pipe: the client has read it) or not.
    virtual void writeEnded(ConnectionId connection, bool completed) = 0;
    virtual void disconnected(ConnectionId connection) = 0;
};

class SimulatorPort {
public:
    virtual ~SimulatorPort() = default;

    virtual void log(std::string_view event, const std::string& details) = 0;

    // Lets clients connect to `path`; false when the pipe cannot be made.
    virtual bool listen(int channel, const std::string& path) = 0;
    // Refuses new clients and breaks every connection of the channel.
    virtual void stopListening(int channel) = 0;
    // Sends one message. On a device pipe the write ends only once the client has read it.
    virtual void send(ConnectionId connection, const Bytes& message) = 0;
    // Cancels the connection's pending send; writeEnded still follows, completed or not.
    virtual void withdraw(ConnectionId connection) = 0;

    // One-shot timers, delivered later from the message loop.
    virtual void startTimer(unsigned id, std::uint32_t milliseconds) = 0;
    virtual void stopTimer(unsigned id) = 0;
    virtual std::uint64_t nowMs() = 0;
    // Calls back from the message loop, outside any pipe event.
    virtual void wakeUp() = 0;
    virtual void quit() = 0;
};

// Timer ids from here on belong to the devices (base + device number); those below to the
// scenario.
constexpr unsigned kDeviceTimerBase = 0x10000;

}  // namespace handsetsim
