#pragma once
// The panel logic's ways out: messages to other windows, its timers, the tray icon and the
// window's showing and hiding. The Win32 glue implements them; unit tests fake them.
#include <cstdint>
#include <string>

#include "common/window_handle.h"

struct TScreenPoint {
  int x = 0;
  int y = 0;
};

// The window's timers; each has its fixed interval.
enum class TPanelTimer {
  DrvCheck,   // 3000 ms, bridge watch
  DevChg,     // 1000 ms, after a burst of device-change notices
  KeyRepeat,  // 300 ms, handset volume keys
  MouseUp,    // 500 ms, single click on the tray icon
};
constexpr int kPanelTimerCount = 4;

class IPanelPorts {
 public:
  virtual ~IPanelPorts() = default;

  // Releases the sender of the message being handled, with result 1.
  virtual void ReplyToSender() = 0;

  // Toward other windows, every send gives up after 500 ms, or at once when the window
  // hangs, and is dropped inside a message sent to the panel, whose sender may be waiting.

  // The panel's attach message, with this window and "API available", sent to every
  // top-level window: a bridge that runs answers with its discovery.
  virtual void AnnounceToBridges() = 0;
  // Posted, not sent (the bridge is inside its broadcast): attach success to a bridge.
  virtual void AnswerDiscovery(WindowHandle bridge) = 0;
  // The attach message without a window: the bridge stops reporting to this one.
  virtual void SayFarewell(WindowHandle bridge) = 0;
  // WM_COPYDATA with wParam = the panel window, dwData 0 and the text with its zero byte
  // (cbData = length + 1).
  virtual void SendTextBounded(WindowHandle to, const std::string& text) = 0;

  // Starting a running timer starts its interval over.
  virtual void StartTimer(TPanelTimer timer) = 0;
  virtual void StopTimer(TPanelTimer timer) = 0;

  virtual void SetTrayIconIndex(int index) = 0;
  // The tray icon's hint (title, line break, state) and the line in the window that says why
  // a group is grey (empty: none is, or it does not show on the page).
  virtual void ShowLinkState(const std::string& tray_hint, const std::string& grey_groups_note) = 0;
  virtual TScreenPoint CursorPos() = 0;
  virtual void PopupTrayMenu(TScreenPoint at) = 0;

  // The main window: shown and hidden without ending anything; closing it ends the program.
  virtual void ShowMainWindow() = 0;
  virtual void HideMainWindow() = 0;
  virtual void ForceForeground() = 0;
  virtual void CloseMainWindow() = 0;
  // Ends the message loop at once.
  virtual void TerminateApplication() = 0;
  // The property on the application window through which a second start finds the window.
  virtual void SetFormProperty() = 0;
  virtual void RemoveFormProperty() = 0;

  virtual void ApplyUiTexts() = 0;
  // Starts the Windows sound control panel in a process of its own.
  virtual void StartSoundControlPanel(std::uint8_t os_kind) = 0;
};
