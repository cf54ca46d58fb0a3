#pragma once
// Device names between the system's ANSI code page, in which the lists show them, and UTF-8,
// in which Skype takes and gives them.
#include "panel/code_page.h"

class TWin32CodePage final : public ICodePage {
 public:
  std::string AnsiToUtf8(const std::string& text) override;
  std::string Utf8ToAnsi(const std::string& text) override;
};
