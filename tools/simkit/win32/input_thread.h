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
class InputQueue {
public:
    void push(std::vector<std::string> lines);
    void close();
    bool closed();
    // Moves out the lines so far; true once the input has ended and nothing is left.
    bool take(std::vector<std::string>& lines);
    // Hands the lines so far to `run`, one by one, until it returns false (the simulator
    // quit). True when every line ran and the input has ended.
    bool runLines(const std::function<bool(std::string&)>& run);

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
    bool closed_ = false;
};

// Reads the scenario on its own thread, so that a slow or interactive input never stops the
// window from answering, and posts `message` to the window for each chunk it queues.
class InputThread {
public:
    // Takes over input when ownsInput, and closes it once read to the end.
    InputThread(HANDLE input, bool ownsInput, HWND window, UINT message, std::shared_ptr<InputQueue> queue);
    ~InputThread();

    // Posts from now on to `window`, which replaces the one given at the start.
    void retarget(HWND window);

    InputThread(const InputThread&) = delete;
    InputThread& operator=(const InputThread&) = delete;

private:
    std::shared_ptr<InputQueue> queue_;
    std::shared_ptr<std::atomic<HWND>> window_;
    std::thread thread_;
};

}  // namespace simkit
