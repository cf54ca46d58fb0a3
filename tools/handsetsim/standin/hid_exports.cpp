// The stand-in hid.dll: the HidD_ and HidP_ calls the bridge makes, answered for the
// simulated handsets. Signatures and calling convention are those of <hidsdi.h>.
#include <windows.h>

extern "C" {
#include <hidsdi.h>
}

#include "tools/handsetsim/standin/device_change_listener.h"
#include "tools/handsetsim/standin/device_identity.h"
#include "tools/handsetsim/standin/hid_guids.h"
#include "tools/handsetsim/standin/open_devices.h"

using handsetsim::TDeviceRecord;
namespace standin = handsetsim::standin;

namespace {

constexpr UCHAR kApplicationCollection = 0x01;

}  // namespace

extern "C" {

void NTAPI HidD_GetHidGuid(LPGUID guid) {
  standin::EnsureListening();
  if (guid != nullptr) *guid = standin::kHidInterfaceGuid;
}

BOOLEAN NTAPI HidD_GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsed) {
  standin::EnsureListening();
  if (preparsed == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto record = standin::IdentifyHandle(device);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *preparsed = static_cast<PHIDP_PREPARSED_DATA>(standin::AddPreparsed(device, *record));
  return TRUE;
}

BOOLEAN NTAPI HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsed) {
  if (!standin::FreePreparsed(preparsed)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

BOOLEAN NTAPI HidD_GetAttributes(HANDLE device, PHIDD_ATTRIBUTES attributes) {
  standin::EnsureListening();
  if (attributes == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto record = standin::IdentifyHandle(device);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  attributes->Size = sizeof(HIDD_ATTRIBUTES);
  attributes->VendorID = record->config.vendor_id;
  attributes->ProductID = record->config.product_id;
  attributes->VersionNumber = record->config.version;
  return TRUE;
}

NTSTATUS NTAPI HidP_GetCaps(PHIDP_PREPARSED_DATA preparsed, PHIDP_CAPS caps) {
  const auto record = standin::PreparsedRecord(preparsed);
  if (!record || caps == nullptr) return HIDP_STATUS_INVALID_PREPARSED_DATA;
  *caps = HIDP_CAPS{};
  caps->Usage = record->config.usage;
  caps->UsagePage = record->config.usage_page;
  caps->InputReportByteLength = record->config.input_length;
  caps->OutputReportByteLength = record->config.output_length;
  caps->NumberLinkCollectionNodes = 1;
  return HIDP_STATUS_SUCCESS;
}

NTSTATUS NTAPI HidP_GetLinkCollectionNodes(PHIDP_LINK_COLLECTION_NODE nodes, PULONG count,
                                           PHIDP_PREPARSED_DATA preparsed) {
  const auto record = standin::PreparsedRecord(preparsed);
  if (!record || count == nullptr) return HIDP_STATUS_INVALID_PREPARSED_DATA;
  // One top-level application collection: the device's own usage.
  const ULONG needed = 1;
  const ULONG room = *count;
  *count = needed;
  if (nodes == nullptr || room < needed) return HIDP_STATUS_BUFFER_TOO_SMALL;
  nodes[0] = HIDP_LINK_COLLECTION_NODE{};
  nodes[0].LinkUsage = record->config.usage;
  nodes[0].LinkUsagePage = record->config.usage_page;
  nodes[0].CollectionType = kApplicationCollection;
  return HIDP_STATUS_SUCCESS;
}

}  // extern "C"
