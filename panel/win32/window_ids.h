#pragma once
// The main window's private messages, timers and control ids.
#include <windows.h>

// The tray icon's mouse events, and the menu opened from them.
constexpr UINT kMsgTrayIcon = WM_APP + 1;
// Opens the tray menu outside the handling of the click (wParam x, lParam y).
constexpr UINT kMsgOpenTrayMenu = WM_APP + 2;

// TPanelTimer n runs as timer kFirstTimerId + n.
constexpr UINT_PTR kFirstTimerId = 1;

enum TControlId : int {
  kIdPageControl = 100,
  kIdButtonDefault,
  kIdGroupVolume,
  kIdLabelVolOut,
  kIdLabelVolIn,
  kIdImageVolOutMin,
  kIdImageVolOutMax,
  kIdImageVolInMin,
  kIdImageVolInMax,
  kIdTrackBarVolOut,
  kIdTrackBarVolIn,
  kIdCheckBoxVolOut,
  kIdCheckBoxVolIn,
  kIdGroupSkype,
  kIdLabelSkypeOut,
  kIdLabelSkypeIn,
  kIdLabelSkypeRing,
  kIdComboBoxSkypeOut,
  kIdComboBoxSkypeIn,
  kIdComboBoxSkypeRing,
  kIdLabelSysAudioOut,
  kIdButtonSysAudioOut,
  kIdAboutCard,
  kIdImageHandset,
  kIdImageLogo,
  kIdLabelProduct,
  kIdLabelVersion,
  kIdImageMaker,
  kIdLabelMaker,
  kIdUrlLabel,
  kIdLabelGreyGroups,
};
