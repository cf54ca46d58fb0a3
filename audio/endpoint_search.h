#pragma once
// Which endpoint is the handset's: the first, in Windows' order, whose friendly name holds
// the handset pattern (case-sensitive). Where the pattern is the bare "USB" (Windows 7 and
// later, where a webcam or a headset matches too), an endpoint whose name holds "USB Phone"
// wins over an earlier "USB" one.
#include <optional>
#include <string>
#include <vector>

#include "audio/endpoint_port.h"

std::optional<TEndpointInfo> FindHandsetEndpoint(const std::vector<TEndpointInfo>& endpoints,
                                                 const std::string& pattern);
