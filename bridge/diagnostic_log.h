#pragma once
// The bridge's opt-in diagnostic log: one line per event (Skype's texts in and out, attach
// statuses, handset keys, mode reports, device changes), each with the local time to the
// millisecond. Off unless the bridge's registry value asks for it. Bounded: at its limit the
// file becomes the old file (the one before is dropped) and a new one starts. A line is
// written whole or the log turns itself off; it never stops the bridge.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The DWORD under the bridge's key that turns the log on when not 0; read at start.
constexpr char kDiagnosticLogValue[] = "DiagnosticLog";
// Each of the two files (the current one and the old one) stays within this size.
constexpr std::uint64_t kDiagnosticLogLimit = 1024 * 1024;
// A longer text is cut there (and marked), so one odd message cannot fill the file.
constexpr std::size_t kLoggedTextLimit = 4096;

struct TLogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// "2026-12-10 12:34:56.789 KIND text\r\n"; control characters of `text` as \xNN, so one
// event is always one line, and a text past kLoggedTextLimit cut with "...".
std::string FormatLogLine(const TLogTime& time, const char* kind, const std::string& text);

// True when a line of `line_size` bytes would take the file of `file_size` past `limit`;
// never for an empty file, so an overlong line is still written (once, alone).
bool LogNeedsRotation(std::uint64_t file_size, std::size_t line_size, std::uint64_t limit);

// Where the lines go. The Win32 side writes a file in the user's local application data.
class ILogFile {
 public:
  virtual ~ILogFile() = default;
  // Opens the current file for appending; false when it cannot be. `size` gets its length.
  virtual bool Open(std::uint64_t& size) = 0;
  // Appends the line; false when it was not written whole.
  virtual bool Append(const std::string& line) = 0;
  // The current file becomes the old one and an empty current file is opened.
  virtual bool Rotate() = 0;
};

class TDiagnosticLog {
 public:
  using TClock = std::function<TLogTime()>;

  // Off: writes nothing.
  TDiagnosticLog() = default;
  // On, unless `file` is null or cannot be opened.
  TDiagnosticLog(std::unique_ptr<ILogFile> file, TClock clock, std::uint64_t limit = kDiagnosticLogLimit);

  bool Enabled() const { return file_ != nullptr; }
  void Write(const char* kind, const std::string& text);

  // The events, in the log's words.
  void Started(const char* version);
  void SkypeAttach(std::intptr_t status);
  // A text that came by WM_COPYDATA, from Skype or the panel: its bytes as sent.
  void TextIn(const void* data, std::size_t size);
  void TextOut(const std::string& text);
  // Skype's result for a text, when it was not 1 (0: refused or no answer in time).
  void TextOutResult(std::intptr_t result);
  void HandsetKey(std::uint8_t key);
  void ModeReport(std::uint8_t mode, std::uint8_t ring_tone);
  void DevicesChanged(int open_handsets);

 private:
  void TurnOff() { file_.reset(); }

  std::unique_ptr<ILogFile> file_;
  TClock clock_;
  std::uint64_t limit_ = kDiagnosticLogLimit;
  std::uint64_t size_ = 0;
};
