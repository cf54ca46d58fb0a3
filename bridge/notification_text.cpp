#include "bridge/notification_text.h"

#include <limits>

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::size_t position = 0;
  for (;;) {
    const std::size_t blank = text.find(' ', position);
    const std::size_t length = blank == std::string::npos ? std::string::npos : blank - position;
    std::string word = Trimmed(text.substr(position, length));
    if (word.empty()) break;
    words.push_back(std::move(word));
    if (words.size() == kMaxNotificationWords || blank == std::string::npos) break;
    position = blank + 1;
  }
  return words;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool EqualsIgnoringCase(const std::string& a, const char* b) { return UpperAscii(a) == UpperAscii(b); }

std::optional<std::int32_t> ParseCallNumber(const std::string& word) {
  std::size_t i = 0;
  bool negative = false;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
  if (i == word.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9') return std::nullopt;
    value = value * 10 + (word[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}
