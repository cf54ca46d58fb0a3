#include "panel/mixer_volume_backend.h"

#include <algorithm>
#include <optional>

#include "audio/handset_volume.h"
#include "panel/os_kind.h"

namespace {

constexpr std::int32_t kPlayback = 0;
constexpr std::int32_t kRecording = 1;
constexpr std::int32_t kLine = -1;        // the destination line itself
constexpr std::int32_t kFirstSource = 0;  // the destination's first connection
constexpr std::size_t kHandsetDestinations = 2;

std::int32_t MuteValue(bool mute) { return mute ? 1 : 0; }

std::int32_t DestinationOf(THandsetSide side) { return side == THandsetSide::Speaker ? kPlayback : kRecording; }

}  // namespace

TMixerVolumeBackend::TMixerVolumeBackend(TAudioMixer& mixer, IWaveDevices& devices)
    : mixer_(mixer), devices_(devices) {
  mixer_.OnCtrlChange = [this](TAudioMixer&, MixerHandle, std::uint32_t control_id) { ControlChanged(control_id); };
}

TMixerVolumeBackend::~TMixerVolumeBackend() { mixer_.OnCtrlChange = nullptr; }

void TMixerVolumeBackend::Refresh() {
  mixer_.GetMixerNumDevs();
  mixer_.SetMixerId(-1);
}

bool TMixerVolumeBackend::Open(unsigned wave_out) {
  mixer_.SetMixerId(devices_.OutMixerId(wave_out));
  return mixer_.MixerID() >= 0 && mixer_.DestinationCount() == kHandsetDestinations;
}

void TMixerVolumeBackend::Close() { mixer_.SetMixerId(-1); }

bool TMixerVolumeBackend::ReachesDevice(std::uint8_t os_kind) const {
  return os_kind == kOsNt50 || os_kind == kOsNt51;
}

bool TMixerVolumeBackend::IsOpen() const { return mixer_.MixerID() >= 0; }

void TMixerVolumeBackend::Write(THandsetSide side, int level, bool mute) {
  mixer_.SetVolume(DestinationOf(side), kLine, level, -1, MuteValue(mute));
}

bool TMixerVolumeBackend::Read(THandsetSide side) {
  TSideReading shown;
  return ReadLine(side, kLine, shown);
}

bool TMixerVolumeBackend::ReadLine(THandsetSide side, std::int32_t component, TSideReading& shown) {
  if (view_ == nullptr) return false;
  const std::int32_t destination = DestinationOf(side);
  const std::optional<TLineVolume> volume = mixer_.GetVolume(destination, component);
  if (!volume) return false;
  shown.mute_usable = !volume->mute_unavailable;
  shown.mute = shown.mute_usable && volume->mute != 0;
  shown.level_usable = volume->left != -1;
  // A line without a volume control shows 0, disabled.
  shown.level = shown.level_usable ? std::clamp<int>(volume->left, kHandsetVolumeMin, kHandsetVolumeMax) : 0;
  if (shown.level_usable && shown.level != volume->left) {
    mixer_.SetVolume(destination, component, shown.level, -1, MuteValue(shown.mute));
  }
  return view_->ShowReading(side, shown);
}

void TMixerVolumeBackend::ControlChanged(std::uint32_t control_id) {
  if (view_ == nullptr || !view_->FollowsDevice()) return;
  TSideReading shown;
  // Whichever of the playback line and its first source changed is copied to the other;
  // the copy's own notice then finds both equal and stops.
  if (mixer_.CheckCtrlID(kPlayback, kLine, control_id)) {
    if (ReadLine(THandsetSide::Speaker, kLine, shown) && PlaybackLinesDiffer()) {
      mixer_.SetVolume(kPlayback, kFirstSource, shown.level, -1, MuteValue(shown.mute));
      view_->StoreShown(THandsetSide::Speaker);
    }
  } else if (mixer_.CheckCtrlID(kPlayback, kFirstSource, control_id)) {
    if (ReadLine(THandsetSide::Speaker, kFirstSource, shown) && PlaybackLinesDiffer()) {
      mixer_.SetVolume(kPlayback, kLine, shown.level, -1, MuteValue(shown.mute));
      view_->StoreShown(THandsetSide::Speaker);
    }
  } else if (mixer_.CheckCtrlID(kRecording, kLine, control_id)) {
    ReadLine(THandsetSide::Microphone, kLine, shown);
    view_->StoreShown(THandsetSide::Microphone);
  }
}

bool TMixerVolumeBackend::PlaybackLinesDiffer() {
  const std::optional<TLineVolume> line = mixer_.GetVolume(kPlayback, kLine);
  const std::optional<TLineVolume> source = mixer_.GetVolume(kPlayback, kFirstSource);
  if (!line || !source) return false;
  for (const TLineVolume* read : {&*line, &*source}) {
    if (read->volume_unavailable || read->mute_unavailable) return false;
  }
  return line->left != source->left || line->right != source->right || line->mute != source->mute;
}
