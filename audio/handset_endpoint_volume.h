#pragma once
// The handset's volume and mute over the audio endpoints (Vista and later): the speaker is
// the handset's render endpoint, the microphone its capture endpoint. Changes made elsewhere
// come in as endpoint notices (on the window thread) and only update the view, so nothing
// echoes back. A call that fails disables the control it was for; a gone endpoint is let go
// at once, its side disabled, and the view asked to look for the handset again.
#include <string>

#include "audio/endpoint_port.h"
#include "audio/handset_volume_view.h"

class THandsetEndpointVolume final : public IEndpointEvents {
 public:
  // `pattern` is FHandsetPattern. Release() before the port goes.
  THandsetEndpointVolume(IEndpointPort& port, IHandsetVolumeView& view, std::string pattern);

  // Looks for the handset's speaker and microphone (letting go of what was held); when both
  // are found, applies the stored values, shows both sides and gives true.
  bool FindHandset(const TSideValues& speaker, const TSideValues& microphone);
  // Lets go of the handset: nothing of it is used until the next FindHandset.
  void Release();
  bool Found() const;
  TSideView Side(THandsetSide side) const;
  // A change of one side (the user's, a handset key's, "Default"): reaches the endpoint at
  // once; what a control that is off is asked is kept without reaching it.
  void Change(THandsetSide side, const TSideValues& values);

  void OnEndpointVolume(const std::string& id, float level, bool mute, bool own) override;
  void OnEndpointDevicesChanged() override;

 private:
  struct TSide {
    explicit TSide(TEndpointFlow endpoint_flow) : flow(endpoint_flow) {}
    TEndpointFlow flow;
    std::string id;  // empty while not held
    int volume = kHandsetVolumeDefault;
    bool mute = false;
    bool level_ok = false;
    bool mute_ok = false;
  };

  TSide& SideOf(THandsetSide side) { return side == THandsetSide::Speaker ? speaker_ : microphone_; }
  const TSide& SideOf(THandsetSide side) const {
    return side == THandsetSide::Speaker ? speaker_ : microphone_;
  }
  bool Hold(TSide& side, const std::string& id, const TSideValues& stored);
  // Writes a value: true when it took. A failure disables that control, a gone endpoint
  // the whole side.
  bool WriteLevel(TSide& side, int volume);
  bool WriteMute(TSide& side, bool mute);
  bool Took(TSide& side, TEndpointResult result, bool& control_ok);
  void LetGo(TSide& side);
  void Show(THandsetSide side);

  IEndpointPort& port_;
  IHandsetVolumeView& view_;
  const std::string pattern_;
  TSide speaker_{TEndpointFlow::Render};
  TSide microphone_{TEndpointFlow::Capture};
  // Set when an endpoint went during a call: the view is asked to look again once.
  bool lost_ = false;
};
