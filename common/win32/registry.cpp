#include "common/win32/registry.h"

#include <vector>

TRegistry::~TRegistry() { CloseKey(); }

bool TRegistry::OpenKey(HKEY root, const std::string& path) {
  CloseKey();
  const char* subkey = path.c_str();
  if (*subkey == '\\') ++subkey;
  HKEY key = nullptr;
  LONG status;
  if (root == HKEY_CURRENT_USER) {
    status = RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             nullptr, &key, nullptr);
  } else {
    status = RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key);
  }
  if (status != ERROR_SUCCESS) return false;
  key_ = key;
  return true;
}

void TRegistry::CloseKey() {
  if (key_ != nullptr) RegCloseKey(key_);
  key_ = nullptr;
}

std::optional<std::uint32_t> TRegistry::ReadDword(const char* name) const {
  if (key_ == nullptr) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value)) {
    return std::nullopt;
  }
  return value;
}

bool TRegistry::WriteDword(const char* name, std::uint32_t value) {
  if (key_ == nullptr) return false;
  const DWORD data = value;
  return RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof(data)) == ERROR_SUCCESS;
}

std::optional<std::string> TRegistry::ReadString(const char* name) const {
  if (key_ == nullptr) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // Stored strings need not end in a zero byte; the extra byte above guarantees one.
  return std::string(buffer.data());
}

bool TRegistry::WriteString(const char* name, const std::string& value) {
  if (key_ == nullptr) return false;
  return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

namespace {

class TRegistryKey final : public IRegistryKey {
 public:
  bool Open(HKEY root, const std::string& path) { return registry_.OpenKey(root, path); }

  std::optional<std::string> ReadString(const char* name) override { return registry_.ReadString(name); }
  void WriteString(const char* name, const std::string& value) override { registry_.WriteString(name, value); }
  std::optional<std::uint32_t> ReadDword(const char* name) override { return registry_.ReadDword(name); }
  void WriteDword(const char* name, std::uint32_t value) override { registry_.WriteDword(name, value); }

 private:
  TRegistry registry_;
};

}  // namespace

std::unique_ptr<IRegistryKey> OpenRegistryKey(HKEY root, const std::string& path) {
  auto key = std::make_unique<TRegistryKey>();
  if (!key->Open(root, path)) return nullptr;
  return key;
}
