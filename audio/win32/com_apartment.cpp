#include "audio/win32/com_apartment.h"

#include <objbase.h>

TComApartment::TComApartment() {
  // S_FALSE (already started on this thread) also needs its CoUninitialize;
  // RPC_E_CHANGED_MODE does not.
  ready_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

TComApartment::~TComApartment() {
  if (ready_) CoUninitialize();
}
