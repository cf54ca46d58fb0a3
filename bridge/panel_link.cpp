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
    // Forwarding to a window of our own would send each text back into the bridge's own
    // handler, nested without end: any program could name our window to bring that about.
    if (panel != 0 && ports_.BelongsToThisProcess(panel)) return 0;
    state_.PanelWnd = panel;  // 0: the panel is going away
  }
  return 0;
}

void TTalvekSkypeForm::ForwardToPanel(const std::string& text) {
  // A text that arrives while a forward is under way (the panel, or anything posing as it,
  // sending back to us) is not forwarded again, so forwards never nest.
  if (forwarding_ || !ports_.IsWindow(state_.PanelWnd)) return;
  forwarding_ = true;
  ports_.SendToPanelWindow(state_.PanelWnd, text);
  forwarding_ = false;
}

bool TTalvekSkypeForm::PostPanelReport(std::uint32_t key) {
  if (!ports_.IsWindow(state_.PanelWnd)) return false;
  ports_.PostPanelStatus(state_.PanelWnd, state_.LinkStatus, bridge_status::Report(state_.HandsetMode, key));
  return true;
}
