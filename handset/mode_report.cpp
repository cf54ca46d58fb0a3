#include "handset/mode_report.h"

TModeReport BuildModeReport(THandsetMode mode, std::uint8_t ring_tone) {
  TModeReport report{};
  report[1] = 0x40;
  report[2] = ModeByte(mode);
  report[3] = ring_tone;
  return report;
}
