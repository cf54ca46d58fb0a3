#pragma once
// The panel's two command-line switches. Only a command line of exactly one parameter can
// hold one, compared exactly (case matters).
#include <string>
#include <vector>

enum class TStartSwitch {
  None,
  SearchMode,   // "ZunSearchMode": end at the first bridge watch unless a bridge was found
  DestroyMode,  // "ZunDestroyMode": end the running copy, or start and end at once
};

TStartSwitch StartSwitchOf(const std::vector<std::string>& parameters);

// What a second start sends to the copy that runs: WM_PANELEXIT for ZunDestroyMode,
// WM_PANELRESTORE (show the window) for anything else.
unsigned SecondStartMessage(TStartSwitch start_switch);
