#include "panel/win32/code_page_win32.h"

#include <windows.h>

namespace {

// Through UTF-16, the only way between two code pages Windows offers. A text that does not
// convert comes out empty.
std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  const int length = static_cast<int>(text.size());
  const int wide_length = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
  if (wide_length <= 0) return std::string();
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(from, 0, text.data(), length, wide.data(), wide_length);
  const int out_length = WideCharToMultiByte(to, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (out_length <= 0) return std::string();
  std::string out(static_cast<std::size_t>(out_length), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wide_length, out.data(), out_length, nullptr, nullptr);
  return out;
}

}  // namespace

std::string TWin32CodePage::AnsiToUtf8(const std::string& text) { return Convert(text, CP_ACP, CP_UTF8); }

std::string TWin32CodePage::Utf8ToAnsi(const std::string& text) { return Convert(text, CP_UTF8, CP_ACP); }
