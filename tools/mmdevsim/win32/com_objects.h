#pragma once
// The stand-in's COM objects: the class factory of CLSID_MMDeviceEnumerator, the
// enumerator, its collections and devices, their property stores and endpoint volumes.
#include <windows.h>
#include <unknwn.h>

namespace mmdevsim {

// A new class factory for the enumerator, with one reference.
IClassFactory* NewEnumeratorFactory();

}  // namespace mmdevsim
