#pragma once
// What the panel tells the user about the link, from what it knows of the bridge: the
// tray hint's second line, and the note that says why a group of the Setup page is grey.
#include <cstdint>
#include <string>

enum class TLinkState { NotRunning, NoHandset, WaitingForSkype, Ready, InCall };

// `bridge_linked`: a bridge reported within the watch's interval; `link_status` and
// `report` are its last status report (WM_BRIDGESTATUS wParam and lParam).
TLinkState LinkStateOf(bool bridge_linked, std::uint32_t link_status, std::uint32_t report);

// "Handset link not running", "No handset plugged in", ... the words of the hint.
const char* LinkStateLine(TLinkState state);

// The title, a line break and the state's line, cut to what the notification area shows.
std::string TrayHint(const std::string& title, TLinkState state);
// The longest hint the notification area shows (its tip holds 128 characters with the zero).
constexpr std::size_t kTrayHintLimit = 127;

// Why each grey group is grey, in the hint's words; empty when both groups are on.
// `volume_on` / `skype_on`: whether the "USB Phone" and "Skype Sound Device" groups are enabled.
std::string GreyGroupsNote(TLinkState state, bool skype_attached, bool volume_on, bool skype_on);
