#pragma once
// An open registry key as the logic of both programs sees it; closed when destroyed.
// common/win32/registry.h opens the real ones.
#include <cstdint>
#include <optional>
#include <string>

class IRegistryKey {
 public:
  virtual ~IRegistryKey() = default;
  // nullopt when the value is missing or not a string.
  virtual std::optional<std::string> ReadString(const char* name) = 0;
  virtual void WriteString(const char* name, const std::string& value) = 0;
  // nullopt when the value is missing or not a 32-bit integer.
  virtual std::optional<std::uint32_t> ReadDword(const char* name) = 0;
  virtual void WriteDword(const char* name, std::uint32_t value) = 0;
};
