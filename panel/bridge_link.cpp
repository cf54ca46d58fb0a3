// The window's message entry and its link to the bridge: discovery, status and key
// reports, relayed Skype answers, the bridge watch, and the commands the panel sends.
#include "common/bridge_status.h"
#include "common/copydata_text.h"
#include "common/window_messages.h"
#include "panel/instance_names.h"
#include "panel/link_state.h"
#include "panel/main_form.h"
#include "panel/ui_texts.h"

namespace {

bool IsRegistered(unsigned message, unsigned registered) {
  return registered != 0 && message == registered;
}

bool IsGenuineCommand(std::uintptr_t wparam, std::intptr_t lparam) {
  return wparam == panel_instance::kCommandWParam && lparam == panel_instance::kCommandLParam;
}

}  // namespace

std::optional<std::intptr_t> TForm1::Dispatch(const TPanelMessage& m) {
  bool handled = true;
  if (IsRegistered(m.message, state_.FMsgDevChange)) {
    RestartDeviceChangeTimer();
  } else if (IsRegistered(m.message, state_.FMsgDiscover)) {
    Discovery(static_cast<WindowHandle>(m.wparam));
  } else if (IsRegistered(m.message, state_.FMsgAttach)) {
    // Another panel's announcement, or our own coming back: nothing to do.
  } else {
    switch (m.message) {
      case kWmCopyData:
        handled = WMCopyData(m.copy_data, m.copy_size);
        break;
      case kWmDeviceChange:
        RestartDeviceChangeTimer();
        return std::nullopt;  // Windows' own handling still runs
      case msg::WM_BRIDGESTATUS:
        WMBridgeStatus(static_cast<std::uint32_t>(m.wparam), static_cast<std::uint32_t>(m.lparam));
        break;
      case msg::WM_PANELEXIT:
        if (IsGenuineCommand(m.wparam, m.lparam)) ItemExitClick();
        break;
      case msg::WM_PANELRESTORE:
        if (IsGenuineCommand(m.wparam, m.lparam)) ShowPanel();
        break;
      default:
        return std::nullopt;
    }
  }
  if (!handled) return std::nullopt;
  // Releases a sender waiting in SendMessage; no effect for posted messages.
  ports_.ReplyToSender();
  return 1;
}

void TForm1::Discovery(WindowHandle bridge) {
  const WindowHandle previous = state_.FBridgeWnd;
  state_.FBridgeWnd = bridge;
  state_.FLastBridgeWnd = bridge;
  state_.FSearchMode = false;
  RestartTimer(TPanelTimer::DrvCheck);
  // Posted, not sent: the bridge is inside its broadcast right now.
  const WindowHandle self = ports_.PanelWindow();
  if (previous != 0) ports_.Post(previous, state_.FMsgAttach, self, msg::kAttachSuccess);
  if (bridge != 0) ports_.Post(bridge, state_.FMsgAttach, self, msg::kAttachSuccess);
}

void TForm1::WMBridgeStatus(std::uint32_t link_status, std::uint32_t link_info) {
  // A report after a lapse restores the link to the last discovered bridge.
  state_.FBridgeWnd = state_.FLastBridgeWnd;
  ports_.ReplyToSender();
  RestartTimer(TPanelTimer::DrvCheck);
  state_.FLinkStatus = link_status;
  state_.FLinkInfo = link_info;
  state_.FBridgeReporting = true;

  const std::uint8_t key = bridge_status::ReportKey(link_info);
  if (key == bridge_status::kPeriodicKey) {
    const bool skype_attached = bridge_status::SkypeAttached(link_status);
    device_choice_.ApplySavedDevices();
    UpdateVolumeGroup(HandsetPresent());
    UpdateSkypeGroup(skype_attached);
    SetDefaultButtonEnabled(HandsetPresent() && skype_attached);
    SetTrayIconIndex(HandsetPresent() ? 1 : 0);
    ShowLinkState();
  } else if (HandsetPresent()) {
    StopTimer(TPanelTimer::KeyRepeat);
    state_.FPrevKey = state_.FCurKey;
    state_.FCurKey = key;
    TimerKeyRepeatTimer();
    if (state_.FCurKey != 0) StartTimer(TPanelTimer::KeyRepeat);
  }
}

bool TForm1::WMCopyData(const void* data, std::uint32_t size) {
  if (size == 0 || static_cast<std::int32_t>(size) < 0) return false;
  const std::string text = copydata::TextFrom(data, size);
  const std::optional<TDeviceKind> kind = DeviceReplyKind(text);
  if (!kind) return false;
  device_choice_.HandleDeviceReply(text, ComboBoxFor(*kind));
  return true;
}

void TForm1::TimerDrvCheckTimer() {
  state_.FBridgeWnd = 0;
  state_.FBridgeReporting = false;
  UpdateVolumeGroup(false);
  UpdateSkypeGroup(false);
  SetDefaultButtonEnabled(false);
  StopTimer(TPanelTimer::DrvCheck);
  SetTrayIconIndex(0);
  ShowLinkState();
  if (state_.FSearchMode) {
    state_.FExiting = true;
    ports_.CloseMainWindow();
  }
}

void TForm1::RestartDeviceChangeTimer() { RestartTimer(TPanelTimer::DevChg); }

void TForm1::TimerDevChgTimer() {
  StopTimer(TPanelTimer::DevChg);
  volume_.RefreshMixers();
  volume_.FindHandsetDevices(true);
  // Asked again, so the answers reflect the new device set.
  RequestAudioIn();
  RequestAudioOut();
  RequestRinger();
}

void TForm1::SendWithTimeout(WindowHandle to, unsigned message, std::uintptr_t wparam,
                             std::intptr_t lparam) {
  // Inside a message sent to us the sender may be waiting for us: never block on it.
  if (ports_.InSendMessage()) return;
  ports_.SendBounded(to, message, wparam, lparam);
}

void TForm1::SendToBridge(const std::string& text) {
  if (state_.FBridgeWnd == 0 || text.empty()) return;
  if (ports_.InSendMessage()) return;
  // "!" asks the bridge to pass the rest on to Skype; cbData counts it and the zero byte.
  ports_.SendTextBounded(state_.FBridgeWnd, "!" + text);
}

bool TForm1::HandsetPresent() const { return bridge_status::HandsetPresent(state_.FLinkStatus); }

void TForm1::SetDefaultButtonEnabled(bool enabled) {
  if (controls_.suiButtonDefault.Enabled() != enabled) controls_.suiButtonDefault.SetEnabled(enabled);
}

void TForm1::SetTrayIconIndex(int index) { ports_.SetTrayIconIndex(index); }

void TForm1::ShowLinkState() {
  const TLinkState link = LinkStateOf(state_.FBridgeReporting, state_.FLinkStatus, state_.FLinkInfo);
  const std::string hint = TrayHint(UiText(kUiCaption), link);
  // The note explains the Setup page's groups: not shown on the About page.
  std::string note;
  if (controls_.suiPageControl1.ActivePageIndex() == kSetupPage) {
    note = GreyGroupsNote(link, bridge_status::SkypeAttached(state_.FLinkStatus),
                          controls_.suiGroupBoxVol.Enabled(), controls_.suiGroupBoxSkype.Enabled());
  }
  // Reports come every second: only a change reaches the tray and the window.
  if (hint == state_.FTrayHint && note == state_.FGreyGroupsNote) return;
  state_.FTrayHint = hint;
  state_.FGreyGroupsNote = note;
  ports_.ShowLinkState(hint, note);
}
