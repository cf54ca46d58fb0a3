#pragma once
// The names by which a second start of the panel finds the copy that runs, and the values
// that mark its commands to that copy as genuine.
#include <cstdint>

namespace panel_instance {

constexpr char kSemaphoreName[] = "Corvane USB Talkpod Control Panel Semaphore";
// The hidden application window carries this class and title; a second start looks for both.
constexpr char kApplicationClass[] = "TApplication";
constexpr char kApplicationTitle[] = "Corvane USB Talkpod Control Panel";
// Property on the application window that holds the main window's handle.
constexpr char kFormProperty[] = "Corvane USB Talkpod Control Panel Form";

// wParam and lParam of WM_PANELEXIT and WM_PANELRESTORE; other values are ignored.
constexpr std::uintptr_t kCommandWParam = 47215;
constexpr std::intptr_t kCommandLParam = 0x5C2E71B4;

}  // namespace panel_instance
