#pragma once
// The panel's saved choices and the file that keeps them between runs.
#include <string>

constexpr int kDefaultVolume = 32767;

struct TPanelSettings {
  // A device's product name, "-1" for the "Windows default sound device" entry, or empty
  // when nothing was chosen yet.
  std::string SkypeOutName;
  std::string SkypeInName;
  std::string SkypeRingName;
  int SpeakerVolume = kDefaultVolume;
  int MicVolume = kDefaultVolume;
  bool SpeakerMute = false;
  bool MicMute = false;
};

class ISettingsFile {
 public:
  virtual ~ISettingsFile() = default;
  // Leaves `settings` as they are for whatever the file does not hold.
  virtual void Load(TPanelSettings& settings) = 0;
  virtual void Save(const TPanelSettings& settings) = 0;
};
