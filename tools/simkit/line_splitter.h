#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace simkit {

// Cuts a byte stream, read in chunks of any size, into lines ending in "\n" or "\r\n".
class TLineSplitter {
 public:
  // The lines completed by this chunk.
  std::vector<std::string> Feed(const char* data, std::size_t size);
  // The unterminated last line, if the stream ended with one.
  std::vector<std::string> Finish();

 private:
  std::string partial_;
};

}  // namespace simkit
