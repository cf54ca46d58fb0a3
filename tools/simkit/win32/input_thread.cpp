#include "tools/simkit/win32/input_thread.h"

#include <utility>

#include "tools/simkit/line_splitter.h"

namespace simkit {
namespace {

void ReadInput(HANDLE input, bool owns_input, std::shared_ptr<std::atomic<HWND>> window, UINT message,
               std::shared_ptr<TInputQueue> queue) {
  TLineSplitter splitter;
  char buffer[4096];
  DWORD got = 0;
  // A pipe reports its end as an error (ERROR_BROKEN_PIPE), a file as a read of 0 bytes.
  while (input != nullptr && input != INVALID_HANDLE_VALUE && ReadFile(input, buffer, sizeof buffer, &got, nullptr) &&
         got > 0) {
    std::vector<std::string> lines = splitter.Feed(buffer, got);
    if (lines.empty()) continue;
    queue->Push(std::move(lines));
    if (!PostMessageA(window->load(), message, 0, 0)) break;  // the window is gone
  }
  queue->Push(splitter.Finish());
  queue->Close();
  if (owns_input) CloseHandle(input);
  PostMessageA(window->load(), message, 0, 0);
}

}  // namespace

void TInputQueue::Push(std::vector<std::string> lines) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::string& line : lines) lines_.push_back(std::move(line));
}

void TInputQueue::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  closed_ = true;
}

bool TInputQueue::Closed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

bool TInputQueue::Take(std::vector<std::string>& lines) {
  std::lock_guard<std::mutex> lock(mutex_);
  lines = std::move(lines_);
  lines_.clear();
  return closed_;
}

bool TInputQueue::RunLines(const std::function<bool(std::string&)>& run) {
  std::vector<std::string> lines;
  const bool ended = Take(lines);
  for (std::string& line : lines) {
    if (!run(line)) return false;
  }
  return ended;
}

TInputThread::TInputThread(HANDLE input, bool owns_input, HWND window, UINT message, std::shared_ptr<TInputQueue> queue)
    : queue_(queue),
      window_(std::make_shared<std::atomic<HWND>>(window)),
      thread_(ReadInput, input, owns_input, window_, message, queue) {}

void TInputThread::Retarget(HWND window) { window_->store(window); }

TInputThread::~TInputThread() {
  if (queue_->Closed()) {
    thread_.join();  // done reading; it only has to return
    return;
  }
  // Still blocked reading standard input, which may stay open for ever (a test's pipe, a
  // console) and cannot be woken portably. It owns no handle and shares only the queue, so
  // it can safely be left for the process exit to end.
  thread_.detach();
}

}  // namespace simkit
