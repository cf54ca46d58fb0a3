#include "handset/win32/read_thread.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "common/win32/scoped_handles.h"
#include "handset/key_decoder.h"

namespace {
constexpr DWORD kWaitSliceMs = 200;
// A handset that cannot be opened (being unplugged, say) is tried again after this pause.
constexpr DWORD kReopenPauseMs = 150;
// How many wait slices a cancelled read is given to end before its handle is closed.
constexpr int kCancelSlices = 10;
// The key byte's place in the report, after the report id and two bytes.
constexpr std::size_t kKeyOffset = 3;
}  // namespace

// Everything the read thread uses. The thread holds it until it ends, so a read still
// pending after the stop never completes into freed memory or a closed handle.
class TUSBPhoneDataReadThread::TReader {
 public:
  TReader(std::string device_path, std::uint16_t input_report_length, THandsetCallbacks callbacks)
      : device_path_(std::move(device_path)),
        callbacks_(std::move(callbacks)),
        report_(std::max<std::size_t>(input_report_length, kKeyOffset + 1), 0),
        input_report_length_(input_report_length),
        stop_event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    InitializeCriticalSection(&callbacks_lock_);
  }

  ~TReader() { DeleteCriticalSection(&callbacks_lock_); }
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  // Called by the owner: no callback runs once this returns (it waits only for one that is
  // running, which does no more than post), and the thread leaves its wait at once.
  void RequestStop() {
    EnterCriticalSection(&callbacks_lock_);
    callbacks_open_ = false;
    LeaveCriticalSection(&callbacks_lock_);
    stop_requested_ = true;
    if (stop_event_) SetEvent(stop_event_.Get());
  }

  // The thread's entry: `context` is a heap-held reference to the reader, released at the end.
  static DWORD WINAPI ThreadMain(LPVOID context);

 private:
  struct PendingRead {
    OVERLAPPED overlapped;  // first, so the completion routine finds the record from it
    bool completed;
    DWORD error;
  };
  enum class ReadOutcome { kCompleted, kNotStarted, kStopped };

  void Run();
  // Waits alertably for up to `milliseconds`; returns early on a stop request or a completion.
  void Pause(DWORD milliseconds) {
    if (stop_event_) {
      WaitForSingleObjectEx(stop_event_.Get(), milliseconds, TRUE);
    } else {
      SleepEx(milliseconds, TRUE);
    }
  }
  bool OpenReadHandle();
  void CloseReadHandle();
  // Starts one read and waits for it to complete or for a stop request.
  ReadOutcome ReadOneReport();
  void ProcessReport();
  void ProcessReportLocked();
  static void CALLBACK ReadCompleted(DWORD error, DWORD transferred, LPOVERLAPPED overlapped);

  const std::string device_path_;
  const THandsetCallbacks callbacks_;
  // Guards callbacks_open_ and every call of a callback. A critical section, since the
  // 32-bit runtime (for Windows XP) has no std::mutex.
  CRITICAL_SECTION callbacks_lock_;
  bool callbacks_open_ = true;
  std::vector<std::uint8_t> report_;
  const std::uint16_t input_report_length_;
  TKernelHandle read_handle_;
  PendingRead pending_{};
  TKeyDecoder decoder_;
  std::atomic<bool> stop_requested_{false};
  const TKernelHandle stop_event_;
};

TUSBPhoneDataReadThread::TUSBPhoneDataReadThread(std::string device_path, std::uint16_t input_report_length,
                                                 THandsetCallbacks callbacks)
    : reader_(std::make_shared<TReader>(std::move(device_path), input_report_length, std::move(callbacks))) {
  // The thread keeps its own reference and lets go of it as its last act. Without a thread
  // the handset's keys go unread, but the bridge and its other handsets run on.
  auto* reference = new std::shared_ptr<TReader>(reader_);
  // Nobody waits for the thread: it ends by itself.
  const TKernelHandle thread(CreateThread(nullptr, 0, &TReader::ThreadMain, reference, 0, nullptr));
  if (!thread) delete reference;
}

TUSBPhoneDataReadThread::~TUSBPhoneDataReadThread() { reader_->RequestStop(); }

DWORD WINAPI TUSBPhoneDataReadThread::TReader::ThreadMain(LPVOID context) {
  auto* reference = static_cast<std::shared_ptr<TReader>*>(context);
  (*reference)->Run();
  delete reference;
  return 0;
}

void TUSBPhoneDataReadThread::TReader::Run() {
  decoder_.ResetRun();
  while (!stop_requested_) {
    if (!OpenReadHandle()) {
      Pause(kReopenPauseMs);
      continue;
    }
    const ReadOutcome outcome = ReadOneReport();
    CloseReadHandle();
    if (outcome == ReadOutcome::kStopped) break;
    if (outcome == ReadOutcome::kNotStarted) continue;
    // A failed read leaves the previous report in the buffer, which decodes to no change.
    ProcessReport();
    // A device that fails every read at once (going away, say) must not make this spin.
    if (pending_.error != ERROR_SUCCESS) Pause(kReopenPauseMs);
  }
}

bool TUSBPhoneDataReadThread::TReader::OpenReadHandle() {
  if (!read_handle_) {
    read_handle_.Reset(CreateFileA(device_path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                                   nullptr));
  }
  return read_handle_.Valid();
}

void TUSBPhoneDataReadThread::TReader::CloseReadHandle() {
  read_handle_.Close();
}

void CALLBACK TUSBPhoneDataReadThread::TReader::ReadCompleted(DWORD error, DWORD, LPOVERLAPPED overlapped) {
  auto* read = reinterpret_cast<PendingRead*>(overlapped);
  read->error = error;
  read->completed = true;
}

TUSBPhoneDataReadThread::TReader::ReadOutcome TUSBPhoneDataReadThread::TReader::ReadOneReport() {
  pending_ = PendingRead{};
  if (!ReadFileEx(read_handle_.Get(), report_.data(), input_report_length_, &pending_.overlapped, &ReadCompleted)) {
    // No read is under way, so no completion will come and there is nothing to decode.
    Pause(kWaitSliceMs);
    return stop_requested_ ? ReadOutcome::kStopped : ReadOutcome::kNotStarted;
  }
  while (!pending_.completed && !stop_requested_) Pause(kWaitSliceMs);
  if (pending_.completed) return ReadOutcome::kCompleted;

  // Stopping: the read must end before its buffer and record go away. Only this thread
  // waits for that. A read that ignores the cancel is cut off by closing its handle; should
  // even that never end it, the thread sleeps on rather than free what the read may write.
  CancelIo(read_handle_.Get());
  for (int slice = 0; !pending_.completed; ++slice) {
    if (slice == kCancelSlices) CloseReadHandle();
    SleepEx(slice < kCancelSlices ? kWaitSliceMs : INFINITE, TRUE);
  }
  return ReadOutcome::kStopped;
}

void TUSBPhoneDataReadThread::TReader::ProcessReport() {
  EnterCriticalSection(&callbacks_lock_);
  if (callbacks_open_) ProcessReportLocked();
  LeaveCriticalSection(&callbacks_lock_);
}

// The callbacks only read shared values and post, and do not throw.
void TUSBPhoneDataReadThread::TReader::ProcessReportLocked() {
  const THandsetContext context = callbacks_.context ? callbacks_.context() : THandsetContext{};
  std::uint8_t last_key = 0;
  const auto events = decoder_.ProcessReport(report_[kKeyOffset], GetTickCount(), context, last_key);
  if (callbacks_.store_last_key) callbacks_.store_last_key(last_key);
  if (!callbacks_.on_event) return;
  for (const THandsetKeyEvent& event : events) callbacks_.on_event(event);
}
