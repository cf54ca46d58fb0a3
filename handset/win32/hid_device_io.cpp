#include "handset/win32/hid_device_io.h"

#include <utility>
#include <vector>

#include "handset/win32/bound_services.h"

TWin32HidDeviceIo::~TWin32HidDeviceIo() { Close(); }

bool TWin32HidDeviceIo::Open(const std::string& path, bool read_write) {
  const DWORD access = read_write ? GENERIC_READ | GENERIC_WRITE : 0;
  TKernelHandle handle(
      CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!handle) return false;
  handle_ = std::move(handle);
  handle_value_ = handle_.Get();
  return true;
}

void TWin32HidDeviceIo::Close() { handle_.Close(); }

THidDeviceQuery TWin32HidDeviceIo::Query() {
  THidDeviceQuery query;
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  bound::HidD_GetPreparsedData(handle_.Get(), &preparsed);
  preparsed_data_ = preparsed;

  HIDD_ATTRIBUTES attributes = {};
  attributes.Size = 10;  // the fields that count: Size and the three ids
  bound::HidD_GetAttributes(handle_.Get(), &attributes);
  query.VendorID = attributes.VendorID;
  query.ProductID = attributes.ProductID;

  // Without preparsed data the HID parser has nothing to read: the device stays without
  // capabilities and nodes, and so is not accepted.
  if (preparsed == nullptr) return query;
  HIDP_CAPS caps = {};
  bound::HidP_GetCaps(preparsed, &caps);
  query.InputReportByteLength = caps.InputReportByteLength;
  query.OutputReportByteLength = caps.OutputReportByteLength;

  ULONG count = caps.NumberLinkCollectionNodes;
  if (count > 0) {
    std::vector<HIDP_LINK_COLLECTION_NODE> nodes(count);
    bound::HidP_GetLinkCollectionNodes(nodes.data(), &count, preparsed);
    if (count > nodes.size()) count = static_cast<ULONG>(nodes.size());
    for (ULONG i = 0; i < count; ++i) query.LinkCollectionNodes.push_back({nodes[i].LinkUsage, nodes[i].LinkUsagePage});
  }
  return query;
}

void TWin32HidDeviceIo::FreePreparsedData() {
  if (preparsed_data_ != nullptr) bound::HidD_FreePreparsedData(static_cast<PHIDP_PREPARSED_DATA>(preparsed_data_));
  preparsed_data_ = nullptr;
}

bool TWin32HidDeviceIo::RegisterHandleNotification() {
  DEV_BROADCAST_HANDLE filter = {};
  filter.dbch_size = sizeof(filter);
  filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
  filter.dbch_handle = handle_.Get();
  notify_handle_ = bound::RegisterDeviceNotificationA(notification_window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  return notify_handle_ != nullptr;
}

void TWin32HidDeviceIo::UnregisterHandleNotification() {
  if (notify_handle_ != nullptr) bound::UnregisterDeviceNotification(notify_handle_);
  notify_handle_ = nullptr;
}

bool TWin32HidDeviceIo::Write(const std::uint8_t* data, std::size_t length) {
  if (!handle_) return false;
  DWORD written = 0;
  return WriteFile(handle_.Get(), data, static_cast<DWORD>(length), &written, nullptr) != FALSE;
}
