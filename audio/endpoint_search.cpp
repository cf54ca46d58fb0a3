#include "audio/endpoint_search.h"

namespace {

constexpr char kBareUsb[] = "USB";
constexpr char kHandsetName[] = "USB Phone";

std::optional<TEndpointInfo> FirstContaining(const std::vector<TEndpointInfo>& endpoints, const std::string& text) {
  for (const TEndpointInfo& endpoint : endpoints) {
    if (!endpoint.name.empty() && endpoint.name.find(text) != std::string::npos) return endpoint;
  }
  return std::nullopt;
}

}  // namespace

std::optional<TEndpointInfo> FindHandsetEndpoint(const std::vector<TEndpointInfo>& endpoints,
                                                 const std::string& pattern) {
  if (pattern.empty()) return std::nullopt;
  if (pattern == kBareUsb) {
    if (std::optional<TEndpointInfo> phone = FirstContaining(endpoints, kHandsetName)) return phone;
  }
  return FirstContaining(endpoints, pattern);
}
