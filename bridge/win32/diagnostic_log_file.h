#pragma once
// The diagnostic log's file: "handsetlink.log" in the folder "Corvane USB Talkpod" of the
// user's local application data, the turned-over one beside it as "handsetlink.old.log".
#include <windows.h>

#include <memory>
#include <string>

#include "bridge/diagnostic_log.h"
#include "common/win32/scoped_handles.h"

class TDiagnosticLogFile final : public ILogFile {
 public:
  // The log folder of the user who runs the bridge; empty when Windows names none.
  static std::string DefaultFolder();

  explicit TDiagnosticLogFile(std::string folder) : folder_(std::move(folder)) {}
  ~TDiagnosticLogFile() override;
  TDiagnosticLogFile(const TDiagnosticLogFile&) = delete;
  TDiagnosticLogFile& operator=(const TDiagnosticLogFile&) = delete;

  bool Open(std::uint64_t& size) override;
  bool Append(const std::string& line) override;
  bool Rotate() override;

 private:
  bool OpenCurrent(DWORD disposition);
  void Close();

  std::string folder_;
  TKernelHandle file_;
};

// The log as the bridge's registry value asks for it at start: on with this file and the
// local clock, or off.
std::unique_ptr<TDiagnosticLog> MakeDiagnosticLog(bool wanted);
