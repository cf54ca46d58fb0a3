#pragma once
// The class GUIDs the stand-ins report: the HID device interface class, and the device setup
// class of HID devices. Spelled out here so that no GUID library is needed.
#include <windows.h>

#include <algorithm>
#include <iterator>

namespace handsetsim::standin {

constexpr GUID kHidInterfaceGuid = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr GUID kHidSetupClassGuid = {0x745a17a0, 0x74d3, 0x11d0, {0xb6, 0xfe, 0x00, 0xa0, 0xc9, 0x0f, 0x57, 0xda}};

inline bool SameGuid(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         std::equal(std::begin(a.Data4), std::end(a.Data4), std::begin(b.Data4));
}

}  // namespace handsetsim::standin
