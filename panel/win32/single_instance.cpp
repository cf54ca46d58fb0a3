#include "panel/win32/single_instance.h"

#include "panel/instance_names.h"

namespace {
constexpr UINT kSendTimeoutMs = 3000;
// Gives the running copy time to act before this one is gone.
constexpr DWORD kPauseBeforeEndMs = 500;
}  // namespace

bool CheckSingleInstance(TStartSwitch start_switch) {
  // Never waited on and never closed: its existence is the sign that a panel runs.
  CreateSemaphoreA(nullptr, 1, 1, panel_instance::kSemaphoreName);
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;

  // The running copy may still be starting: then there is no window or property yet, and
  // nothing is sent.
  HWND application = FindWindowA(panel_instance::kApplicationClass, panel_instance::kApplicationTitle);
  HWND form = application ? static_cast<HWND>(GetPropA(application, panel_instance::kFormProperty)) : nullptr;
  if (form) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(form, SecondStartMessage(start_switch), panel_instance::kCommandWParam,
                        panel_instance::kCommandLParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  }
  Sleep(kPauseBeforeEndMs);
  return false;
}
