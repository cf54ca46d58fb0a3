// The "Skype Sound Device" group as the link drives it: enabled while Skype is attached to
// the bridge, its lists rebuilt and Skype asked for its devices. Choosing, sending and
// checking the devices are the device choice unit's (device_choice_).
#include "panel/main_form.h"

void TForm1::UpdateSkypeGroup(bool attached) {
  IGroupBox& group = controls_.suiGroupBoxSkype;
  if (attached == group.Enabled()) return;
  if (attached) {
    state_.FResyncPending = true;
    group.SetEnabled(true);
  } else {
    group.SetEnabled(false);
  }
  device_choice_.FillDeviceLists();
}

void TForm1::ResetDeviceRetries() {
  controls_.suiComboBoxSkypeOut.SetTag(0);
  controls_.suiComboBoxSkypeIn.SetTag(0);
  controls_.suiComboBoxSkypeRing.SetTag(0);
}

IComboBox& TForm1::ComboBoxFor(TDeviceKind kind) {
  switch (kind) {
    case TDeviceKind::Input:
      return controls_.suiComboBoxSkypeIn;
    case TDeviceKind::Output:
      return controls_.suiComboBoxSkypeOut;
    case TDeviceKind::Ringer:
    default:
      return controls_.suiComboBoxSkypeRing;
  }
}
