#pragma once
// The output reports each device has received, for the scenario's waits. A wait takes the
// first matching report after the last one an earlier wait took on that device, so a report
// that came before the wait still counts, but only once.
#include <cstddef>
#include <map>
#include <vector>

#include "tools/handsetsim/bytes.h"

namespace handsetsim {

class TOutputHistory {
 public:
  void Record(int device, Bytes report);
  bool Consume(int device, const Bytes& prefix);

 private:
  struct TDevice {
    std::vector<Bytes> reports;
    std::size_t cursor = 0;
  };
  std::map<int, TDevice> devices_;
};

}  // namespace handsetsim
