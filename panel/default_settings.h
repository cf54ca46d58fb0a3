#pragma once
// The settings as they are before anything was chosen: every start begins with them and
// nothing is written. Stands in for the settings file until the panel keeps one.
#include "panel/settings_file.h"

class TDefaultSettings final : public ISettingsFile {
 public:
  void Load(TPanelSettings&) override {}
  void Save(const TPanelSettings&) override {}
};
