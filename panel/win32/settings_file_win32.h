#pragma once
// setup.set on the disk: the files it needs, and where it lives.
#include <string>

#include "panel/settings_file.h"

class TWin32SettingsStorage final : public ISettingsStorage {
 public:
  std::optional<std::string> Read(const std::string& path) override;
  bool Write(const std::string& path, const std::string& bytes) override;
  bool IsReadOnly(const std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override;
  void Remove(const std::string& path) override;
};

// The folder of the running program file followed by "setup.set".
std::string SettingsFilePath();
