// The Setup page's two groups as the link drives them and the user's choices in them: the
// "USB Phone" group on while the handset's devices are found, the "Skype Sound Device"
// group on while Skype is attached, and "Default".
#include "panel/panel_form.h"

void TPanelForm::UpdateVolumeGroup(bool on) {
  if (on == volume_.Enabled()) return;
  skype_devices_.ResetRetries();
  volume_.RefreshDevices();
  if (on) {
    // Not found: the group stays off and the next status report tries again.
    if (!FindHandsetDevices(false)) return;
    volume_.SettleDefaultDevices();
  }
  volume_.Enable(on);
}

// An unplugged handset takes the group off at once, even in a call, and its return brings the
// group back without waiting for the next status report.
void TPanelForm::FollowHandsetDevices(bool found) {
  if (!volume_.FollowsUnplugs()) return;
  const bool on = found && state_.FBridgeReporting && HandsetPresent();
  if (on == volume_.Enabled()) return;
  skype_devices_.ResetRetries();
  if (on) volume_.SettleDefaultDevices();
  volume_.Enable(on);
  ShowLinkState();
}

bool TPanelForm::FindHandsetDevices(bool refill) {
  const THandsetSearch search = volume_.FindHandsetDevices();
  skype_devices_.DefaultToHandset(search.output, search.input);
  if (search.found) skype_devices_.RequestResync();
  if (refill) skype_devices_.FillDeviceLists();
  return search.found;
}

void TPanelForm::suiButtonDefaultClick() {
  suiButtonDefault.SetEnabled(false);
  volume_.RestoreDefaults();
  skype_devices_.ChooseHandset(volume_.HandsetOutName(), volume_.HandsetInName());
  SaveSettings();
  skype_devices_.RequestResync();
  volume_.SettleDefaultDevices();
  suiButtonDefault.SetEnabled(true);
}

void TPanelForm::suiComboBoxSkypeOutChange(IComboBox& sender) {
  skype_devices_.suiComboBoxSkypeOutChange(sender);
  SaveSettings();
}

void TPanelForm::suiButtonSysAudioOutClick() { ports_.StartSoundControlPanel(os_kind_); }
