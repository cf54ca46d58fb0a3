// The window's start and end: its construction, with the volume group and the Skype lists
// joined to its state and controls, OnCreate and OnDestroy, the settings file it reads and
// writes then, and its timers.
#include "common/window_messages.h"
#include "panel/main_form.h"
#include "panel/os_kind.h"

namespace {
constexpr char kMsgDevChangeName[] = "winmm_devicechange";
constexpr int kVolumeMin = 0;
constexpr int kVolumeMax = 65535;
}  // namespace

TForm1::TForm1(IPanelPorts& ports, ISettingsFile& settings_file, const TForm1Controls& controls,
               const TForm1Audio& audio, std::uint8_t os_kind)
    : ports_(ports),
      settings_file_(settings_file),
      controls_(controls),
      volume_(state_,
              TVolumeControls{controls.suiTrackBarVolOut, controls.suiTrackBarVolIn, controls.suiCheckBoxVolOut,
                              controls.suiCheckBoxVolIn, controls.suiButtonDefault},
              audio.AudioMixerUsb, audio.wave_devices, audio.default_devices,
              TVolumeControlPorts{
                  [this](ITrackBar& track_bar, int position, int enabled, int min, int max) {
                    SetTrackBarState(track_bar, position, enabled, min, max);
                  },
                  [this](ICheckBox& check_box, int checked, int enabled) {
                    SetCheckBoxState(check_box, checked, enabled);
                  },
                  [this] { device_choice_.FillDeviceLists(); }, [this] { SaveSettings(); }}),
      device_choice_(state_,
                     TDeviceChoiceControls{controls.suiGroupBoxSkype, controls.suiComboBoxSkypeOut,
                                           controls.suiComboBoxSkypeIn, controls.suiComboBoxSkypeRing},
                     audio.wave_devices, audio.code_page,
                     TDeviceChoicePorts{[this](const std::string& text) { SendToBridge(text); },
                                        [this] { return volume_.ReadDefaultDevices(); },
                                        [this] { SaveSettings(); }}) {
  state_.FOsKind = os_kind;
}

void TForm1::Construct() {
  state_.FHandsetPattern = HandsetPatternFor(state_.FOsKind);
  state_.FMsgDevChange = ports_.RegisterMessage(kMsgDevChangeName);
  state_.FMsgDiscover = ports_.RegisterMessage(msg::kPanelDiscover);
  state_.FMsgAttach = ports_.RegisterMessage(msg::kPanelAttach);
  // The bridge watch runs from the start: without a bridge the groups stay off.
  StartTimer(TPanelTimer::DrvCheck);

  ports_.ApplyUiTexts();
  LoadSettings();
  SetTrayIconIndex(0);
  volume_.RefreshMixers();
  state_.FMenuPos = ports_.CursorPos();
  SetTrackBarState(controls_.suiTrackBarVolOut, state_.FSpeakerVolume, true, kVolumeMin, kVolumeMax);
  SetTrackBarState(controls_.suiTrackBarVolIn, state_.FMicVolume, true, kVolumeMin, kVolumeMax);
  UpdateVolumeGroup(false);
  UpdateSkypeGroup(false);
  controls_.suiPageControl1.SetActivePageIndex(kSetupPage);
  ShowLinkState();

  // A bridge that runs already answers with its discovery.
  SendWithTimeout(kBroadcastWindow, state_.FMsgAttach, ports_.PanelWindow(), msg::kAttachApiAvailable);
}

void TForm1::FormCreate(TStartSwitch start_switch) {
  ports_.SetFormProperty();
  // A bridge that runs answers the announcement at once, often before this point: its
  // discovery already counts, so the search is over.
  state_.FSearchMode = start_switch == TStartSwitch::SearchMode && state_.FLastBridgeWnd == 0;
  if (start_switch == TStartSwitch::DestroyMode) ports_.TerminateApplication();
}

void TForm1::FormDestroy() {
  SaveSettings();
  // Farewell: the bridge stops reporting to a window that is going away.
  if (state_.FBridgeWnd != 0) SendWithTimeout(state_.FBridgeWnd, state_.FMsgAttach, 0, 0);
  ports_.RemoveFormProperty();
}

void TForm1::FormEndSession() {
  // The process ends without FormDestroy: the volumes and mutes set since the last save
  // would be lost.
  SaveSettings();
}

void TForm1::LoadSettings() {
  TPanelSettings settings;
  settings_file_.Load(settings);
  state_.FSkypeOutName = settings.SkypeOutName;
  state_.FSkypeInName = settings.SkypeInName;
  state_.FSkypeRingName = settings.SkypeRingName;
  state_.FSpeakerVolume = settings.SpeakerVolume;
  state_.FMicVolume = settings.MicVolume;
  state_.FSpeakerMute = settings.SpeakerMute;
  state_.FMicMute = settings.MicMute;
}

void TForm1::SaveSettings() {
  TPanelSettings settings;
  settings.SkypeOutName = state_.FSkypeOutName;
  settings.SkypeInName = state_.FSkypeInName;
  settings.SkypeRingName = state_.FSkypeRingName;
  settings.SpeakerVolume = state_.FSpeakerVolume;
  settings.MicVolume = state_.FMicVolume;
  settings.SpeakerMute = state_.FSpeakerMute;
  settings.MicMute = state_.FMicMute;
  settings_file_.Save(settings);
}

void TForm1::StartTimer(TPanelTimer timer) {
  ports_.StartTimer(timer);
  running_timers_.set(static_cast<std::size_t>(timer));
}

void TForm1::StopTimer(TPanelTimer timer) {
  ports_.StopTimer(timer);
  running_timers_.reset(static_cast<std::size_t>(timer));
}

void TForm1::RestartTimer(TPanelTimer timer) {
  StopTimer(timer);
  StartTimer(timer);
}

bool TForm1::TimerRunning(TPanelTimer timer) const {
  return running_timers_.test(static_cast<std::size_t>(timer));
}
