#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/skypesim/simulator_port.h"

namespace skypesim {

// Sends to the client through the port and logs each send with its result.
class Outgoing {
public:
    explicit Outgoing(SimulatorPort& port) : port_(port) {}

    void attach(WindowId client, std::uint32_t status);
    void broadcastAttach(std::uint32_t status);
    // The text and its terminating zero byte.
    void notify(WindowId client, const std::string& text);
    // Exactly size bytes taken from text (see rawBytes); size 0 sends no buffer at all.
    void copyData(WindowId client, std::size_t size, const std::string& text);
    // size bytes of 'A' and a zero byte.
    void copyDataBig(WindowId client, std::size_t size);
    void post(WindowId client, std::uint32_t message, std::int64_t wParam, std::int64_t lParam);
    void send(WindowId client, std::uint32_t message, std::int64_t wParam, std::int64_t lParam);

private:
    SimulatorPort& port_;
};

}  // namespace skypesim
