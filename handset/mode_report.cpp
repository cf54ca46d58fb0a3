#include "handset/mode_report.h"

TModeReport BuildModeReport(std::uint8_t mode, std::uint8_t ring_tone) {
  TModeReport report{};
  report[1] = 0x40;
  report[2] = mode;
  report[3] = ring_tone;
  return report;
}
