// The "Skype Sound Device" group as the link drives it: enabled while Skype is attached to
// the bridge, its lists rebuilt and Skype asked for its devices. Choosing, sending and
// checking the devices come with the device choice proper; FillDeviceLists,
// ApplySavedDevices and HandleDeviceReply are where it joins.
#include "panel/main_form.h"
#include "panel/ui_texts.h"

void TForm1::UpdateSkypeGroup(bool attached) {
  IGroupBox& group = controls_.suiGroupBoxSkype;
  if (attached == group.Enabled()) return;
  if (attached) {
    state_.FResyncPending = true;
    group.SetEnabled(true);
  } else {
    group.SetEnabled(false);
  }
  FillDeviceLists();
}

void TForm1::FillDeviceLists() {
  IComboBox* lists[] = {&controls_.suiComboBoxSkypeIn, &controls_.suiComboBoxSkypeOut,
                        &controls_.suiComboBoxSkypeRing};
  for (IComboBox* list : lists) list->ClearItems();
  // Item 0 stands for whatever Windows uses; the devices themselves follow it.
  for (IComboBox* list : lists) list->AddItem(UiText(kUiWindowsDefaultDevice));
  for (IComboBox* list : lists) list->SetItemIndex(0);
  RequestAudioOut();
  RequestAudioIn();
  RequestRinger();
}

void TForm1::ResetDeviceRetries() {
  controls_.suiComboBoxSkypeOut.SetTag(0);
  controls_.suiComboBoxSkypeIn.SetTag(0);
  controls_.suiComboBoxSkypeRing.SetTag(0);
}

void TForm1::ApplySavedDevices() {
  if (!state_.FResyncPending) return;
  state_.FResyncPending = false;
  // The saved choices are re-selected and sent to Skype here once they can be chosen.
}

void TForm1::HandleDeviceReply(const std::string& /*text*/, IComboBox& combo_box) {
  // Skype answered for this list, so it can be used; comparing the answer with the choice
  // joins here.
  if (!combo_box.Enabled()) combo_box.SetEnabled(true);
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
