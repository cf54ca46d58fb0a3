#pragma once
// The system's 8-bit code page and UTF-8, in which device names cross the bridge.
#include <string>

class ICodePage {
 public:
  virtual ~ICodePage() = default;
  virtual std::string AnsiToUtf8(const std::string& text) = 0;
  virtual std::string Utf8ToAnsi(const std::string& text) = 0;
};
