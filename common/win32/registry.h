#pragma once
// The one registry class of both programs: all-access keys; keys of the current user are
// created when missing, machine keys are only opened. OpenRegistryKey gives the logic such a
// key as an IRegistryKey.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/registry_key.h"

class TRegistry {
 public:
  TRegistry() = default;
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // Opens `path` under `root`. Under HKEY_CURRENT_USER a missing key is created; under any
  // other root it is only opened. A leading backslash in `path` is ignored.
  bool OpenKey(HKEY root, const std::string& path);
  void CloseKey();
  bool IsOpen() const { return key_ != nullptr; }

  std::optional<std::uint32_t> ReadDword(const char* name) const;
  bool WriteDword(const char* name, std::uint32_t value);
  std::optional<std::string> ReadString(const char* name) const;
  bool WriteString(const char* name, const std::string& value);

 private:
  HKEY key_ = nullptr;
};

// `path` under `root` (as TRegistry::OpenKey) as the logic's key; null when it cannot be opened.
std::unique_ptr<IRegistryKey> OpenRegistryKey(HKEY root, const std::string& path);
