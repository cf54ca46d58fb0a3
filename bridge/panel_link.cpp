// The control panel's side of the bridge: its attach, the answers forwarded to it and the
// status reports posted to it.
#include "bridge/talvek_skype_form.h"
#include "common/bridge_status.h"
#include "common/window_messages.h"

std::intptr_t TTalvekSkypeForm::OnPanelAttach(WindowHandle panel, std::intptr_t status) {
  if (status == msg::kAttachApiAvailable) {
    ports_.ReplyToSender();
    ports_.BroadcastPanelDiscover();
  } else if (status == msg::kAttachSuccess) {
    state_.PanelWnd = panel;  // 0: the panel is going away
  }
  return 0;
}

void TTalvekSkypeForm::ForwardToPanel(const std::string& text) {
  if (ports_.IsWindow(state_.PanelWnd)) ports_.SendToPanelWindow(state_.PanelWnd, text);
}

bool TTalvekSkypeForm::PostPanelReport(std::uint32_t key) {
  if (!ports_.IsWindow(state_.PanelWnd)) return false;
  ports_.PostPanelStatus(state_.PanelWnd, state_.LinkStatus, bridge_status::Report(state_.HandsetMode, key));
  return true;
}
