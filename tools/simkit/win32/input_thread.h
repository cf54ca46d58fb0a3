#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace simkit {

// Scenario lines on their way from the reading thread to the window thread.
class TInputQueue {
 public:
  void Push(std::vector<std::string> lines);
  void Close();
  bool Closed();
  // Moves out the lines so far; true once the input has ended and nothing is left.
  bool Take(std::vector<std::string>& lines);
  // Hands the lines so far to `run`, one by one, until it returns false (the simulator
  // quit). True when every line ran and the input has ended.
  bool RunLines(const std::function<bool(std::string&)>& run);

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
  bool closed_ = false;
};

// Reads the scenario on its own thread, so that a slow or interactive input never stops the
// window from answering, and posts `message` to the window for each chunk it queues.
class TInputThread {
 public:
  // Takes over input when ownsInput, and closes it once read to the end.
  TInputThread(HANDLE input, bool owns_input, HWND window, UINT message, std::shared_ptr<TInputQueue> queue);
  ~TInputThread();

  // Posts from now on to `window`, which replaces the one given at the start.
  void Retarget(HWND window);

  TInputThread(const TInputThread&) = delete;
  TInputThread& operator=(const TInputThread&) = delete;

 private:
  std::shared_ptr<TInputQueue> queue_;
  std::shared_ptr<std::atomic<HWND>> window_;
  std::thread thread_;
};

}  // namespace simkit
