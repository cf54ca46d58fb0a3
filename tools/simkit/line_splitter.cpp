#include "tools/simkit/line_splitter.h"

#include <utility>

namespace simkit {
namespace {

std::string WithoutCarriageReturn(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

std::vector<std::string> TLineSplitter::Feed(const char* data, std::size_t size) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] != '\n') {
      partial_ += data[i];
      continue;
    }
    lines.push_back(WithoutCarriageReturn(std::move(partial_)));
    partial_.clear();
  }
  return lines;
}

std::vector<std::string> TLineSplitter::Finish() {
  std::vector<std::string> lines;
  if (!partial_.empty()) lines.push_back(WithoutCarriageReturn(std::move(partial_)));
  partial_.clear();
  return lines;
}

}  // namespace simkit
