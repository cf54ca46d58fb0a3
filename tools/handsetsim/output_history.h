#pragma once
// The output reports each device has received, for the scenario's waits. A wait takes the
// first matching report after the last one an earlier wait took on that device, so a report
// that came before the wait still counts, but only once.
#include <cstddef>
#include <map>
#include <vector>

#include "tools/handsetsim/bytes.h"

namespace handsetsim {

class OutputHistory {
public:
    void record(int device, Bytes report);
    bool consume(int device, const Bytes& prefix);

private:
    struct Device {
        std::vector<Bytes> reports;
        std::size_t cursor = 0;
    };
    std::map<int, Device> devices_;
};

}  // namespace handsetsim
