// The link to the bridge: discovery, status and key reports, relayed Skype answers, the
// bridge watch, the second start's commands, and the commands the panel sends.
#include "common/bridge_status.h"
#include "common/copydata_text.h"
#include "panel/instance_names.h"
#include "panel/link_state.h"
#include "panel/panel_form.h"
#include "panel/ui_texts.h"

namespace {

bool IsGenuineCommand(std::uintptr_t wparam, std::intptr_t lparam) {
  return wparam == panel_instance::kCommandWParam && lparam == panel_instance::kCommandLParam;
}

}  // namespace

void TPanelForm::WMPanelDiscover(WindowHandle bridge) {
  const WindowHandle previous = state_.FBridgeWnd;
  state_.FBridgeWnd = bridge;
  state_.FLastBridgeWnd = bridge;
  state_.FSearchMode = false;
  RestartTimer(TPanelTimer::DrvCheck);
  if (previous != 0) ports_.AnswerDiscovery(previous);
  if (bridge != 0) ports_.AnswerDiscovery(bridge);
  ports_.ReplyToSender();
}

void TPanelForm::WMPanelAttach() {
  // Nothing to do but release a sender.
  ports_.ReplyToSender();
}

void TPanelForm::WMBridgeStatus(std::uint32_t link_status, std::uint32_t link_info) {
  // A report after a lapse restores the link to the last discovered bridge.
  state_.FBridgeWnd = state_.FLastBridgeWnd;
  ports_.ReplyToSender();
  RestartTimer(TPanelTimer::DrvCheck);
  state_.FLinkStatus = link_status;
  state_.FLinkInfo = link_info;
  state_.FBridgeReporting = true;
  volume_.SetHandsetPresent(HandsetPresent());

  const std::uint8_t key = bridge_status::ReportKey(link_info);
  if (key == bridge_status::kPeriodicKey) {
    const bool skype_attached = bridge_status::SkypeAttached(link_status);
    skype_devices_.ApplySavedDevices();
    UpdateVolumeGroup(HandsetPresent());
    skype_devices_.Enable(skype_attached);
    SetDefaultButtonEnabled(HandsetPresent() && skype_attached);
    SetTrayIconIndex(HandsetPresent() ? 1 : 0);
    ShowLinkState();
  } else if (HandsetPresent()) {
    StopTimer(TPanelTimer::KeyRepeat);
    volume_.KeyReported(key);
    TimerKeyRepeatTimer();
    if (volume_.CurrentKey() != 0) StartTimer(TPanelTimer::KeyRepeat);
  }
}

bool TPanelForm::WMCopyData(const void* data, std::uint32_t size) {
  if (data == nullptr || size == 0 || static_cast<std::int32_t>(size) < 0) return false;
  const std::string text = copydata::TextFrom(data, size);
  const std::optional<TDeviceKind> kind = DeviceReplyKind(text);
  if (!kind) return false;
  skype_devices_.HandleDeviceReply(text, *kind);
  ports_.ReplyToSender();
  return true;
}

void TPanelForm::WMDeviceChange() { RestartDeviceChangeTimer(); }

void TPanelForm::WMWinmmDeviceChange() {
  RestartDeviceChangeTimer();
  ports_.ReplyToSender();
}

void TPanelForm::WMPanelExit(std::uintptr_t wparam, std::intptr_t lparam) {
  if (IsGenuineCommand(wparam, lparam)) ItemExitClick();
  ports_.ReplyToSender();
}

void TPanelForm::WMPanelRestore(std::uintptr_t wparam, std::intptr_t lparam) {
  if (IsGenuineCommand(wparam, lparam)) ShowPanel();
  ports_.ReplyToSender();
}

void TPanelForm::TimerKeyRepeatTimer() {
  volume_.RepeatKeys(bridge_status::ReportMode(state_.FLinkInfo) == THandsetMode::Talking);
}

void TPanelForm::TimerDrvCheckTimer() {
  state_.FBridgeWnd = 0;
  state_.FBridgeReporting = false;
  UpdateVolumeGroup(false);
  skype_devices_.Enable(false);
  SetDefaultButtonEnabled(false);
  StopTimer(TPanelTimer::DrvCheck);
  SetTrayIconIndex(0);
  ShowLinkState();
  if (state_.FSearchMode) {
    state_.FExiting = true;
    ports_.CloseMainWindow();
  }
}

void TPanelForm::RestartDeviceChangeTimer() { RestartTimer(TPanelTimer::DevChg); }

void TPanelForm::TimerDevChgTimer() {
  StopTimer(TPanelTimer::DevChg);
  volume_.RefreshDevices();
  FollowHandsetDevices(FindHandsetDevices(true));
  // Asked again, so the answers reflect the new device set.
  RequestAudioIn();
  RequestAudioOut();
  RequestRinger();
}

void TPanelForm::SendToBridge(const std::string& text) {
  if (state_.FBridgeWnd == 0 || text.empty()) return;
  // "!" asks the bridge to pass the rest on to Skype; cbData counts it and the zero byte.
  ports_.SendTextBounded(state_.FBridgeWnd, "!" + text);
}

bool TPanelForm::HandsetPresent() const { return bridge_status::HandsetPresent(state_.FLinkStatus); }

void TPanelForm::SetDefaultButtonEnabled(bool enabled) {
  if (suiButtonDefault.Enabled() != enabled) suiButtonDefault.SetEnabled(enabled);
}

void TPanelForm::SetTrayIconIndex(int index) { ports_.SetTrayIconIndex(index); }

void TPanelForm::ShowLinkState() {
  const TLinkState link = LinkStateOf(state_.FBridgeReporting, state_.FLinkStatus, state_.FLinkInfo);
  const std::string hint = TrayHint(UiText(kUiCaption), link);
  // The note explains the Setup page's groups: not shown on the About page.
  std::string note;
  if (suiPageControl1.ActivePageIndex() == kSetupPage) {
    note = GreyGroupsNote(link, bridge_status::SkypeAttached(state_.FLinkStatus), volume_.Enabled(),
                          skype_devices_.Enabled());
  }
  // Reports come every second: only a change reaches the tray and the window.
  if (hint == state_.FTrayHint && note == state_.FGreyGroupsNote) return;
  state_.FTrayHint = hint;
  state_.FGreyGroupsNote = note;
  ports_.ShowLinkState(hint, note);
}
