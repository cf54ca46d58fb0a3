#pragma once
// The panel's saved choices and the file that keeps them between runs, "setup.set" beside
// the program: seven lines, written as "%s\n%s\n%s\n%04x\n%04x\n%1d\n%1d\n" in text mode.
#include <optional>
#include <string>

#include "audio/handset_volume.h"

struct TPanelSettings {
  // A device's product name, "-1" for the "Windows default sound device" entry, or empty
  // when nothing was chosen yet.
  std::string SkypeOutName;
  std::string SkypeInName;
  std::string SkypeRingName;
  int SpeakerVolume = kHandsetVolumeDefault;
  int MicVolume = kHandsetVolumeDefault;
  bool SpeakerMute = false;
  bool MicMute = false;
};

class ISettingsFile {
 public:
  virtual ~ISettingsFile() = default;
  // Fills `settings` from the file; a missing, unreadable or short file gives the defaults.
  virtual void Load(TPanelSettings& settings) = 0;
  virtual void Save(const TPanelSettings& settings) = 0;
};

// The file's bytes as text mode writes them: every line ends in CR LF.
std::string FormatSettings(const TPanelSettings& settings);

// The settings that a file of these bytes gives, read as text mode reads them; all defaults
// unless seven lines were read.
TPanelSettings ParseSettings(const std::string& bytes);

// The files the settings file needs, so that saving can be tested without a disk.
class ISettingsStorage {
 public:
  virtual ~ISettingsStorage() = default;
  // The file's first bytes (enough for seven lines); nullopt when it cannot be read.
  virtual std::optional<std::string> Read(const std::string& path) = 0;
  // Creates or truncates the file and writes all of `bytes` to the disk; false otherwise.
  virtual bool Write(const std::string& path, const std::string& bytes) = 0;
  // Whether the file exists and is marked read-only.
  virtual bool IsReadOnly(const std::string& path) = 0;
  // Renames `from` over `to` in one step.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& path) = 0;
};

// setup.set at `path`. A save goes through a temporary file in the same folder that is then
// renamed over the old file, so a failed save leaves the last good file as it was. A file
// the user marked read-only is left alone: the rename would replace it all the same.
class TSettingsFile final : public ISettingsFile {
 public:
  TSettingsFile(ISettingsStorage& storage, std::string path);

  void Load(TPanelSettings& settings) override;
  void Save(const TPanelSettings& settings) override;

 private:
  ISettingsStorage& storage_;
  std::string path_;
};
