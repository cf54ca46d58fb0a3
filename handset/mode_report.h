#pragma once
// The one output report the handset gets: its mode and ring tone.
#include <array>
#include <cstdint>

#include "common/handset_mode_values.h"

constexpr std::size_t kModeReportSize = 21;
using TModeReport = std::array<std::uint8_t, kModeReportSize>;

// 00 40 mode ring-tone, then zeros; byte 0 is report id 0.
TModeReport BuildModeReport(THandsetMode mode, std::uint8_t ring_tone);
