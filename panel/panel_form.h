#pragma once
// The panel's main window without Windows (its window class stays "TForm1", which the
// bridge and a second start look for). It keeps the link to the bridge, the tray icon and
// the window's showing and hiding, and has the volume group and the Skype device group do
// the rest. The window itself (panel/win32) turns each message into one call of a named
// handler here, implements the ports and holds the controls.
#include <bitset>
#include <cstdint>
#include <string>

#include "audio/default_devices.h"
#include "audio/wave_devices.h"
#include "panel/code_page.h"
#include "panel/panel_ports.h"
#include "panel/settings_file.h"
#include "panel/skype_device_group.h"
#include "panel/start_switches.h"
#include "panel/volume_backend.h"
#include "panel/volume_group.h"
#include "skin/tsui_controls.h"

// The controls of the form that the logic drives (names as on the form).
struct TPanelControls {
  IPageControl& suiPageControl1;
  IButton& suiButtonDefault;
  TVolumeControls volume;
  TSkypeDeviceControls skype;
};

// The window's audio side: the handset's volume device (AudioMixerUsb behind a backend),
// the wave devices, the Windows default device keys, and the code page in which device
// names cross the bridge.
struct TPanelAudio {
  IVolumeBackend& handset_volume;
  IWaveDevices& wave_devices;
  IDefaultDeviceRegistry& default_devices;
  ICodePage& code_page;
};

// The link, tray and window state.
struct TPanelFormState {
  WindowHandle FBridgeWnd = 0;
  WindowHandle FLastBridgeWnd = 0;
  bool FSearchMode = false;
  bool FExiting = false;
  std::uint32_t FLinkStatus = 0;
  std::uint32_t FLinkInfo = 0;
  TScreenPoint FMenuPos;
  // A status report came since the bridge watch last expired.
  bool FBridgeReporting = false;
  // What the tray hint and the grey groups' note last showed.
  std::string FTrayHint;
  std::string FGreyGroupsNote;
};

enum class TMouseButton { Left, Right, Middle };

// Page indexes of suiPageControl1.
enum : int { kSetupPage = 0, kAboutPage = 1 };

class TPanelForm final : private ISkypeCommands {
 public:
  TPanelForm(IPanelPorts& ports, ISettingsFile& settings_file, const TPanelControls& controls,
             const TPanelAudio& audio, std::uint8_t os_kind);

  const TPanelFormState& State() const { return state_; }
  const TVolumeGroup& Volume() const { return volume_; }
  const TSkypeDeviceGroup& SkypeDevices() const { return skype_devices_; }

  // Start and end.
  // The window's construction, from its first state to the announcement to any bridge.
  void Construct();
  void FormCreate(TStartSwitch start_switch);
  void FormDestroy();
  // Windows ends the user's session and then the process, without destroying the window.
  void FormEndSession();

  // The bridge link's messages.
  // TALVEKWiredUIDiscover: a bridge (wParam) offers itself.
  void WMPanelDiscover(WindowHandle bridge);
  // TALVEKWiredUIAttach: another panel's announcement, or our own coming back.
  void WMPanelAttach();
  void WMBridgeStatus(std::uint32_t link_status, std::uint32_t link_info);
  // A text the bridge relayed from Skype (cbData as sent); false: not one of ours.
  bool WMCopyData(const void* data, std::uint32_t size);
  // WM_DEVICECHANGE (Windows' own handling still runs) and winmm's device-change message:
  // the sound devices may have changed.
  void WMDeviceChange();
  void WMWinmmDeviceChange();
  // A second start's commands; only the genuine values act.
  void WMPanelExit(std::uintptr_t wparam, std::intptr_t lparam);
  void WMPanelRestore(std::uintptr_t wparam, std::intptr_t lparam);

  void TimerDrvCheckTimer();
  void TimerDevChgTimer();
  void TimerKeyRepeatTimer();
  void TimerMouseUpTimer();

  // Tray icon and window.
  void TrayIconStsMouseUp(TMouseButton button, int x, int y);
  // The tray icon's Restore (double click, SC_RESTORE, ShowPanel) and Minimize.
  void Restore();
  void Minimize();
  void ShowPanel() { Restore(); }
  // True when the window may really close; otherwise it only hides.
  bool FormClose();
  void ItemSetupClick();
  void ItemAboutClick();
  void ItemExitClick();
  void suiPageControl1Change();

  // Sound control panel ("Setup" beside "Windows default sound device:").
  void suiButtonSysAudioOutClick();

  // The volume group: OnChange of each track bar and OnClick of its check box, and "Default".
  void suiTrackBarVolOutChange() { volume_.suiTrackBarVolOutChange(); }
  void suiTrackBarVolInChange() { volume_.suiTrackBarVolInChange(); }
  void suiButtonDefaultClick();
  // OnChange of the three Skype device lists.
  void suiComboBoxSkypeOutChange(IComboBox& sender);

  // Commands to the bridge.
  void SendToBridge(const std::string& text);
  void RequestAudioOut() { SendToBridge("GET AUDIO_OUT"); }
  void RequestAudioIn() { SendToBridge("GET AUDIO_IN"); }
  void RequestRinger() { SendToBridge("GET RINGER"); }

 private:
  // ISkypeCommands: the Skype device group's commands go through the bridge.
  void SendToSkype(const std::string& command) override { SendToBridge(command); }

  // Bridge link.
  void RestartDeviceChangeTimer();
  bool HandsetPresent() const;
  void SetDefaultButtonEnabled(bool enabled);
  void SetTrayIconIndex(int index);
  // The link's state in the tray hint, and why a grey group is grey.
  void ShowLinkState();

  // Tray and window.
  void TrayIconStsRestore();
  void TrayIconStsMinimize();

  // The groups as the link drives them.
  void UpdateVolumeGroup(bool on);
  void FollowHandsetDevices(bool found);
  bool FindHandsetDevices(bool refill);

  // Settings file.
  void LoadSettings();
  void SaveSettings();

  // Timers, with whether each runs.
  void StartTimer(TPanelTimer timer);
  void StopTimer(TPanelTimer timer);
  void RestartTimer(TPanelTimer timer);
  bool TimerRunning(TPanelTimer timer) const;

  IPanelPorts& ports_;
  ISettingsFile& settings_file_;
  IPageControl& suiPageControl1;
  IButton& suiButtonDefault;
  const std::uint8_t os_kind_;
  TPanelFormState state_;
  TVolumeGroup volume_;
  TSkypeDeviceGroup skype_devices_;
  std::bitset<kPanelTimerCount> running_timers_;
};
