#include "bridge/win32/diagnostic_log_file.h"

#include <shlobj.h>

#include "common/version.h"

namespace {
constexpr char kCurrentName[] = "\\handsetlink.log";
constexpr char kOldName[] = "\\handsetlink.old.log";

TLogTime LocalTimeNow() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}
}  // namespace

std::string TDiagnosticLogFile::DefaultFolder() {
  char base[MAX_PATH] = {};
  // The folder for this machine only (not roaming), as on Windows 2000 and later.
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base))) return {};
  return std::string(base) + "\\" HANDSET_PRODUCT_NAME;
}

TDiagnosticLogFile::~TDiagnosticLogFile() = default;

bool TDiagnosticLogFile::Open(std::uint64_t& size) {
  if (folder_.empty()) return false;
  CreateDirectoryA(folder_.c_str(), nullptr);  // there already, or it fails in the open below
  if (!OpenCurrent(OPEN_ALWAYS)) return false;
  LARGE_INTEGER length = {};
  if (!GetFileSizeEx(file_.Get(), &length)) return false;
  size = static_cast<std::uint64_t>(length.QuadPart);
  return true;
}

bool TDiagnosticLogFile::Append(const std::string& line) {
  DWORD written = 0;
  // One WriteFile for the whole line, without a flush: the window waits for this alone.
  return file_.Valid() && WriteFile(file_.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

bool TDiagnosticLogFile::Rotate() {
  Close();
  const std::string current = folder_ + kCurrentName;
  const std::string old = folder_ + kOldName;
  if (!MoveFileExA(current.c_str(), old.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  return OpenCurrent(CREATE_ALWAYS);
}

bool TDiagnosticLogFile::OpenCurrent(DWORD disposition) {
  const std::string path = folder_ + kCurrentName;
  // Others may read the log (and copy it for support) while the bridge writes it.
  file_.Reset(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return file_.Valid();
}

void TDiagnosticLogFile::Close() { file_.Close(); }

std::unique_ptr<TDiagnosticLog> MakeDiagnosticLog(bool wanted) {
  if (!wanted) return std::make_unique<TDiagnosticLog>();
  auto log = std::make_unique<TDiagnosticLog>(std::make_unique<TDiagnosticLogFile>(TDiagnosticLogFile::DefaultFolder()),
                                              LocalTimeNow);
  log->Started(HANDSET_VERSION_TEXT);
  return log;
}
