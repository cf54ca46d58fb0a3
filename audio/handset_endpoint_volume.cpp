#include "audio/handset_endpoint_volume.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "audio/endpoint_scaling.h"
#include "audio/endpoint_search.h"

namespace {

constexpr THandsetSide kBothSides[] = {THandsetSide::Speaker, THandsetSide::Microphone};

int Clamped(int volume) { return std::clamp(volume, kHandsetVolumeMin, kHandsetVolumeMax); }

}  // namespace

THandsetEndpointVolume::THandsetEndpointVolume(IEndpointPort& port, IHandsetVolumeView& view, std::string pattern)
    : port_(port), view_(view), pattern_(std::move(pattern)) {}

bool THandsetEndpointVolume::FindHandset(const TSideValues& speaker, const TSideValues& microphone) {
  Release();
  const std::optional<TEndpointInfo> out = FindHandsetEndpoint(port_.ActiveEndpoints(TEndpointFlow::Render), pattern_);
  const std::optional<TEndpointInfo> in = FindHandsetEndpoint(port_.ActiveEndpoints(TEndpointFlow::Capture), pattern_);
  if (!out || !in) return false;
  // An endpoint that goes while the stored values are applied: not found; the device notice
  // that follows looks again.
  if (!Hold(speaker_, out->id, speaker) || !Hold(microphone_, in->id, microphone)) {
    Release();
    return false;
  }
  for (THandsetSide side : kBothSides) Show(side);
  return true;
}

bool THandsetEndpointVolume::Hold(TSide& side, const std::string& id, const TSideValues& stored) {
  side.volume = Clamped(stored.volume);
  side.mute = stored.mute;
  if (port_.Open(id) != TEndpointResult::Ok) return false;
  side.id = id;
  side.level_ok = true;
  side.mute_ok = true;
  // Writing the stored values is also what tells which of the two controls works.
  WriteLevel(side, side.volume);
  WriteMute(side, side.mute);
  return !side.id.empty();
}

void THandsetEndpointVolume::Release() {
  for (THandsetSide side : kBothSides) LetGo(SideOf(side));
  lost_ = false;
}

bool THandsetEndpointVolume::Found() const { return !speaker_.id.empty() && !microphone_.id.empty(); }

TSideView THandsetEndpointVolume::Side(THandsetSide side) const {
  const TSide& s = SideOf(side);
  return TSideView{s.volume, s.mute, s.level_ok, s.mute_ok};
}

void THandsetEndpointVolume::Change(THandsetSide side, const TSideValues& values) {
  TSide& s = SideOf(side);
  const int volume = Clamped(values.volume);
  // A control that is off reaches nothing but keeps what it is asked, as over the mixer, so
  // that "Default" is kept and saved also where the endpoint refuses the level. A write that
  // fails leaves the value in effect.
  const bool level_ok = s.level_ok;
  const bool mute_ok = s.mute_ok;
  if (!level_ok || (volume != s.volume && WriteLevel(s, volume))) s.volume = volume;
  if (!mute_ok || (values.mute != s.mute && WriteMute(s, values.mute))) s.mute = values.mute;
  Show(side);
  if (lost_) {
    lost_ = false;
    view_.HandsetDevicesChanged();
  }
}

void THandsetEndpointVolume::OnEndpointVolume(const std::string& id, float level, bool mute, bool own) {
  // The program's own changes are shown already; showing their notices, which may arrive
  // after a later change, would make the slider jump back.
  if (own || id.empty()) return;
  for (THandsetSide side : kBothSides) {
    TSide& s = SideOf(side);
    if (s.id != id) continue;
    const int volume = s.level_ok ? ScalarToVolume(level) : s.volume;
    const bool muted = s.mute_ok ? mute : s.mute;
    if (volume == s.volume && muted == s.mute) return;
    s.volume = volume;
    s.mute = muted;
    Show(side);
    return;
  }
}

void THandsetEndpointVolume::OnEndpointDevicesChanged() {
  for (THandsetSide side : kBothSides) {
    TSide& s = SideOf(side);
    if (s.id.empty()) continue;
    const std::vector<TEndpointInfo> active = port_.ActiveEndpoints(s.flow);
    const bool still_there = std::any_of(active.begin(), active.end(),
                                         [&s](const TEndpointInfo& endpoint) { return endpoint.id == s.id; });
    if (still_there) continue;
    LetGo(s);
    Show(side);
  }
  lost_ = false;
  view_.HandsetDevicesChanged();
}

bool THandsetEndpointVolume::WriteLevel(TSide& side, int volume) {
  if (side.id.empty()) return false;
  return Took(side, port_.SetLevel(side.id, VolumeToScalar(volume)), side.level_ok);
}

bool THandsetEndpointVolume::WriteMute(TSide& side, bool mute) {
  if (side.id.empty()) return false;
  return Took(side, port_.SetMute(side.id, mute), side.mute_ok);
}

bool THandsetEndpointVolume::Took(TSide& side, TEndpointResult result, bool& control_ok) {
  switch (result) {
    case TEndpointResult::Ok:
      return true;
    case TEndpointResult::Failed:
      control_ok = false;
      return false;
    case TEndpointResult::DeviceInvalidated:
      LetGo(side);
      lost_ = true;
      return false;
  }
  return false;
}

void THandsetEndpointVolume::LetGo(TSide& side) {
  if (!side.id.empty()) port_.Close(side.id);
  side.id.clear();
  side.level_ok = false;
  side.mute_ok = false;
}

void THandsetEndpointVolume::Show(THandsetSide side) { view_.ShowSide(side, Side(side)); }
