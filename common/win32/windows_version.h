#pragma once
#include <windows.h>

struct TWindowsVersion {
  unsigned platform_id = 0;  // 1 the Windows 9x family, 2 the NT family
  unsigned major = 0;
  unsigned minor = 0;
};

// The running Windows' version, as the system reports it to this program.
inline TWindowsVersion RunningWindowsVersion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // deprecated, but it is what tells the version classes apart
#endif
  if (!GetVersionExA(&info)) return {};
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}
