#include "panel/os_kind.h"

namespace {
constexpr unsigned kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT
}  // namespace

std::uint8_t OsKindOf(unsigned platform_id, unsigned major, unsigned minor) {
  if (platform_id != kPlatformNt) return kOsOther;
  if (major == 5 && minor == 0) return kOsNt50;
  if (major == 5 && minor == 1) return kOsNt51;
  if (major == 6 && minor == 0) return kOsNt60;
  return kOsOther;
}

std::string HandsetPatternFor(std::uint8_t os_kind) {
  return os_kind == kOsNt51 || os_kind == kOsNt60 ? "USB Phone" : "USB";
}
