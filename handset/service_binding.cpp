#include "handset/service_binding.h"

namespace {

void* FindModule(IModuleLoader& loader, const char* library) {
  void* module = loader.GetModuleHandle(library);
  return module != nullptr ? module : loader.LoadLibrary(library);
}

}  // namespace

bool ProbeLibrary(IModuleLoader& loader, const char* library) { return FindModule(loader, library) != nullptr; }

void BindFunction(void*& slot, IModuleLoader& loader, const char* library, const char* function) {
  if (slot != nullptr) return;
  void* module = FindModule(loader, library);
  if (module == nullptr) throw WBSDKLoadLibraryError(library);
  void* address = loader.GetProcAddress(module, function);
  if (address == nullptr) throw WBSDKGetProcAddressError(library, function);
  slot = address;
}

bool SupportsSessionServices(unsigned platform_id, unsigned major_version, unsigned minor_version) {
  constexpr unsigned kPlatformWin32Nt = 2;
  return platform_id == kPlatformWin32Nt &&
         (major_version > 5 || (major_version == 5 && minor_version >= 1));
}
