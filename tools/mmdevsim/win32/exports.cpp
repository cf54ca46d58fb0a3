// The stand-in's exports: the two a COM in-process server has, and one through which a test
// program in the same process gives the simulation commands.
#include <windows.h>
#include <objbase.h>

#include "tools/mmdevsim/win32/com_objects.h"
#include "tools/mmdevsim/win32/simulation.h"

namespace {
const CLSID kMMDeviceEnumerator = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
}  // namespace

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, kMMDeviceEnumerator)) return CLASS_E_CLASSNOTAVAILABLE;
  IClassFactory* factory = mmdevsim::NewEnumeratorFactory();
  const HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}

// Its notice thread runs to the end of the process: never unloaded before.
HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

// A command as in README.md; 1 when it was carried out.
int WINAPI MmdevsimCommand(const char* line) {
  return line != nullptr && mmdevsim::TSimulation::Instance().Command(line) ? 1 : 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  // The last word on what the program left behind; no lock, the process is ending.
  if (reason == DLL_PROCESS_DETACH) {
    mmdevsim::TSimulation& sim = mmdevsim::TSimulation::Instance();
    sim.Log(sim.DetachLine());
  }
  return TRUE;
}

}  // extern "C"
