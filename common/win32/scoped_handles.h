#pragma once
// Owners that give a Windows handle back when they go, one for each kind the programs hold:
// a kernel handle (file, thread, event, process), a device information set, an icon, a GDI
// object, and an object selected into a device context. They move, never copy.
#include <windows.h>

#include <setupapi.h>

// One handle; `Traits` tells the value that is no handle and how the handle is given back.
template <class Traits>
class TScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  TScopedHandle() = default;
  explicit TScopedHandle(Handle handle) : handle_(handle) {}
  ~TScopedHandle() { Close(); }
  TScopedHandle(TScopedHandle&& other) noexcept : handle_(other.Release()) {}
  TScopedHandle& operator=(TScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TScopedHandle(const TScopedHandle&) = delete;
  TScopedHandle& operator=(const TScopedHandle&) = delete;

  Handle Get() const { return handle_; }
  bool Valid() const { return Traits::Valid(handle_); }
  explicit operator bool() const { return Valid(); }
  // Lets go of the handle without giving it back.
  Handle Release() {
    const Handle handle = handle_;
    handle_ = Traits::None();
    return handle;
  }
  void Reset(Handle handle = Traits::None()) {
    Close();
    handle_ = handle;
  }
  // Gives the handle back now; false when Windows reports that this failed.
  bool Close() {
    const bool closed = !Valid() || Traits::Close(handle_);
    handle_ = Traits::None();
    return closed;
  }

 private:
  Handle handle_ = Traits::None();
};

struct TKernelHandleTraits {
  using Handle = HANDLE;
  static HANDLE None() { return nullptr; }
  // CreateFile answers INVALID_HANDLE_VALUE where the others answer null: neither is closed.
  static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};
using TKernelHandle = TScopedHandle<TKernelHandleTraits>;

struct TIconTraits {
  using Handle = HICON;
  static HICON None() { return nullptr; }
  static bool Valid(HICON icon) { return icon != nullptr; }
  static bool Close(HICON icon) { return DestroyIcon(icon) != FALSE; }
};
using TIconHandle = TScopedHandle<TIconTraits>;

struct TGdiObjectTraits {
  using Handle = HGDIOBJ;
  static HGDIOBJ None() { return nullptr; }
  static bool Valid(HGDIOBJ object) { return object != nullptr; }
  static bool Close(HGDIOBJ object) { return DeleteObject(object) != FALSE; }
};
using TGdiObject = TScopedHandle<TGdiObjectTraits>;

// A device information set. The device-setup services may be bound at run time, so the
// owner is told which function destroys the set.
class TDeviceInfoList {
 public:
  using Destroy = BOOL(WINAPI*)(HDEVINFO set);

  TDeviceInfoList(HDEVINFO set, Destroy destroy) : set_(set), destroy_(destroy) {}
  ~TDeviceInfoList() {
    if (!Valid()) return;
    // A function bound at run time may throw when it cannot be bound; a destructor must not.
    try {
      destroy_(set_);
    } catch (...) {
    }
  }
  TDeviceInfoList(const TDeviceInfoList&) = delete;
  TDeviceInfoList& operator=(const TDeviceInfoList&) = delete;

  HDEVINFO Get() const { return set_; }
  bool Valid() const { return set_ != nullptr && set_ != INVALID_HANDLE_VALUE; }

 private:
  HDEVINFO set_;
  Destroy destroy_;
};

// Selects an object into a device context and puts the one it replaced back.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~TSelectObject() {
    if (old_ != nullptr) SelectObject(dc_, old_);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};
