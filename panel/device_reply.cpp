#include "panel/device_reply.h"

std::optional<TDeviceKind> DeviceReplyKind(const std::string& text) {
  if (text.find("AUDIO_IN ") != std::string::npos) return TDeviceKind::Input;
  if (text.find("AUDIO_OUT ") != std::string::npos) return TDeviceKind::Output;
  if (text.find("RINGER ") != std::string::npos) return TDeviceKind::Ringer;
  return std::nullopt;
}
