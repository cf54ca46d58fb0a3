#pragma once
// The panel's Windows version class (`FOsKind`): 1 = NT 5.0, 2 = NT 5.1, 3 = NT 6.0, and 0
// for every other version, another platform, or an unknown one. It decides which volume
// controls work, the device-name suffixes and the sound control panel's page.
#include <cstdint>
#include <string>

enum : std::uint8_t { kOsOther = 0, kOsNt50 = 1, kOsNt51 = 2, kOsNt60 = 3 };

// platform_id 2 is the NT family; a failed version query passes zeros.
std::uint8_t OsKindOf(unsigned platform_id, unsigned major, unsigned minor);

// What a sound device's product name contains when the device is the handset's
// (`FHandsetPattern`).
std::string HandsetPatternFor(std::uint8_t os_kind);
