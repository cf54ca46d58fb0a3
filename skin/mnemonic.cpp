#include "skin/mnemonic.h"

#include <cctype>

char MnemonicOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

std::string WithoutMnemonic(const std::string& caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}
