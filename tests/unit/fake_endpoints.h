#pragma once
// A test double of the audio endpoints: endpoints of both flows in Windows' order, each with
// a level and a mute that can fail, and a journal of every write and every let-go, so a test
// reads as what reached the endpoints. `Unplug` makes an endpoint gone: it leaves the
// enumeration and every call on it gives DeviceInvalidated, as Windows does.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/endpoint_port.h"
#include "audio/handset_volume_view.h"

struct FakeEndpoint {
  std::string id;
  std::string name;
  TEndpointFlow flow = TEndpointFlow::Render;
  float level = 0.5f;
  bool mute = false;
  bool level_fails = false;  // E_NOTIMPL, as Wine answers
  bool mute_fails = false;
  bool gone = false;
};

class FakeEndpointPort final : public IEndpointPort {
 public:
  FakeEndpoint& Add(TEndpointFlow flow, const std::string& name) {
    FakeEndpoint endpoint;
    endpoint.flow = flow;
    endpoint.name = name;
    endpoint.id = (flow == TEndpointFlow::Render ? "{0.0.0}." : "{0.0.1}.") + std::to_string(endpoints.size());
    endpoints.push_back(endpoint);
    return endpoints.back();
  }
  FakeEndpoint& Named(const std::string& name) {
    return *std::find_if(endpoints.begin(), endpoints.end(), [&](const FakeEndpoint& e) { return e.name == name; });
  }
  void Unplug(const std::string& name) { Named(name).gone = true; }

  std::vector<TEndpointInfo> ActiveEndpoints(TEndpointFlow flow) override {
    std::vector<TEndpointInfo> active;
    for (const FakeEndpoint& e : endpoints) {
      if (e.flow == flow && !e.gone) active.push_back({e.id, e.name});
    }
    return active;
  }
  TEndpointResult Open(const std::string& id) override {
    FakeEndpoint* e = Find(id);
    if (e == nullptr || e->gone) return TEndpointResult::DeviceInvalidated;
    open.insert(id);
    return TEndpointResult::Ok;
  }
  void Close(const std::string& id) override {
    open.erase(id);
    journal.push_back("close " + NameOf(id));
  }
  TEndpointResult GetLevel(const std::string& id, float& level) override {
    FakeEndpoint* e = Usable(id);
    if (e == nullptr) return TEndpointResult::DeviceInvalidated;
    if (e->level_fails) return TEndpointResult::Failed;
    level = e->level;
    return TEndpointResult::Ok;
  }
  TEndpointResult SetLevel(const std::string& id, float level) override {
    FakeEndpoint* e = Usable(id);
    char text[64];
    std::snprintf(text, sizeof text, "level %.6f", level);
    journal.push_back(std::string(text) + " " + NameOf(id));
    if (e == nullptr) return TEndpointResult::DeviceInvalidated;
    if (e->level_fails) return TEndpointResult::Failed;
    e->level = level;
    return TEndpointResult::Ok;
  }
  TEndpointResult GetMute(const std::string& id, bool& mute) override {
    FakeEndpoint* e = Usable(id);
    if (e == nullptr) return TEndpointResult::DeviceInvalidated;
    if (e->mute_fails) return TEndpointResult::Failed;
    mute = e->mute;
    return TEndpointResult::Ok;
  }
  TEndpointResult SetMute(const std::string& id, bool mute) override {
    FakeEndpoint* e = Usable(id);
    journal.push_back(std::string(mute ? "mute on " : "mute off ") + NameOf(id));
    if (e == nullptr) return TEndpointResult::DeviceInvalidated;
    if (e->mute_fails) return TEndpointResult::Failed;
    e->mute = mute;
    return TEndpointResult::Ok;
  }

  std::vector<FakeEndpoint> endpoints;
  std::set<std::string> open;
  std::vector<std::string> journal;
  // Calls on an endpoint that was not open (or was let go): must never happen.
  std::vector<std::string> calls_when_closed;

 private:
  FakeEndpoint* Find(const std::string& id) {
    for (FakeEndpoint& e : endpoints) {
      if (e.id == id) return &e;
    }
    return nullptr;
  }
  FakeEndpoint* Usable(const std::string& id) {
    if (open.count(id) == 0) calls_when_closed.push_back(NameOf(id));
    FakeEndpoint* e = Find(id);
    return e == nullptr || e->gone ? nullptr : e;
  }
  std::string NameOf(const std::string& id) {
    FakeEndpoint* e = Find(id);
    return e == nullptr ? "(unknown " + id + ")" : e->name;
  }
};

// The volume group as the backend sees it: what each side shows, and the requests to look again.
class FakeVolumeView final : public IHandsetVolumeView {
 public:
  void ShowSide(THandsetSide side, const TSideView& view) override {
    shown[side] = view;
    ++show_count;
  }
  void HandsetDevicesChanged() override { ++looks_again; }

  std::map<THandsetSide, TSideView> shown;
  int show_count = 0;
  int looks_again = 0;
};
