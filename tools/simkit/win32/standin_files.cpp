#include "tools/simkit/win32/standin_files.h"

#include <vector>

namespace simkit {

std::string ModuleFolder(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module)) {
    return "";
  }
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  const std::string file(path, length);
  return file.substr(0, file.find_last_of("\\/") + 1);
}

bool ReadSmallFile(const std::string& path, std::string& text, DWORD limit) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<char> buffer(limit);
  DWORD read = 0;
  const bool ok = ReadFile(file, buffer.data(), limit, &read, nullptr) != FALSE;
  CloseHandle(file);
  if (ok) text.assign(buffer.data(), read);
  return ok;
}

void AppendLogLine(const std::string& path, const std::string& line) {
  if (path.empty()) return;
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace simkit
