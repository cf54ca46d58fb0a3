// Start, handset changes and end of the bridge.
#include "bridge/talvek_skype_form.h"

TTalvekSkypeForm::TTalvekSkypeForm(IBridgePorts& ports, int windows_major_version)
    : ports_(ports), windows_major_version_(windows_major_version) {}

TTalvekSkypeForm::~TTalvekSkypeForm() = default;

void TTalvekSkypeForm::FormCreate(std::unique_ptr<IHandsetDeviceManager> devices) {
  state_.Muted = false;
  state_.HeldByHandset = false;
  state_.IncomingPending = false;
  state_.HandsetMode = THandsetMode::Standby;
  state_.LastSentMode.reset();

  devices_ = std::move(devices);
  devices_->SetOnDeviceChange([this] { HandsetChanged(); });
  HandsetChanged();

  ports_.BroadcastPanelDiscover();

  LoadRingTone();
  // The stored tone takes effect only when the handset next rings.
  state_.RingTone = 0;

  state_.DialCount = 0;
  state_.DialString.clear();
  state_.SkypeRingerIsHandset = kRingerUndetermined;
}

void TTalvekSkypeForm::HandsetChanged() {
  if (OpenHandsetCount() == 0) {
    ports_.BroadcastSkypeDiscover();
    return;
  }
  DiscoverSkype();
  state_.LastSentMode.reset();
  devices_->StartReadThreads(HandsetCallbacks());
}

THandsetCallbacks TTalvekSkypeForm::HandsetCallbacks() {
  // These run on the handset read threads: they touch only the shared atomics and post.
  THandsetCallbacks callbacks;
  callbacks.context = [this] { return THandsetContext{state_.HandsetMode, state_.DialCount}; };
  callbacks.store_last_key = [this](std::uint8_t key) { state_.LastKey = key; };
  callbacks.on_event = [this](const THandsetKeyEvent& event) { HandsetKeyCallback(event); };
  return callbacks;
}

void TTalvekSkypeForm::WMEndSession() {
  if (devices_) devices_->SendMode(THandsetMode::Standby, state_.RingTone);
}

void TTalvekSkypeForm::FormDestroy() {
  WMEndSession();
  devices_.reset();
}

int TTalvekSkypeForm::OpenHandsetCount() const { return devices_ ? devices_->Count() : 0; }
