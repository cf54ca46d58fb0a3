#include "panel/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kLineCount = 7;
// Each line is read into a 260-byte buffer: at most 259 characters a read.
constexpr std::size_t kLineBuffer = 260;
constexpr char kTemporarySuffix[] = ".tmp";

// What "%s" writes: a string ends at its first zero byte.
std::string AsCString(const std::string& text) { return text.substr(0, text.find('\0')); }

// Text mode writes every line feed as CR LF ...
std::string ToTextMode(const std::string& text) {
  std::string out;
  out.reserve(text.size() + kLineCount);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// ... and reads every CR LF as a line feed; a lone CR stays.
std::string FromTextMode(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out += bytes[i];
  }
  return out;
}

// Up to `count` lines as a read of at most 259 characters, through the next line feed,
// takes them: a longer line comes as two. Each is cut at its line feed.
std::vector<std::string> ReadLines(const std::string& text, std::size_t count) {
  std::vector<std::string> lines;
  std::size_t position = 0;
  while (lines.size() < count && position < text.size()) {
    const std::size_t limit = std::min(text.size(), position + kLineBuffer - 1);
    const std::size_t line_feed = text.find('\n', position);
    const std::size_t end = line_feed < limit ? line_feed + 1 : limit;
    std::string line = text.substr(position, end - position);
    position = end;
    line = line.substr(0, line.find('\n'));
    lines.push_back(AsCString(line));
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// As strtol with base 16 on a 32-bit long: blanks, a sign, an optional "0x", digits up to
// the first other character; no digits give 0; values beyond the range are limited to it.
int ParseHex(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  if (i + 1 < line.size() && line[i] == '0' && (line[i + 1] == 'x' || line[i + 1] == 'X')) i += 2;
  constexpr std::int64_t kBeyondRange = std::int64_t{1} << 32;
  std::int64_t magnitude = 0;
  for (; i < line.size() && HexDigit(line[i]) >= 0; ++i) {
    magnitude = std::min(kBeyondRange, magnitude * 16 + HexDigit(line[i]));
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Anything but a leading "0" is on, an empty line too.
bool ParseMute(const std::string& line) { return line.empty() || line[0] != '0'; }

}  // namespace

std::string FormatSettings(const TPanelSettings& settings) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%04x\n%04x\n%1d\n%1d\n",
                static_cast<unsigned>(settings.SpeakerVolume), static_cast<unsigned>(settings.MicVolume),
                settings.SpeakerMute ? 1 : 0, settings.MicMute ? 1 : 0);
  return ToTextMode(AsCString(settings.SkypeOutName) + "\n" + AsCString(settings.SkypeInName) + "\n" +
                    AsCString(settings.SkypeRingName) + "\n" + numbers);
}

TPanelSettings ParseSettings(const std::string& bytes) {
  const std::vector<std::string> lines = ReadLines(FromTextMode(bytes), kLineCount);
  TPanelSettings settings;
  // A short file gives the defaults, also for the lines it has.
  if (lines.size() < kLineCount) return settings;
  settings.SkypeOutName = lines[0];
  settings.SkypeInName = lines[1];
  settings.SkypeRingName = lines[2];
  settings.SpeakerVolume = ParseHex(lines[3]);
  settings.MicVolume = ParseHex(lines[4]);
  settings.SpeakerMute = ParseMute(lines[5]);
  settings.MicMute = ParseMute(lines[6]);
  return settings;
}

TSettingsFile::TSettingsFile(ISettingsStorage& storage, std::string path)
    : storage_(storage), path_(std::move(path)) {}

void TSettingsFile::Load(TPanelSettings& settings) {
  const std::optional<std::string> bytes = storage_.Read(path_);
  settings = bytes ? ParseSettings(*bytes) : TPanelSettings{};
}

void TSettingsFile::Save(const TPanelSettings& settings) {
  if (storage_.IsReadOnly(path_)) return;
  const std::string temporary = path_ + kTemporarySuffix;
  if (!storage_.Write(temporary, FormatSettings(settings)) || !storage_.Replace(temporary, path_)) {
    storage_.Remove(temporary);
  }
}
