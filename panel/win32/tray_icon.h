#pragma once
// TTrayIcon: the panel's icon in the notification area, with one of two images; its mouse
// events come to the owner window as `callback_message`. The icon comes back when the shell
// announces itself ("TaskbarCreated"), and leaves with the program or the session.
#include <windows.h>

#include <string>

#include "panel/tray_icon_state.h"

class TTrayIcon {
 public:
  TTrayIcon() = default;
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Adds the icon. False when a notification area that is there refused it; without one the
  // icon waits for the shell.
  bool Create(HWND owner, UINT callback_message, HICON image0, HICON image1);
  void SetHint(const std::string& hint);
  void SetIconIndex(int index);
  // The owner's registered "TaskbarCreated" message.
  void TaskbarCreated();
  void Remove();

 private:
  bool Notify(DWORD action);

  HWND owner_ = nullptr;
  UINT callback_message_ = 0;
  HICON images_[2] = {};
  std::string hint_;
  TTrayIconState state_;
};
