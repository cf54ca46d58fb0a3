#include "bridge/diagnostic_log.h"

#include <cstdio>

#include "common/copydata_text.h"

std::string FormatLogLine(const TLogTime& t, const char* kind, const std::string& text) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.millisecond);
  std::string line = stamp;
  line += kind;
  if (!text.empty()) line += ' ';
  const bool cut = text.size() > kLoggedTextLimit;
  for (const char c : cut ? text.substr(0, kLoggedTextLimit) : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      line += escaped;
    } else {
      line += c;
    }
  }
  if (cut) line += "...";
  line += "\r\n";
  return line;
}

bool LogNeedsRotation(std::uint64_t file_size, std::size_t line_size, std::uint64_t limit) {
  return file_size > 0 && file_size + line_size > limit;
}

TDiagnosticLog::TDiagnosticLog(std::unique_ptr<ILogFile> file, TClock clock, std::uint64_t limit)
    : file_(std::move(file)), clock_(std::move(clock)), limit_(limit) {
  if (file_ && !file_->Open(size_)) TurnOff();
}

void TDiagnosticLog::Write(const char* kind, const std::string& text) {
  if (!file_) return;
  const std::string line = FormatLogLine(clock_(), kind, text);
  if (LogNeedsRotation(size_, line.size(), limit_)) {
    // A file that cannot be turned over is no reason to let the current one grow.
    if (!file_->Rotate()) {
      TurnOff();
      return;
    }
    size_ = 0;
  }
  // A disk that is full or gone: the log stops, quietly, and the bridge goes on.
  if (!file_->Append(line)) {
    TurnOff();
    return;
  }
  size_ += line.size();
}

void TDiagnosticLog::Started(const char* version) { Write("START", std::string("handsetlink ") + version); }

void TDiagnosticLog::SkypeAttach(std::intptr_t status) {
  if (!file_) return;
  char text[16];
  std::snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(status));
  Write("ATTACH", text);
}

void TDiagnosticLog::TextIn(const void* data, std::size_t size) {
  // As the bridge reads it: up to the first zero byte.
  if (file_) Write("IN", copydata::TextFrom(data, size));
}

void TDiagnosticLog::TextOut(const std::string& text) { Write("OUT", text); }

void TDiagnosticLog::TextOutResult(std::intptr_t result) {
  if (file_) Write("RESULT", std::to_string(static_cast<long long>(result)));
}

void TDiagnosticLog::HandsetKey(std::uint8_t key) {
  if (!file_) return;
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", key);
  Write("KEY", text);
}

void TDiagnosticLog::ModeReport(std::uint8_t mode, std::uint8_t ring_tone) {
  if (file_) Write("MODE", std::to_string(mode) + " tone " + std::to_string(ring_tone));
}

void TDiagnosticLog::DevicesChanged(int open_handsets) {
  if (file_) Write("DEVICES", std::to_string(open_handsets) + " open");
}
