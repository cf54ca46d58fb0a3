#pragma once
// Test doubles for the bridge logic: every effect on the outside world becomes one line in
// a shared journal, so a test reads as the sequence of what the bridge did.
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/bridge_ports.h"
#include "bridge/talvek_skype_form.h"
#include "handset/device_manager.h"

struct Journal {
  std::vector<std::string> lines;
  void Add(std::string line) { lines.push_back(std::move(line)); }
  // The lines that start with `prefix`, in order (all when empty).
  std::vector<std::string> With(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& line : lines) {
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    }
    return out;
  }
  void Clear() { lines.clear(); }
};

// The registry: a map that survives opened and closed keys.
struct FakeRegistry {
  bool can_open = true;
  std::map<std::string, std::uint32_t> values;
};

class FakeBridgePorts final : public IBridgePorts {
 public:
  static constexpr WindowHandle kBridge = 0x100;
  static constexpr WindowHandle kSkype = 0x200;
  static constexpr WindowHandle kPanel = 0x300;

  explicit FakeBridgePorts(Journal& journal) : journal_(journal) {}

  std::vector<WindowHandle> live_windows{kSkype, kPanel};
  // Skype's result for each command; 1 unless a test says otherwise.
  std::intptr_t skype_result = 1;
  FakeRegistry registry;
  // Windows of the bridge's own process besides the bridge window.
  std::vector<WindowHandle> own_windows;
  // Runs inside each send to the panel, as the receiving window procedure would.
  std::function<void(const std::string& text)> on_panel_send;

  bool IsWindow(WindowHandle window) override {
    if (window == 0) return false;
    for (WindowHandle live : live_windows) {
      if (live == window) return true;
    }
    return false;
  }
  bool BelongsToThisProcess(WindowHandle window) override {
    for (WindowHandle own : own_windows) {
      if (own == window) return true;
    }
    return window == kBridge;
  }
  std::intptr_t SendToSkypeWindow(WindowHandle, const std::string& text) override {
    journal_.Add("SKYPE " + text);
    return skype_result;
  }
  void SendToPanelWindow(WindowHandle, const std::string& text) override {
    journal_.Add("PANEL " + text);
    if (on_panel_send) on_panel_send(text);
  }
  void PostPanelStatus(WindowHandle, std::uint32_t link_status, std::uint32_t report) override {
    char line[64];
    std::snprintf(line, sizeof line, "STATUS %04x %08x", link_status, report);
    journal_.Add(line);
  }
  void BroadcastSkypeDiscover() override { journal_.Add("BROADCAST SkypeControlAPIDiscover"); }
  void BroadcastPanelDiscover() override { journal_.Add("BROADCAST TALVEKWiredUIDiscover"); }
  void ReplyToSender() override { journal_.Add("REPLY"); }
  void PostSkypeQuery(int query, std::int32_t argument) override {
    journal_.Add("QUERY " + std::to_string(query) + " " + std::to_string(argument));
    queries.emplace_back(query, argument);
  }
  void PostHandsetKey(std::uint8_t key) override { journal_.Add("KEY " + std::to_string(key)); }
  void PostDialBufferReset() override { journal_.Add("DIAL RESET"); }
  void NoteRefusedCommand() override { journal_.Add("ERROR"); }
  std::unique_ptr<IRegistryKey> OpenSettingsKey() override {
    if (!registry.can_open) return nullptr;
    return std::make_unique<Key>(registry, journal_);
  }

  // Posted queries not yet delivered, as the message loop would hold them.
  std::vector<std::pair<int, std::int32_t>> queries;

 private:
  class Key final : public IRegistryKey {
   public:
    Key(FakeRegistry& registry, Journal& journal) : registry_(registry), journal_(journal) {}
    // The bridge keeps no strings: any that it wrote would show in the journal.
    std::optional<std::string> ReadString(const char*) override { return std::nullopt; }
    void WriteString(const char* name, const std::string& value) override {
      journal_.Add(std::string("REGISTRY ") + name + " \"" + value + "\"");
    }
    std::optional<std::uint32_t> ReadDword(const char* name) override {
      auto it = registry_.values.find(name);
      if (it == registry_.values.end()) return std::nullopt;
      return it->second;
    }
    void WriteDword(const char* name, std::uint32_t value) override {
      registry_.values[name] = value;
      journal_.Add(std::string("REGISTRY ") + name + " " + std::to_string(value));
    }

   private:
    FakeRegistry& registry_;
    Journal& journal_;
  };

  Journal& journal_;
};

class FakeDeviceManager final : public IHandsetDeviceManager {
 public:
  FakeDeviceManager(Journal& journal, int count) : journal_(journal), count_(count) {}

  int Count() const override { return count_; }
  // Like the real layer: a report goes nowhere without a handset.
  void SendMode(THandsetMode mode, std::uint8_t ring_tone) override {
    if (count_ == 0) return;
    char line[32];
    std::snprintf(line, sizeof line, "MODE %u %02x", ModeByte(mode), ring_tone);
    journal_.Add(line);
  }
  void SetOnDeviceChange(ChangeCallback callback) override { on_change = std::move(callback); }
  void StartReadThreads(const THandsetCallbacks& callbacks) override {
    journal_.Add("READ THREADS");
    read_thread = callbacks;
  }

  // Plugs or unplugs handsets and tells the bridge, as the device layer would.
  void SetCount(int count) {
    count_ = count;
    if (on_change) on_change();
  }

  ChangeCallback on_change;
  // What a read thread would have been given.
  THandsetCallbacks read_thread;

 private:
  Journal& journal_;
  int count_;
};

// A started bridge with fakes around it. `handsets` open handsets; Skype and the panel
// are windows that exist but are not yet attached.
struct BridgeFixture {
  explicit BridgeFixture(int handsets = 1, int windows_major = 6)
      : ports(journal), form(ports, windows_major) {
    auto manager = std::make_unique<FakeDeviceManager>(journal, handsets);
    devices = manager.get();
    form.FormCreate(std::move(manager));
  }

  // Skype attaches with status 0 and the start-up queries are forgotten.
  void AttachSkype() {
    form.OnSkypeAttach(FakeBridgePorts::kSkype, 0);
    journal.Clear();
  }
  void AttachPanel() {
    form.OnPanelAttach(FakeBridgePorts::kPanel, 0);
    journal.Clear();
  }
  // Delivers a text as Skype's WM_COPYDATA would, then the queries it posted, in order.
  void Notify(const std::string& text) {
    form.WMCopyData(text.c_str(), text.size() + 1);
    DeliverQueries();
  }
  void DeliverQueries() {
    while (!ports.queries.empty()) {
      auto query = ports.queries.front();
      ports.queries.erase(ports.queries.begin());
      form.WMSkypeQuery(query.first, query.second);
    }
  }
  void Key(std::uint8_t key) { form.WMHandsetKey(key); }
  const TBridgeState& state() const { return form.State(); }

  Journal journal;
  FakeBridgePorts ports;
  TTalvekSkypeForm form;
  FakeDeviceManager* devices = nullptr;
};
