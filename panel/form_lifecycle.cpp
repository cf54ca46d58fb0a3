// The window's start and end: its construction, OnCreate and OnDestroy, the settings file
// it reads and writes then, and its timers.
#include "panel/os_kind.h"
#include "panel/panel_form.h"

TPanelForm::TPanelForm(IPanelPorts& ports, ISettingsFile& settings_file, const TPanelControls& controls,
                       const TPanelAudio& audio, std::uint8_t os_kind)
    : ports_(ports),
      settings_file_(settings_file),
      suiPageControl1(controls.suiPageControl1),
      suiButtonDefault(controls.suiButtonDefault),
      os_kind_(os_kind),
      volume_(controls.volume, audio.handset_volume, audio.wave_devices, audio.default_devices, os_kind,
              HandsetPatternFor(os_kind)),
      skype_devices_(controls.skype, audio.wave_devices, audio.code_page, volume_, *this, os_kind,
                     HandsetPatternFor(os_kind)) {}

void TPanelForm::Construct() {
  // The bridge watch runs from the start: without a bridge the groups stay off.
  StartTimer(TPanelTimer::DrvCheck);

  ports_.ApplyUiTexts();
  LoadSettings();
  SetTrayIconIndex(0);
  volume_.RefreshDevices();
  state_.FMenuPos = ports_.CursorPos();
  UpdateVolumeGroup(false);
  skype_devices_.Enable(false);
  suiPageControl1.SetActivePageIndex(kSetupPage);
  ShowLinkState();

  // A bridge that runs already answers with its discovery.
  ports_.AnnounceToBridges();
}

void TPanelForm::FormCreate(TStartSwitch start_switch) {
  ports_.SetFormProperty();
  // A bridge that runs answers the announcement at once, often before this point: its
  // discovery already counts, so the search is over.
  state_.FSearchMode = start_switch == TStartSwitch::SearchMode && state_.FLastBridgeWnd == 0;
  if (start_switch == TStartSwitch::DestroyMode) ports_.TerminateApplication();
}

void TPanelForm::FormDestroy() {
  SaveSettings();
  // Farewell: the bridge stops reporting to a window that is going away.
  if (state_.FBridgeWnd != 0) ports_.SayFarewell(state_.FBridgeWnd);
  ports_.RemoveFormProperty();
}

void TPanelForm::FormEndSession() {
  // The process ends without FormDestroy: the volumes and mutes set since the last save
  // would be lost.
  SaveSettings();
}

void TPanelForm::LoadSettings() {
  TPanelSettings settings;
  settings_file_.Load(settings);
  skype_devices_.Load({settings.SkypeOutName, settings.SkypeInName, settings.SkypeRingName});
  volume_.Load({settings.SpeakerVolume, settings.MicVolume, settings.SpeakerMute, settings.MicMute});
}

void TPanelForm::SaveSettings() {
  const TSkypeDeviceNames& names = skype_devices_.SavedNames();
  const TVolumeValues& values = volume_.Values();
  TPanelSettings settings;
  settings.SkypeOutName = names.SkypeOutName;
  settings.SkypeInName = names.SkypeInName;
  settings.SkypeRingName = names.SkypeRingName;
  settings.SpeakerVolume = values.SpeakerVolume;
  settings.MicVolume = values.MicVolume;
  settings.SpeakerMute = values.SpeakerMute;
  settings.MicMute = values.MicMute;
  settings_file_.Save(settings);
}

void TPanelForm::StartTimer(TPanelTimer timer) {
  ports_.StartTimer(timer);
  running_timers_.set(static_cast<std::size_t>(timer));
}

void TPanelForm::StopTimer(TPanelTimer timer) {
  ports_.StopTimer(timer);
  running_timers_.reset(static_cast<std::size_t>(timer));
}

void TPanelForm::RestartTimer(TPanelTimer timer) {
  StopTimer(timer);
  StartTimer(timer);
}

bool TPanelForm::TimerRunning(TPanelTimer timer) const {
  return running_timers_.test(static_cast<std::size_t>(timer));
}
