#include "panel/win32/settings_file_win32.h"

#include <windows.h>

#include <vector>

#include "common/win32/scoped_handles.h"

namespace {

constexpr char kFileName[] = "setup.set";
// Seven lines of at most 259 characters each fit many times over; the rest is never read.
constexpr DWORD kReadLimit = 64 * 1024;

}  // namespace

std::optional<std::string> TWin32SettingsStorage::Read(const std::string& path) {
  TKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return std::nullopt;
  std::vector<char> buffer(kReadLimit);
  DWORD total = 0;
  DWORD read = 0;
  while (total < kReadLimit && ReadFile(file.Get(), buffer.data() + total, kReadLimit - total, &read, nullptr) &&
         read > 0) {
    total += read;
  }
  return std::string(buffer.data(), total);
}

bool TWin32SettingsStorage::Write(const std::string& path, const std::string& bytes) {
  TKernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
  if (!file.Valid()) return false;
  DWORD written = 0;
  const bool complete = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size();
  // On the disk before the rename makes it the settings file.
  return complete && FlushFileBuffers(file.Get()) && file.Close();
}

bool TWin32SettingsStorage::IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool TWin32SettingsStorage::Replace(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void TWin32SettingsStorage::Remove(const std::string& path) { DeleteFileA(path.c_str()); }

std::string SettingsFilePath() {
  // The program's path may be longer than MAX_PATH: grow the buffer until it fits.
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return kFileName;
    if (length < path.size()) {
      std::string program(path.data(), length);
      return program.substr(0, program.find_last_of("\\/") + 1) + kFileName;
    }
    if (path.size() >= 32768) return kFileName;
    path.resize(path.size() * 2);
  }
}
