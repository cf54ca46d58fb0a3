#include "bridge/logged_ports.h"

bool DiagnosticLogWanted(IBridgePorts& ports) {
  const auto key = ports.OpenSettingsKey();
  const auto value = key ? key->ReadDword(kDiagnosticLogValue) : std::nullopt;
  return value && *value != 0;
}

std::intptr_t TLoggedBridgePorts::SendToSkypeWindow(WindowHandle skype, const std::string& text) {
  // Logged before it goes: Skype's answer may arrive while the send is still under way.
  log_.TextOut(text);
  const std::intptr_t result = inner_.SendToSkypeWindow(skype, text);
  if (result != 1) log_.TextOutResult(result);
  return result;
}

void TLoggedDeviceManager::SendMode(THandsetMode mode, std::uint8_t ring_tone) {
  log_.ModeReport(ModeByte(mode), ring_tone);
  inner_->SendMode(mode, ring_tone);
}

void TLoggedDeviceManager::SetOnDeviceChange(ChangeCallback callback) {
  inner_->SetOnDeviceChange([this, callback = std::move(callback)] {
    log_.DevicesChanged(inner_->Count());
    if (callback) callback();
  });
}
