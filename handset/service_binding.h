#pragma once
// Binding of Windows services by name at their first call, so the program has no load-time
// dependency on the HID, device-setup and session libraries: a missing library or function
// fails only the calls that need it.
#include <stdexcept>
#include <string>

class WBSDKError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class WBSDKLoadLibraryError : public WBSDKError {
 public:
  explicit WBSDKLoadLibraryError(const std::string& library) : WBSDKError("Library not found: " + library) {}
};

class WBSDKGetProcAddressError : public WBSDKError {
 public:
  WBSDKGetProcAddressError(const std::string& library, const std::string& function)
      : WBSDKError("Function not found: " + library + "." + function) {}
};

// How modules and functions are found; the Windows loader in the programs, a fake in tests.
class IModuleLoader {
 public:
  virtual ~IModuleLoader() = default;
  virtual void* GetModuleHandle(const char* library) = 0;
  virtual void* LoadLibrary(const char* library) = 0;
  virtual void* GetProcAddress(void* module, const char* function) = 0;
};

// True when the library is loaded or can be loaded. Libraries are never unloaded.
bool ProbeLibrary(IModuleLoader& loader, const char* library);

// Fills an empty slot with the function's address; a filled slot is left alone. Throws
// WBSDKLoadLibraryError or WBSDKGetProcAddressError and leaves the slot empty on failure.
void BindFunction(void*& slot, IModuleLoader& loader, const char* library, const char* function);

// Whether the desktop-session services are used at all: Windows NT 5.1 (XP) or later.
bool SupportsSessionServices(unsigned platform_id, unsigned major_version, unsigned minor_version);
