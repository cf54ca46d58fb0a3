#include "panel/skype_device_choice.h"

#include <utility>

#include "panel/main_form.h"
#include "panel/os_kind.h"
#include "panel/ui_texts.h"

namespace {

constexpr char kWindowsDefaultSaved[] = "-1";
// Failed answers at one suffix number before the next number is tried: the count runs
// 0 .. 11, so the twelfth failure moves on.
constexpr std::int32_t kMaxFailedAnswers = 10;
constexpr std::int32_t kLastSuffix = 15;
constexpr std::int32_t kSuffixStep = 0x100;
constexpr std::int32_t kCountMask = 0xFF;

// Skype's command and request for each kind, in the order of TKind.
struct TKindTexts {
  const char* set_prefix;
  const char* request;
};
constexpr TKindTexts kKindTexts[] = {{"SET AUDIO_OUT ", "GET AUDIO_OUT"},
                                     {"SET AUDIO_IN ", "GET AUDIO_IN"},
                                     {"SET RINGER ", "GET RINGER"}};

}  // namespace

TSkypeDeviceChoice::TSkypeDeviceChoice(TForm1State& state, const TDeviceChoiceControls& controls,
                                       IWaveDevices& devices, ICodePage& code_page, TDeviceChoicePorts ports)
    : state_(state), controls_(controls), devices_(devices), code_page_(code_page), ports_(std::move(ports)) {}

void TSkypeDeviceChoice::FillDeviceLists() {
  IComboBox& out = controls_.suiComboBoxSkypeOut;
  IComboBox& in = controls_.suiComboBoxSkypeIn;
  IComboBox& ring = controls_.suiComboBoxSkypeRing;
  for (IComboBox* list : {&out, &in, &ring}) list->ClearItems();
  // Item 0 stands for whatever Windows uses; the devices follow in device order.
  for (IComboBox* list : {&in, &out, &ring}) list->AddItem(UiText(kUiWindowsDefaultDevice));
  const unsigned out_count = devices_.OutCount();
  for (unsigned i = 0; i < out_count; ++i) {
    const std::string name = devices_.OutName(i);
    out.AddItem(name);
    ring.AddItem(name);
  }
  const unsigned in_count = devices_.InCount();
  for (unsigned i = 0; i < in_count; ++i) in.AddItem(devices_.InName(i));
  for (IComboBox* list : {&in, &out, &ring}) list->SetItemIndex(0);
  for (const TKindTexts& texts : kKindTexts) ports_.SendToBridge(texts.request);
}

void TSkypeDeviceChoice::ApplySavedDevices() {
  if (!state_.FResyncPending) return;
  state_.FResyncPending = false;
  for (IComboBox* list : {&controls_.suiComboBoxSkypeOut, &controls_.suiComboBoxSkypeIn,
                          &controls_.suiComboBoxSkypeRing}) {
    const std::string& saved = SavedName(KindOf(*list));
    // A saved device that is no longer listed is neither selected nor sent.
    const int index = saved == kWindowsDefaultSaved ? 0 : list->IndexOf(saved);
    if (index < 0) continue;
    list->SetItemIndex(index);
    SendDeviceChoice(*list);
  }
}

void TSkypeDeviceChoice::SendDeviceChoice(IComboBox& combo_box) {
  if (!controls_.suiGroupBoxSkype.Enabled()) return;
  const TKind kind = KindOf(combo_box);
  const TKindTexts& texts = kKindTexts[static_cast<int>(kind)];
  std::string command = texts.set_prefix;
  if (combo_box.ItemIndex() != 0) {
    command += combo_box.Text();
    const std::int32_t tag = combo_box.Tag();
    // On NT 6.0 no suffix is ever tried.
    if (state_.FOsKind != kOsNt60 && tag > kSuffixStep) {
      command += " (" + std::to_string(tag / kSuffixStep) + ")";
    }
  } else {
    command += WindowsDefaultName(kind);
    combo_box.SetTag(0);
  }
  ports_.SendToBridge(code_page_.AnsiToUtf8(command));
  ports_.SendToBridge(texts.request);
  RememberDeviceChoice(combo_box);
}

void TSkypeDeviceChoice::RememberDeviceChoice(IComboBox& combo_box) {
  SavedName(KindOf(combo_box)) = combo_box.ItemIndex() > 0 ? combo_box.Text() : kWindowsDefaultSaved;
}

void TSkypeDeviceChoice::HandleDeviceReply(const std::string& text, IComboBox& combo_box) {
  const std::string answer = text.empty() ? text : code_page_.Utf8ToAnsi(text);
  // Skype answered for this list, so it can be used.
  if (!combo_box.Enabled()) combo_box.SetEnabled(true);
  const std::string choice = combo_box.ItemIndex() != 0 ? combo_box.Text() : WindowsDefaultName(KindOf(combo_box));
  // Skype may name the device with a suffix of its own: the choice only has to occur in the answer.
  if (choice.empty() || answer.find(choice) != std::string::npos) {
    combo_box.SetTag(0);
    return;
  }
  const std::int32_t tag = combo_box.Tag();
  if (choice.find(state_.FHandsetPattern) == std::string::npos) {
    // Not the handset's device: sent again as it is, without counting.
    state_.FResyncPending = true;
    combo_box.SetTag(0);
  } else if ((tag & kCountMask) <= kMaxFailedAnswers) {
    state_.FResyncPending = true;
    combo_box.SetTag(tag + 1);
  } else if (state_.FOsKind == kOsNt60 || tag / kSuffixStep > kLastSuffix) {
    // Given up: the Windows default entry is shown, nothing is sent and the saved name
    // stays, so the next re-application starts the tries over.
    combo_box.SetTag(0);
    combo_box.SetItemIndex(0);
  } else {
    state_.FResyncPending = true;
    combo_box.SetTag((tag + kSuffixStep) & ~kCountMask);
  }
}

void TSkypeDeviceChoice::suiComboBoxSkypeOutChange(IComboBox& sender) {
  sender.SetTag(0);
  SendDeviceChoice(sender);
  ports_.SaveSettings();
}

TSkypeDeviceChoice::TKind TSkypeDeviceChoice::KindOf(const IComboBox& combo_box) const {
  if (&combo_box == &controls_.suiComboBoxSkypeOut) return TKind::Output;
  if (&combo_box == &controls_.suiComboBoxSkypeIn) return TKind::Input;
  return TKind::Ringer;
}

std::string& TSkypeDeviceChoice::SavedName(TKind kind) {
  switch (kind) {
    case TKind::Output:
      return state_.FSkypeOutName;
    case TKind::Input:
      return state_.FSkypeInName;
    case TKind::Ringer:
    default:
      return state_.FSkypeRingName;
  }
}

std::string TSkypeDeviceChoice::WindowsDefaultName(TKind kind) {
  const TDefaultDeviceNames names = ports_.ReadDefaultDevices();
  return kind == TKind::Input ? names.record : names.playback;
}
