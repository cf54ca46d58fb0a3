#include "tools/handsetsim/output_history.h"

#include <utility>

namespace handsetsim {

void OutputHistory::record(int device, Bytes report) {
    devices_[device].reports.push_back(std::move(report));
}

bool OutputHistory::consume(int device, const Bytes& prefix) {
    Device& history = devices_[device];
    for (std::size_t i = history.cursor; i < history.reports.size(); ++i) {
        if (startsWith(history.reports[i], prefix)) {
            history.cursor = i + 1;
            return true;
        }
    }
    return false;
}

}  // namespace handsetsim
