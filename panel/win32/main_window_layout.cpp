// The controls of the main window, where they sit (in 96-dpi pixels), their texts and how
// their events reach the form.
#include "common/version.h"
#include "audio/handset_volume.h"
#include "panel/ui_texts.h"
#include "panel/win32/main_window.h"
#include "panel/win32/pictures.h"
#include "panel/win32/resource_ids.h"
#include "panel/win32/window_ids.h"

namespace {

// The product, version and maker as the version resource names them.
constexpr char kProductLine[] = "Product Name: " HANDSET_PRODUCT_NAME;
constexpr char kVersionLine[] = "Software Version: " HANDSET_VERSION_TEXT;
constexpr char kMakerLine[] = "Made by " HANDSET_COMPANY_NAME;
constexpr char kMakerAddressText[] = "www.corvane.example";
constexpr char kMakerAddress[] = HANDSET_COMPANY_URL;
// Both mute boxes read "Mute"; screen readers tell them apart by these names.
constexpr char kMuteCaption[] = "Mute";
constexpr char kSpeakerMuteName[] = "Speaker mute";
constexpr char kMicMuteName[] = "Microphone mute";

// The pages fill the window below the tabs; "Default" sits on the row of the tabs.
constexpr TBounds kPages{12, 8, 464, 279};
constexpr TBounds kDefaultButton{396, 9, 80, 28};
// Between the tabs and "Default".
constexpr TBounds kGreyGroupsNote{160, 12, 230, 22};
// On the Setup page.
constexpr TBounds kVolumeGroup{0, 6, 226, 194};
constexpr TBounds kSkypeGroup{238, 6, 226, 194};
constexpr TBounds kSysAudioLabel{4, 212, 300, 30};
constexpr TBounds kSysAudioButton{384, 212, 80, 30};

HICON LoadIconSized(int id, int size) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size,
                                       LR_DEFAULTCOLOR));
}

TTrackBarSettings VolumeTrackBar() {
  TTrackBarSettings settings;
  settings.min = kHandsetVolumeMin;
  settings.max = kHandsetVolumeMax;
  settings.page_size = kHandsetVolumeStep;
  settings.line_size = 1;
  settings.frequency = kHandsetVolumeStep;
  settings.show_tick = false;
  return settings;
}

}  // namespace

bool TMainWindow::CreateControls() {
  HWND window = Handle();
  if (!suiPageControl1.Create(window, kIdPageControl, kPages)) return false;
  if (!suiPageControl1.AddSheet(suiTabSheetAudio, "") || !suiPageControl1.AddSheet(suiTabSheetAbout, "")) {
    return false;
  }
  if (!CreateSetupPage() || !CreateAboutPage()) return false;
  // After the pages, so Tab reaches it after the page's controls.
  if (!suiButtonDefault.Create(window, kIdButtonDefault, kDefaultButton, "")) return false;
  // Off until a status report says that the handset and Skype are both there.
  suiButtonDefault.SetEnabled(false);
  TLabelStyle note;
  note.color = theme::kTextMuted;
  if (!LabelGreyGroups.Create(window, kIdLabelGreyGroups, kGreyGroupsNote, "", note)) return false;
  if (!suiPopupMenuTrayIcon.Create(window)) return false;
  // Captions come from ApplyUiTexts.
  suiPopupMenuTrayIcon.AddItem("", [this] { form_->ItemSetupClick(); });
  suiPopupMenuTrayIcon.AddItem("", [this] { form_->ItemAboutClick(); });
  suiPopupMenuTrayIcon.AddItem("-", nullptr);
  suiPopupMenuTrayIcon.AddItem("", [this] { form_->ItemExitClick(); });
  return true;
}

bool TMainWindow::CreateSetupPage() {
  HWND sheet = suiTabSheetAudio.Handle();
  return suiGroupBoxVol.Create(sheet, kIdGroupVolume, kVolumeGroup, "") && CreateVolumeGroup() &&
         suiGroupBoxSkype.Create(sheet, kIdGroupSkype, kSkypeGroup, "") && CreateSkypeGroup() &&
         LabelSysAudioOut.Create(sheet, kIdLabelSysAudioOut, kSysAudioLabel, "") &&
         suiButtonSysAudioOut.Create(sheet, kIdButtonSysAudioOut, kSysAudioButton, "Setup");
}

bool TMainWindow::CreateVolumeGroup() {
  HWND group = suiGroupBoxVol.Handle();
  const TTrackBarSettings volume = VolumeTrackBar();
  // Each label comes right before its track bar: screen readers name the bar after it.
  const bool made =
      LabelVolOut.Create(group, kIdLabelVolOut, {16, 36, 196, 20}, "") &&
      suiTrackBarVolOut.Create(group, kIdTrackBarVolOut, {32, 56, 160, 32}, volume) &&
      ImageVolOutMin.Create(group, kIdImageVolOutMin, {12, 58, 18, 28}) &&
      ImageVolOutMax.Create(group, kIdImageVolOutMax, {194, 58, 20, 28}) &&
      suiCheckBoxVolOut.Create(group, kIdCheckBoxVolOut, {34, 88, 120, 22}, kMuteCaption, kSpeakerMuteName) &&
      LabelVolIn.Create(group, kIdLabelVolIn, {16, 114, 196, 20}, "") &&
      suiTrackBarVolIn.Create(group, kIdTrackBarVolIn, {32, 134, 160, 32}, volume) &&
      ImageVolInMin.Create(group, kIdImageVolInMin, {12, 136, 18, 28}) &&
      ImageVolInMax.Create(group, kIdImageVolInMax, {194, 136, 20, 28}) &&
      suiCheckBoxVolIn.Create(group, kIdCheckBoxVolIn, {34, 166, 120, 22}, kMuteCaption, kMicMuteName);
  if (!made) return false;
  auto quiet = [](TPaintBuffer& buffer, const RECT& area, bool enabled) { PaintLoudness(buffer, area, 0, enabled); };
  auto loud = [](TPaintBuffer& buffer, const RECT& area, bool enabled) { PaintLoudness(buffer, area, 2, enabled); };
  ImageVolOutMin.SetPainter(quiet);
  ImageVolInMin.SetPainter(quiet);
  ImageVolOutMax.SetPainter(loud);
  ImageVolInMax.SetPainter(loud);
  return true;
}

bool TMainWindow::CreateSkypeGroup() {
  HWND group = suiGroupBoxSkype.Handle();
  // Each label comes right before its list: screen readers name the list after it.
  return LabelSkypeOut.Create(group, kIdLabelSkypeOut, {16, 36, 196, 20}, "") &&
         suiComboBoxSkypeOut.Create(group, kIdComboBoxSkypeOut, {12, 56, 202, 28}) &&
         LabelSkypeIn.Create(group, kIdLabelSkypeIn, {16, 88, 196, 20}, "") &&
         suiComboBoxSkypeIn.Create(group, kIdComboBoxSkypeIn, {12, 108, 202, 28}) &&
         LabelSkypeRing.Create(group, kIdLabelSkypeRing, {16, 140, 196, 20}, "") &&
         suiComboBoxSkypeRing.Create(group, kIdComboBoxSkypeRing, {12, 160, 202, 28});
}

bool TMainWindow::CreateAboutPage() {
  const bool card = AboutCard.Create(suiTabSheetAbout.Handle(), kIdAboutCard, {0, 6, 464, 236}, "");
  if (!card) return false;
  HWND group = AboutCard.Handle();
  TLabelStyle muted;
  muted.color = theme::kTextMuted;
  const bool made = ImageHandset.Create(group, kIdImageHandset, {28, 44, 112, 112}) &&
                    ImageLogo.Create(group, kIdImageLogo, {164, 28, 260, 40}) &&
                    LabelProduct.Create(group, kIdLabelProduct, {164, 86, 280, 22}, kProductLine) &&
                    LabelVersion.Create(group, kIdLabelVersion, {164, 110, 280, 22}, kVersionLine) &&
                    ImageMaker.Create(group, kIdImageMaker, {164, 160, 16, 16}) &&
                    LabelMaker.Create(group, kIdLabelMaker, {188, 157, 256, 22}, kMakerLine, muted) &&
                    suiURLLabelComp.Create(group, kIdUrlLabel, {188, 181, 256, 22}, kMakerAddressText, kMakerAddress);
  if (!made) return false;
  about_picture_.Reset(LoadIconSized(IDI_HANDSET_PRESENT, Scale(112)));
  // Windows XP cannot read the large size, which the icon file keeps as a PNG.
  if (!about_picture_.Get()) about_picture_.Reset(LoadIconSized(IDI_HANDSET_PRESENT, Scale(48)));
  maker_icon_.Reset(LoadIconSized(IDI_HANDSET_PRESENT, Scale(16)));
  ImageHandset.SetIcon(about_picture_.Get());
  ImageMaker.SetIcon(maker_icon_.Get());
  ImageLogo.SetPainter([](TPaintBuffer& buffer, const RECT& area, bool) { PaintLogo(buffer, area); });
  return true;
}

bool TMainWindow::CreateTrayIcon() {
  const int size = GetSystemMetrics(SM_CXSMICON);
  tray_images_[0].Reset(LoadIconSized(IDI_HANDSET_ABSENT, size));
  tray_images_[1].Reset(LoadIconSized(IDI_HANDSET_PRESENT, size));
  return TrayIconSts.Create(Handle(), kMsgTrayIcon, tray_images_[0].Get(), tray_images_[1].Get());
}

void TMainWindow::WireEvents() {
  suiPageControl1.SetOnChange([this] { form_->suiPageControl1Change(); });
  suiButtonSysAudioOut.SetOnClick([this] { form_->suiButtonSysAudioOutClick(); });
  application_.on_restore = [this] { form_->ShowPanel(); };
  application_.on_minimize = [this] { form_->Minimize(); };
  // Each side's track bar and mute box share one handler: both write that side to the mixer.
  suiTrackBarVolOut.SetOnChange([this] { form_->suiTrackBarVolOutChange(); });
  suiCheckBoxVolOut.SetOnClick([this] { form_->suiTrackBarVolOutChange(); });
  suiTrackBarVolIn.SetOnChange([this] { form_->suiTrackBarVolInChange(); });
  suiCheckBoxVolIn.SetOnClick([this] { form_->suiTrackBarVolInChange(); });
  suiButtonDefault.SetOnClick([this] { form_->suiButtonDefaultClick(); });
  for (TsuiComboBox* list : {&suiComboBoxSkypeOut, &suiComboBoxSkypeIn, &suiComboBoxSkypeRing}) {
    list->SetOnChange([this, list] { form_->suiComboBoxSkypeOutChange(*list); });
  }
}

TPanelControls TMainWindow::FormControls() {
  return {suiPageControl1,
          suiButtonDefault,
          {suiGroupBoxVol, LabelVolOut, LabelVolIn, suiTrackBarVolOut, suiTrackBarVolIn, suiCheckBoxVolOut,
           suiCheckBoxVolIn},
          {suiGroupBoxSkype, suiComboBoxSkypeOut, suiComboBoxSkypeIn, suiComboBoxSkypeRing}};
}

TPanelAudio TMainWindow::FormAudio(IVolumeBackend& handset_volume) {
  return {handset_volume, wave_devices_, default_devices_, code_page_};
}

void TMainWindow::ApplyUiTexts() {
  SetWindowTextA(Handle(), UiText(kUiCaption));
  suiPageControl1.SetSheetCaption(0, UiText(kUiSetupTab));
  suiPageControl1.SetSheetCaption(1, UiText(kUiAboutTab));
  suiGroupBoxVol.SetCaption(UiText(kUiUsbPhoneGroup));
  LabelVolOut.SetCaption(UiText(kUiSpeakerVolume));
  LabelVolIn.SetCaption(UiText(kUiMicVolume));
  suiGroupBoxSkype.SetCaption(UiText(kUiSkypeGroup));
  LabelSkypeOut.SetCaption(UiText(kUiSkypeOutput));
  LabelSkypeIn.SetCaption(UiText(kUiSkypeInput));
  LabelSkypeRing.SetCaption(UiText(kUiSkypeRinging));
  LabelSysAudioOut.SetCaption(UiText(kUiWindowsDefaultLabel));
  suiButtonDefault.SetCaption(UiText(kUiDefaultButton));
  suiPopupMenuTrayIcon.SetItemCaption(0, UiText(kUiItemSetup));
  suiPopupMenuTrayIcon.SetItemCaption(1, UiText(kUiItemAbout));
  suiPopupMenuTrayIcon.SetItemCaption(3, UiText(kUiItemExit));
}
