#include "common/copydata_text.h"

#include <cstring>

namespace copydata {

std::string TextFrom(const void* data, std::size_t size) {
  if (data == nullptr || size == 0) return std::string();
  const char* bytes = static_cast<const char*>(data);
  const void* zero = std::memchr(bytes, 0, size);
  const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
  return std::string(bytes, length);
}

std::vector<char> PayloadFor(const std::string& text) {
  std::vector<char> payload(text.begin(), text.end());
  payload.push_back('\0');
  return payload;
}

}  // namespace copydata
