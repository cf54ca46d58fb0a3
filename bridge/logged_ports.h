#pragma once
// The bridge's ways out with the diagnostic log on the way through: the ports log each text
// sent to Skype (and a result other than 1), the device manager each mode report and each
// change of the handsets. Everything else passes unchanged. The logic does not know the log.
#include <memory>

#include "bridge/bridge_ports.h"
#include "bridge/diagnostic_log.h"
#include "handset/device_manager.h"

// The bridge's registry value asks for the log.
bool DiagnosticLogWanted(IBridgePorts& ports);

class TLoggedBridgePorts final : public IBridgePorts {
 public:
  TLoggedBridgePorts(IBridgePorts& inner, TDiagnosticLog& log) : inner_(inner), log_(log) {}

  bool IsWindow(WindowHandle window) override { return inner_.IsWindow(window); }
  bool BelongsToThisProcess(WindowHandle window) override { return inner_.BelongsToThisProcess(window); }
  std::intptr_t SendToSkypeWindow(WindowHandle skype, const std::string& text) override;
  void SendToPanelWindow(WindowHandle panel, const std::string& text) override {
    inner_.SendToPanelWindow(panel, text);
  }
  void PostPanelStatus(WindowHandle panel, std::uint32_t link_status, std::uint32_t report) override {
    inner_.PostPanelStatus(panel, link_status, report);
  }
  void BroadcastSkypeDiscover() override { inner_.BroadcastSkypeDiscover(); }
  void BroadcastPanelDiscover() override { inner_.BroadcastPanelDiscover(); }
  void ReplyToSender() override { inner_.ReplyToSender(); }
  void PostSkypeQuery(int query, std::int32_t argument) override { inner_.PostSkypeQuery(query, argument); }
  void PostHandsetKey(std::uint8_t key) override { inner_.PostHandsetKey(key); }
  void PostDialBufferReset() override { inner_.PostDialBufferReset(); }
  void NoteRefusedCommand() override { inner_.NoteRefusedCommand(); }
  std::unique_ptr<IRegistryKey> OpenSettingsKey() override { return inner_.OpenSettingsKey(); }

 private:
  IBridgePorts& inner_;
  TDiagnosticLog& log_;
};

class TLoggedDeviceManager final : public IHandsetDeviceManager {
 public:
  TLoggedDeviceManager(std::unique_ptr<IHandsetDeviceManager> inner, TDiagnosticLog& log)
      : inner_(std::move(inner)), log_(log) {}

  int Count() const override { return inner_->Count(); }
  void SendMode(THandsetMode mode, std::uint8_t ring_tone) override;
  void SetOnDeviceChange(ChangeCallback callback) override;
  void StartReadThreads(const THandsetCallbacks& callbacks) override { inner_->StartReadThreads(callbacks); }

 private:
  std::unique_ptr<IHandsetDeviceManager> inner_;
  TDiagnosticLog& log_;
};
