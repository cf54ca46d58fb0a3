#include "tools/handsetsim/output_history.h"

#include <utility>

namespace handsetsim {

void TOutputHistory::Record(int device, Bytes report) { devices_[device].reports.push_back(std::move(report)); }

bool TOutputHistory::Consume(int device, const Bytes& prefix) {
  TDevice& history = devices_[device];
  for (std::size_t i = history.cursor; i < history.reports.size(); ++i) {
    if (StartsWith(history.reports[i], prefix)) {
      history.cursor = i + 1;
      return true;
    }
  }
  return false;
}

}  // namespace handsetsim
