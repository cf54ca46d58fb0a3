#pragma once
// The panel's main window, TForm1, without Windows: its whole state and every reaction of
// the window — the link to the bridge, the tray icon's clicks, showing and hiding, start
// and end; the volume group and the Skype device lists work through their own units. The window itself (panel/win32) turns messages into these calls, implements the
// ports and holds the controls.
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>

#include "audio/audio_mixer.h"
#include "audio/default_devices.h"
#include "audio/wave_devices.h"
#include "panel/device_reply.h"
#include "panel/key_repeat.h"
#include "panel/panel_ports.h"
#include "panel/settings_file.h"
#include "panel/skype_device_choice.h"
#include "panel/start_switches.h"
#include "panel/volume_control.h"
#include "skin/tsui_controls.h"

// The controls of the form that the logic drives (names as on the form).
struct TForm1Controls {
  IPageControl& suiPageControl1;
  IButton& suiButtonDefault;
  IGroupBox& suiGroupBoxVol;
  IControl& LabelVolOut;
  IControl& LabelVolIn;
  ITrackBar& suiTrackBarVolOut;
  ITrackBar& suiTrackBarVolIn;
  ICheckBox& suiCheckBoxVolOut;
  ICheckBox& suiCheckBoxVolIn;
  IGroupBox& suiGroupBoxSkype;
  IComboBox& suiComboBoxSkypeOut;
  IComboBox& suiComboBoxSkypeIn;
  IComboBox& suiComboBoxSkypeRing;
};

// The window's audio side: AudioMixerUsb, the wave devices, the Windows default device keys,
// and the code page in which device names cross the bridge.
struct TForm1Audio {
  TAudioMixer& AudioMixerUsb;
  IWaveDevices& wave_devices;
  IDefaultDeviceRegistry& default_devices;
  ICodePage& code_page;
};

struct TForm1State {
  unsigned FMsgDevChange = 0;
  unsigned FMsgDiscover = 0;
  unsigned FMsgAttach = 0;
  WindowHandle FBridgeWnd = 0;
  WindowHandle FLastBridgeWnd = 0;
  bool FSearchMode = false;
  bool FExiting = false;
  bool FUpdating = false;
  bool FResyncPending = true;
  std::uint32_t FLinkStatus = 0;
  std::uint32_t FLinkInfo = 0;
  std::uint8_t FPrevKey = 0;
  std::uint8_t FCurKey = 0;
  TScreenPoint FMenuPos;
  std::string FSkypeOutName;
  std::string FSkypeInName;
  std::string FSkypeRingName;
  int FSpeakerVolume = kDefaultVolume;
  int FMicVolume = kDefaultVolume;
  bool FSpeakerMute = false;
  bool FMicMute = false;
  std::string FHandsetPattern;
  std::string FHandsetOutName;
  std::string FHandsetInName;
  std::uint8_t FOsKind = 0;
  // A status report came since the bridge watch last expired.
  bool FBridgeReporting = false;
  // What the tray hint and the grey groups' note last showed.
  std::string FTrayHint;
  std::string FGreyGroupsNote;
};

// A message for `Dispatch`. For WM_COPYDATA the glue fills in the data it points to.
struct TPanelMessage {
  unsigned message = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  const void* copy_data = nullptr;
  std::uint32_t copy_size = 0;  // cbData as sent
};

enum class TMouseButton { Left, Right, Middle };

// Page indexes of suiPageControl1.
enum : int { kSetupPage = 0, kAboutPage = 1 };

// Standard Windows message numbers the window reacts to.
constexpr unsigned kWmCopyData = 0x004A;      // WM_COPYDATA
constexpr unsigned kWmDeviceChange = 0x0219;  // WM_DEVICECHANGE

class TForm1 {
 public:
  TForm1(IPanelPorts& ports, ISettingsFile& settings_file, const TForm1Controls& controls,
         const TForm1Audio& audio, std::uint8_t os_kind);

  const TForm1State& State() const { return state_; }

  // Start and end.
  // The window's construction, from its first state to the announcement to any bridge.
  void Construct();
  void FormCreate(TStartSwitch start_switch);
  void FormDestroy();
  // Windows ends the user's session and then the process, without destroying the window.
  void FormEndSession();

  // The window's message entry for the panel's own messages; nullopt: the ordinary handling.
  std::optional<std::intptr_t> Dispatch(const TPanelMessage& message);

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

  // The volume group: OnChange of each track bar and OnClick of its check box, the mixer's
  // OnCtrlChange, and "Default".
  void suiTrackBarVolOutChange() { volume_.suiTrackBarVolOutChange(); }
  void suiTrackBarVolInChange() { volume_.suiTrackBarVolInChange(); }
  void AudioMixerUsbCtrlChange(std::uint32_t control_id) { volume_.AudioMixerUsbCtrlChange(control_id); }
  void suiButtonDefaultClick() { volume_.suiButtonDefaultClick(); }
  // OnChange of the three Skype device lists.
  void suiComboBoxSkypeOutChange(IComboBox& sender) { device_choice_.suiComboBoxSkypeOutChange(sender); }

  // Commands to the bridge.
  void SendToBridge(const std::string& text);
  void RequestAudioOut() { SendToBridge("GET AUDIO_OUT"); }
  void RequestAudioIn() { SendToBridge("GET AUDIO_IN"); }
  void RequestRinger() { SendToBridge("GET RINGER"); }

 private:
  // Bridge link.
  void Discovery(WindowHandle bridge);
  void WMBridgeStatus(std::uint32_t link_status, std::uint32_t link_info);
  bool WMCopyData(const void* data, std::uint32_t size);
  void RestartDeviceChangeTimer();
  void SendWithTimeout(WindowHandle to, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
  bool HandsetPresent() const;
  void SetDefaultButtonEnabled(bool enabled);
  void SetTrayIconIndex(int index);
  // The link's state in the tray hint, and why a grey group is grey.
  void ShowLinkState();

  // Tray and window.
  void TrayIconStsRestore();
  void TrayIconStsMinimize();

  // Volume group.
  void UpdateVolumeGroup(bool on);
  void SetTrackBarState(ITrackBar& track_bar, int position, int enabled, int min, int max);
  void SetCheckBoxState(ICheckBox& check_box, int checked, int enabled);
  void ResetVolumeControls();
  void StepSpeakerVolume(std::uint8_t key, TKeyEventKind kind);

  // Skype device choice.
  void UpdateSkypeGroup(bool attached);
  void ResetDeviceRetries();
  IComboBox& ComboBoxFor(TDeviceKind kind);

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
  TForm1Controls controls_;
  TForm1State state_;
  TVolumeControl volume_;
  TSkypeDeviceChoice device_choice_;
  std::bitset<kPanelTimerCount> running_timers_;
};
