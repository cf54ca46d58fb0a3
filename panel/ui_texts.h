#pragma once
// The window's English texts, set once at creation (`ApplyUiTexts`), by index.

enum TUiText : int {
  kUiCaption = 0,              // window caption and tray icon hint
  kUiSetupTab,
  kUiAboutTab,
  kUiUsbPhoneGroup,
  kUiSpeakerVolume,
  kUiMicVolume,
  kUiSkypeGroup,
  kUiSkypeOutput,
  kUiSkypeInput,
  kUiSkypeRinging,
  kUiWindowsDefaultLabel,      // beside the sound control panel's "Setup" button
  kUiDefaultButton,
  kUiItemSetup,
  kUiItemAbout,
  kUiItemExit,
  kUiWindowsDefaultDevice,     // item 0 of the three Skype device lists
  kUiTextCount
};

const char* UiText(TUiText index);
