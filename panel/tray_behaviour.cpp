// The tray icon's clicks and menu, and the window's showing, hiding and closing.
#include "panel/main_form.h"

void TForm1::TrayIconStsMouseUp(TMouseButton button, int x, int y) {
  if (button != TMouseButton::Left && button != TMouseButton::Right) return;
  state_.FMenuPos = ports_.CursorPos();
  if (button == TMouseButton::Right) {
    StopTimer(TPanelTimer::MouseUp);
    ports_.PopupTrayMenu({x, y});
    return;
  }
  // The second release of a double click stops the timer: the window opens, no menu.
  if (TimerRunning(TPanelTimer::MouseUp)) {
    StopTimer(TPanelTimer::MouseUp);
  } else {
    StartTimer(TPanelTimer::MouseUp);
  }
}

void TForm1::TimerMouseUpTimer() {
  StopTimer(TPanelTimer::MouseUp);
  ports_.PopupTrayMenu(state_.FMenuPos);
}

void TForm1::Restore() { TrayIconStsRestore(); }

void TForm1::Minimize() { TrayIconStsMinimize(); }

void TForm1::TrayIconStsRestore() {
  ports_.ShowMainWindow();
  state_.FResyncPending = true;
  RequestAudioOut();
  RequestAudioIn();
  RequestRinger();
  ports_.ForceForeground();
}

void TForm1::TrayIconStsMinimize() {
  ports_.HideMainWindow();
  // The window reopens on Setup unless About is asked for.
  controls_.suiPageControl1.SetActivePageIndex(kSetupPage);
}

bool TForm1::FormClose() {
  if (state_.FExiting) return true;
  Minimize();
  return false;
}

void TForm1::ItemSetupClick() { ShowPanel(); }

void TForm1::ItemAboutClick() {
  controls_.suiPageControl1.SetActivePageIndex(kAboutPage);
  ShowPanel();
}

void TForm1::ItemExitClick() {
  state_.FExiting = true;
  ports_.CloseMainWindow();
}

void TForm1::suiPageControl1Change() {
  controls_.suiButtonDefault.SetVisible(controls_.suiPageControl1.ActivePageIndex() == kSetupPage);
  ShowLinkState();
}

void TForm1::suiButtonSysAudioOutClick() { ports_.StartSoundControlPanel(state_.FOsKind); }
