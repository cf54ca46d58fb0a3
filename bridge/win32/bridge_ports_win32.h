#pragma once
// The bridge logic's ports, done with Windows messages and the registry.
#include <windows.h>

#include "bridge/bridge_ports.h"
#include "common/win32/registered_messages.h"

class TWin32BridgePorts final : public IBridgePorts {
 public:
  TWin32BridgePorts(HWND bridge, const TRegisteredMessages& messages)
      : bridge_(bridge), messages_(messages) {}

  bool IsWindow(WindowHandle window) override;
  bool BelongsToThisProcess(WindowHandle window) override;
  std::intptr_t SendToSkypeWindow(WindowHandle skype, const std::string& text) override;
  void SendToPanelWindow(WindowHandle panel, const std::string& text) override;
  void PostPanelStatus(WindowHandle panel, std::uint32_t link_status, std::uint32_t report) override;
  void BroadcastSkypeDiscover() override;
  void BroadcastPanelDiscover() override;
  void ReplyToSender() override;
  void PostSkypeQuery(int query, std::int32_t argument) override;
  void PostHandsetKey(std::uint8_t key) override;
  void PostDialBufferReset() override;
  void NoteRefusedCommand() override;
  std::unique_ptr<IRegistryKey> OpenSettingsKey() override;

 private:
  HWND bridge_;
  const TRegisteredMessages& messages_;
  // The Skype window that did not answer the last command sent to it, if any, and when its
  // full wait ended (see the send's time-outs).
  WindowHandle unanswering_skype_ = 0;
  DWORD unanswered_at_ = 0;
};
