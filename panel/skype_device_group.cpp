#include "panel/skype_device_group.h"

#include <utility>

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

// Skype's command and request for each kind, in the order of TDeviceKind.
struct TKindTexts {
  const char* set_prefix;
  const char* request;
};
constexpr TKindTexts kKindTexts[] = {{"SET AUDIO_OUT ", "GET AUDIO_OUT"},
                                     {"SET AUDIO_IN ", "GET AUDIO_IN"},
                                     {"SET RINGER ", "GET RINGER"}};

const TKindTexts& TextsOf(TDeviceKind kind) { return kKindTexts[static_cast<int>(kind)]; }

}  // namespace

TSkypeDeviceGroup::TSkypeDeviceGroup(const TSkypeDeviceControls& controls, IWaveDevices& devices,
                                     ICodePage& code_page, IWindowsDefaultDevices& windows_defaults,
                                     ISkypeCommands& skype, std::uint8_t os_kind, std::string handset_pattern)
    : controls_(controls),
      devices_(devices),
      code_page_(code_page),
      windows_defaults_(windows_defaults),
      skype_(skype),
      os_kind_(os_kind),
      handset_pattern_(std::move(handset_pattern)) {}

void TSkypeDeviceGroup::DefaultToHandset(const std::string& output, const std::string& input) {
  if (!output.empty() && saved_.SkypeOutName.empty()) {
    saved_.SkypeOutName = output;
    saved_.SkypeRingName = kWindowsDefaultSaved;
  }
  if (!input.empty() && saved_.SkypeInName.empty()) saved_.SkypeInName = input;
}

void TSkypeDeviceGroup::ChooseHandset(const std::string& output, const std::string& input) {
  saved_.SkypeOutName = output;
  saved_.SkypeInName = input;
  saved_.SkypeRingName = kWindowsDefaultSaved;
}

void TSkypeDeviceGroup::Enable(bool attached) {
  if (attached == Enabled()) return;
  if (attached) RequestResync();
  controls_.suiGroupBoxSkype.SetEnabled(attached);
  FillDeviceLists();
}

void TSkypeDeviceGroup::FillDeviceLists() {
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
  RequestDevices();
}

void TSkypeDeviceGroup::RequestDevices() {
  for (const TKindTexts& texts : kKindTexts) skype_.SendToSkype(texts.request);
}

void TSkypeDeviceGroup::ApplySavedDevices() {
  if (!resync_pending_) return;
  resync_pending_ = false;
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

void TSkypeDeviceGroup::SendDeviceChoice(IComboBox& combo_box) {
  if (!Enabled()) return;
  const TDeviceKind kind = KindOf(combo_box);
  const TKindTexts& texts = TextsOf(kind);
  std::string command = texts.set_prefix;
  if (combo_box.ItemIndex() != 0) {
    command += combo_box.Text();
    const std::int32_t tag = combo_box.Tag();
    // On NT 6.0 no suffix is ever tried.
    if (os_kind_ != kOsNt60 && tag > kSuffixStep) {
      command += " (" + std::to_string(tag / kSuffixStep) + ")";
    }
  } else {
    command += WindowsDefaultName(kind);
    combo_box.SetTag(0);
  }
  skype_.SendToSkype(code_page_.AnsiToUtf8(command));
  skype_.SendToSkype(texts.request);
  RememberDeviceChoice(combo_box);
}

void TSkypeDeviceGroup::ResetRetries() {
  controls_.suiComboBoxSkypeOut.SetTag(0);
  controls_.suiComboBoxSkypeIn.SetTag(0);
  controls_.suiComboBoxSkypeRing.SetTag(0);
}

void TSkypeDeviceGroup::RememberDeviceChoice(IComboBox& combo_box) {
  SavedName(KindOf(combo_box)) = combo_box.ItemIndex() > 0 ? combo_box.Text() : kWindowsDefaultSaved;
}

void TSkypeDeviceGroup::HandleDeviceReply(const std::string& text, TDeviceKind kind) {
  IComboBox& combo_box = ComboBoxFor(kind);
  const std::string answer = text.empty() ? text : code_page_.Utf8ToAnsi(text);
  // Skype answered for this list, so it can be used.
  if (!combo_box.Enabled()) combo_box.SetEnabled(true);
  const std::string choice = combo_box.ItemIndex() != 0 ? combo_box.Text() : WindowsDefaultName(kind);
  // Skype may name the device with a suffix of its own: the choice only has to occur in the answer.
  if (choice.empty() || answer.find(choice) != std::string::npos) {
    combo_box.SetTag(0);
    return;
  }
  const std::int32_t tag = combo_box.Tag();
  if (choice.find(handset_pattern_) == std::string::npos) {
    // Not the handset's device: sent again as it is, without counting.
    RequestResync();
    combo_box.SetTag(0);
  } else if ((tag & kCountMask) <= kMaxFailedAnswers) {
    RequestResync();
    combo_box.SetTag(tag + 1);
  } else if (os_kind_ == kOsNt60 || tag / kSuffixStep > kLastSuffix) {
    // Given up: the Windows default entry is shown, nothing is sent and the saved name
    // stays, so the next re-application starts the tries over.
    combo_box.SetTag(0);
    combo_box.SetItemIndex(0);
  } else {
    RequestResync();
    combo_box.SetTag((tag + kSuffixStep) & ~kCountMask);
  }
}

void TSkypeDeviceGroup::suiComboBoxSkypeOutChange(IComboBox& sender) {
  sender.SetTag(0);
  SendDeviceChoice(sender);
}

IComboBox& TSkypeDeviceGroup::ComboBoxFor(TDeviceKind kind) {
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

TDeviceKind TSkypeDeviceGroup::KindOf(const IComboBox& combo_box) const {
  if (&combo_box == &controls_.suiComboBoxSkypeOut) return TDeviceKind::Output;
  if (&combo_box == &controls_.suiComboBoxSkypeIn) return TDeviceKind::Input;
  return TDeviceKind::Ringer;
}

std::string& TSkypeDeviceGroup::SavedName(TDeviceKind kind) {
  switch (kind) {
    case TDeviceKind::Output:
      return saved_.SkypeOutName;
    case TDeviceKind::Input:
      return saved_.SkypeInName;
    case TDeviceKind::Ringer:
    default:
      return saved_.SkypeRingName;
  }
}

std::string TSkypeDeviceGroup::WindowsDefaultName(TDeviceKind kind) {
  const TDefaultDeviceNames names = windows_defaults_.DefaultDevices();
  return kind == TDeviceKind::Input ? names.record : names.playback;
}
