// The Skype side of the bridge: discovery, attach, commands out and texts in.
#include "bridge/skype_commands.h"
#include "bridge/talvek_skype_form.h"
#include "common/copydata_text.h"
#include "common/window_messages.h"

void TTalvekSkypeForm::DiscoverSkype() {
  // Release whoever sent the message being handled before the broadcast reaches them.
  ports_.ReplyToSender();
  ports_.BroadcastSkypeDiscover();
}

std::intptr_t TTalvekSkypeForm::OnSkypeAttach(WindowHandle skype, std::intptr_t status) {
  if (status == msg::kAttachApiAvailable) {
    DiscoverSkype();
  } else if (status == msg::kAttachSuccess) {
    state_.SkypeWnd = skype;
    SendToSkype("SEARCH ACTIVECALLS");
    SendToSkype("GET MUTE");
    SendToSkype("GET USERSTATUS");
  }
  return OpenHandsetCount() > 0 ? 1 : 0;
}

bool TTalvekSkypeForm::SendToSkype(const std::string& text) {
  if (!ports_.IsWindow(state_.SkypeWnd)) return false;
  const std::intptr_t result = ports_.SendToSkypeWindow(state_.SkypeWnd, text);
  if (result == 0) {
    ports_.NoteRefusedCommand();
    DiscoverSkype();
  }
  return result == 1;
}

std::intptr_t TTalvekSkypeForm::WMCopyData(const void* data, std::size_t size) {
  if (size != 0) HandleNotification(copydata::TextFrom(data, size));
  return 1;
}

void TTalvekSkypeForm::WMSkypeQuery(std::intptr_t query, std::int32_t argument) {
  if (const auto command = SkypeQueryCommand(query, argument)) SendToSkype(*command);
}
