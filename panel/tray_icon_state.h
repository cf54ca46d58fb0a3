#pragma once
// The tray icon's bookkeeping: whether the notification area holds it, which image it
// shows, and what to do when the shell refuses it or starts anew.
//
// The icon is wanted from the window's creation to its end. When the notification area is
// not there yet (the panel started at logon before the taskbar) or a restarted Explorer has
// forgotten the icon, the shell's "TaskbarCreated" broadcast brings it back. Only a refusal
// at the window's creation, by a notification area that is there, ends the program.

enum class TTrayAddOutcome { Added, WaitForShell, Failed };

class TTrayIconState {
 public:
  int IconIndex() const { return icon_index_; }
  bool InNotificationArea() const { return added_; }

  // The shell's answer to adding the icon; `shell_present`: its notification area exists.
  // Only the first add can fail the program; a later one waits for the next announcement.
  TTrayAddOutcome AddResult(bool added, bool shell_present);
  // True when the icon in the notification area has to change now. An image chosen while
  // the icon is not shown is shown when it is added.
  bool SetIconIndex(int index);
  // The shell announced itself: true when the icon has to be added (again).
  bool TaskbarCreated() const { return wanted_; }
  // The icon left the notification area for good (the program or the session ends).
  void Removed();

 private:
  bool wanted_ = true;
  bool tried_ = false;
  bool added_ = false;
  int icon_index_ = 0;
};
