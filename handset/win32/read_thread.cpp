#include "handset/win32/read_thread.h"

#include <algorithm>

namespace {
constexpr DWORD kWaitSliceMs = 200;
// A handset that cannot be opened (being unplugged, say) is tried again after this pause.
constexpr DWORD kReopenPauseMs = 150;
// The key byte's place in the report, after the report id and two bytes.
constexpr std::size_t kKeyOffset = 3;
}  // namespace

TUSBPhoneDataReadThread::TUSBPhoneDataReadThread(std::string device_path, std::uint16_t input_report_length,
                                                 THandsetCallbacks callbacks)
    : device_path_(std::move(device_path)),
      callbacks_(std::move(callbacks)),
      report_(std::max<std::size_t>(input_report_length, kKeyOffset + 1), 0),
      input_report_length_(input_report_length) {
  // Without a thread the handset's keys go unread, but the bridge and its other handsets run on.
  thread_ = CreateThread(nullptr, 0, &ThreadMain, this, 0, nullptr);
}

TUSBPhoneDataReadThread::~TUSBPhoneDataReadThread() {
  stop_requested_ = true;
  if (thread_ == nullptr) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

DWORD WINAPI TUSBPhoneDataReadThread::ThreadMain(LPVOID self) {
  static_cast<TUSBPhoneDataReadThread*>(self)->Run();
  return 0;
}

void TUSBPhoneDataReadThread::Run() {
  decoder_.ResetRun();
  while (!stop_requested_) {
    if (!OpenReadHandle()) {
      SleepEx(kReopenPauseMs, TRUE);
      continue;
    }
    const ReadOutcome outcome = ReadOneReport();
    CloseReadHandle();
    if (outcome == ReadOutcome::kStopped) break;
    if (outcome == ReadOutcome::kNotStarted) continue;
    // A failed read leaves the previous report in the buffer, which decodes to no change.
    ProcessReport();
    // A device that fails every read at once (going away, say) must not make this spin.
    if (pending_.error != ERROR_SUCCESS) SleepEx(kReopenPauseMs, TRUE);
  }
}

bool TUSBPhoneDataReadThread::OpenReadHandle() {
  if (read_handle_ == INVALID_HANDLE_VALUE) {
    read_handle_ = CreateFileA(device_path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  }
  return read_handle_ != INVALID_HANDLE_VALUE;
}

void TUSBPhoneDataReadThread::CloseReadHandle() {
  if (read_handle_ != INVALID_HANDLE_VALUE) CloseHandle(read_handle_);
  read_handle_ = INVALID_HANDLE_VALUE;
}

void CALLBACK TUSBPhoneDataReadThread::ReadCompleted(DWORD error, DWORD, LPOVERLAPPED overlapped) {
  auto* read = reinterpret_cast<PendingRead*>(overlapped);
  read->error = error;
  read->completed = true;
}

TUSBPhoneDataReadThread::ReadOutcome TUSBPhoneDataReadThread::ReadOneReport() {
  pending_ = PendingRead{};
  if (!ReadFileEx(read_handle_, report_.data(), input_report_length_, &pending_.overlapped, &ReadCompleted)) {
    // No read is under way, so no completion will come and there is nothing to decode.
    SleepEx(kWaitSliceMs, TRUE);
    return stop_requested_ ? ReadOutcome::kStopped : ReadOutcome::kNotStarted;
  }
  while (!pending_.completed && !stop_requested_) SleepEx(kWaitSliceMs, TRUE);
  if (pending_.completed) return ReadOutcome::kCompleted;

  // Stopping: the read must end before its buffer and handle go away.
  CancelIo(read_handle_);
  for (int slice = 0; slice < 10 && !pending_.completed; ++slice) SleepEx(kWaitSliceMs, TRUE);
  return ReadOutcome::kStopped;
}

void TUSBPhoneDataReadThread::ProcessReport() {
  const THandsetContext context = callbacks_.context ? callbacks_.context() : THandsetContext{};
  std::uint8_t last_key = 0;
  const auto events = decoder_.ProcessReport(report_[kKeyOffset], GetTickCount(), context, last_key);
  if (callbacks_.store_last_key) callbacks_.store_last_key(last_key);
  if (!callbacks_.on_event) return;
  for (const THandsetKeyEvent& event : events) callbacks_.on_event(event);
}
