#pragma once
#include <windows.h>

// The running Windows' major version (5 for 2000 and XP, 6 for Vista and 7, ...).
inline int WindowsMajorVersion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // deprecated, but it is what tells the version classes apart
#endif
  if (!GetVersionExA(&info)) return 0;
  return static_cast<int>(info.dwMajorVersion);
}
