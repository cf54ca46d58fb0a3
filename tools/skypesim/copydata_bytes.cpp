#include "tools/skypesim/copydata_bytes.h"

#include <algorithm>

namespace skypesim {

std::string ReceivedText(const char* data, std::size_t size) {
  if (data == nullptr) return std::string();
  const char* end = std::find(data, data + size, '\0');
  return std::string(data, end);
}

std::string RawBytes(std::size_t size, std::string_view text) {
  std::string bytes(text.substr(0, size));
  bytes.resize(size, 'x');
  return bytes;
}

}  // namespace skypesim
