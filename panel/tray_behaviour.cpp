// The tray icon's clicks and menu, and the window's showing, hiding and closing.
#include "panel/panel_form.h"

void TPanelForm::TrayIconStsMouseUp(TMouseButton button, int x, int y) {
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

void TPanelForm::TimerMouseUpTimer() {
  StopTimer(TPanelTimer::MouseUp);
  ports_.PopupTrayMenu(state_.FMenuPos);
}

void TPanelForm::Restore() { TrayIconStsRestore(); }

void TPanelForm::Minimize() { TrayIconStsMinimize(); }

void TPanelForm::TrayIconStsRestore() {
  ports_.ShowMainWindow();
  skype_devices_.RequestResync();
  skype_devices_.RequestDevices();
  ports_.ForceForeground();
}

void TPanelForm::TrayIconStsMinimize() {
  ports_.HideMainWindow();
  // The window reopens on Setup unless About is asked for.
  suiPageControl1.SetActivePageIndex(kSetupPage);
}

bool TPanelForm::FormClose() {
  if (state_.FExiting) return true;
  Minimize();
  return false;
}

void TPanelForm::ItemSetupClick() { ShowPanel(); }

void TPanelForm::ItemAboutClick() {
  suiPageControl1.SetActivePageIndex(kAboutPage);
  ShowPanel();
}

void TPanelForm::ItemExitClick() {
  state_.FExiting = true;
  ports_.CloseMainWindow();
}

void TPanelForm::suiPageControl1Change() {
  suiButtonDefault.SetVisible(suiPageControl1.ActivePageIndex() == kSetupPage);
  ShowLinkState();
}
