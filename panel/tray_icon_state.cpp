#include "panel/tray_icon_state.h"

TTrayAddOutcome TTrayIconState::AddResult(bool added, bool shell_present) {
  const bool first = !tried_;
  tried_ = true;
  added_ = added;
  if (added) return TTrayAddOutcome::Added;
  return first && shell_present ? TTrayAddOutcome::Failed : TTrayAddOutcome::WaitForShell;
}

bool TTrayIconState::SetIconIndex(int index) {
  if (index == icon_index_) return false;
  icon_index_ = index;
  return added_;
}

void TTrayIconState::Removed() {
  wanted_ = false;
  added_ = false;
}
