#include "panel/link_state.h"

#include "common/bridge_status.h"

namespace {
// The volume group is grey with a handset present only when its sound devices are missing.
constexpr char kNoHandsetSound[] = "Handset sound devices not found";
}  // namespace

TLinkState LinkStateOf(bool bridge_linked, std::uint32_t link_status, std::uint32_t report) {
  if (!bridge_linked) return TLinkState::NotRunning;
  if (!bridge_status::HandsetPresent(link_status)) return TLinkState::NoHandset;
  if (!bridge_status::SkypeAttached(link_status)) return TLinkState::WaitingForSkype;
  return InCall(bridge_status::ReportMode(report)) ? TLinkState::InCall : TLinkState::Ready;
}

const char* LinkStateLine(TLinkState state) {
  switch (state) {
    case TLinkState::NotRunning:
      return "Handset link not running";
    case TLinkState::NoHandset:
      return "No handset plugged in";
    case TLinkState::WaitingForSkype:
      return "Waiting for Skype";
    case TLinkState::InCall:
      return "In a call";
    case TLinkState::Ready:
    default:
      return "Ready";
  }
}

std::string TrayHint(const std::string& title, TLinkState state) {
  const std::string line = LinkStateLine(state);
  // The state line is what the user needs: the title gives way to it.
  const std::size_t room = kTrayHintLimit - line.size() - 1;
  return title.substr(0, room) + "\n" + line;
}

std::string GreyGroupsNote(TLinkState state, bool skype_attached, bool volume_on, bool skype_on) {
  if (state == TLinkState::NotRunning) {
    return volume_on && skype_on ? std::string() : LinkStateLine(state);
  }
  std::string note;
  if (!volume_on) {
    note = state == TLinkState::NoHandset ? LinkStateLine(state) : kNoHandsetSound;
  }
  if (!skype_on && !skype_attached) {
    if (!note.empty()) note += "; ";
    note += LinkStateLine(TLinkState::WaitingForSkype);
  }
  return note;
}
