// The handset manager against a fake machine: which interfaces it keeps, and what device,
// session and power notices do to the list.
#include <gtest/gtest.h>

#include "fake_hid_platform.h"

using Lines = std::vector<std::string>;

namespace {

constexpr std::uintptr_t kArrival = 0x8000;
constexpr std::uintptr_t kQueryRemove = 0x8001;
constexpr std::uintptr_t kQueryRemoveFailed = 0x8002;
constexpr std::uintptr_t kRemovePending = 0x8003;
constexpr std::uintptr_t kRemoveComplete = 0x8004;
constexpr std::uint32_t kInterface = 5;
constexpr std::uint32_t kHandle = 6;

// What releasing a listed, watched device with a read thread does.
Lines Released(const std::string& path) {
  return {path + ": thread stop", path + ": free", path + ": close", path + ": unregister"};
}
// What opening and accepting a device at `path` does.
Lines Accepted(const std::string& path) { return {path + ": open rw", path + ": query", path + ": register"}; }

Lines Concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

struct Machine {
  Machine() {
    platform.Plug("a", ConsumerControl(11, 0x0A5E, 0x9000));
    platform.Plug("b", ConsumerControl(12, 0x0B7C, 0x90FF));
  }

  // The manager with the change callback counted; `threads` also gives each device a thread.
  void Start(bool threads = true) {
    manager = std::make_unique<TUSBPhoneDevice>(platform);
    manager->SetOnDeviceChange([this] { ++changes; });
    if (threads) manager->StartReadThreads({});
    journal.Take();
  }
  Lines Paths() {
    Lines paths;
    for (int i = 0; i < manager->Count(); ++i) paths.push_back(manager->Items(i).DevicePath);
    return paths;
  }
  void Arrive(const std::string& path) { manager->WMDeviceChange(kArrival, kInterface, 0, path); }

  HidJournal journal;
  FakeHidPlatform platform{journal};
  std::unique_ptr<TUSBPhoneDevice> manager;
  int changes = 0;
};

// Records which devices the product test was asked about; accepts them all.
class RecordingControl final : public THidControl {
 public:
  explicit RecordingControl(IHidPlatform& platform) : THidControl(platform) { Start(); }
  bool IsSupported(const THidDevice& device) const override {
    asked.push_back(device.DevicePath);
    return true;
  }
  mutable Lines asked;
};

}  // namespace

TEST(HandsetManagerStart, WithoutDeviceLibrariesNothingIsTouched) {
  Machine machine;
  machine.platform.libraries_present = false;
  machine.manager = std::make_unique<TUSBPhoneDevice>(machine.platform);
  EXPECT_EQ(machine.manager->Count(), 0);
  machine.manager->StartReadThreads({});
  machine.manager->SendMode(THandsetMode::Talking, 0);
  machine.manager.reset();
  EXPECT_EQ(machine.journal.lines, Lines{"probe"});
}

TEST(HandsetManagerStart, EnumeratesAndWatchesOnlyAcceptedDevices) {
  Machine machine;
  machine.platform.Plug("mouse", ConsumerControl(13, 0x046D, 0x9000));
  machine.platform.Plug("c", ConsumerControl(14, 0x0A5E, 0x90FF));
  machine.manager = std::make_unique<TUSBPhoneDevice>(machine.platform);
  EXPECT_EQ(machine.journal.lines,
            Concat({{"probe", "start notifications", "enumerate"},
                    Accepted("a"),
                    Accepted("b"),
                    {"mouse: open rw", "mouse: query", "mouse: free", "mouse: close"},
                    Accepted("c")}));
  EXPECT_EQ(machine.Paths(), (Lines{"a", "b", "c"}));
  EXPECT_EQ(machine.manager->Items(2).VendorID, 0x0A5Eu);
  EXPECT_EQ(machine.manager->Items(2).ProductID, 0x90FFu);
}

TEST(HandsetAcceptance, VendorAndProductIds) {
  struct Case {
    std::uint16_t vendor, product;
    bool accepted;
  };
  const Case cases[] = {{0x0A5E, 0x9000, true},  {0x0A5E, 0x90FF, true},  {0x0B7C, 0x9000, true},
                        {0x0B7C, 0x9042, true},  {0x0A5E, 0x9100, false}, {0x0A5E, 0x8FFF, false},
                        {0x0A5E, 0x0090, false}, {0x0A5F, 0x9000, false}, {0x0000, 0x9000, false}};
  for (const Case& c : cases) {
    Machine machine;
    machine.platform.present.clear();
    machine.Start();
    machine.platform.interfaces["x"] = ConsumerControl(20, c.vendor, c.product);
    machine.Arrive("x");
    const std::string what = std::to_string(c.vendor) + "/" + std::to_string(c.product);
    EXPECT_EQ(machine.manager->Count(), c.accepted ? 1 : 0) << what;
    EXPECT_EQ(machine.changes, c.accepted ? 1 : 0) << what;
    const Lines released = {"x: open rw", "x: query", "x: free", "x: close"};
    EXPECT_EQ(machine.journal.Take(), c.accepted ? Accepted("x") : released) << what;
  }
}

TEST(HandsetAcceptance, TopLevelUsageIsTestedBeforeTheProduct) {
  HidJournal journal;
  FakeHidPlatform platform(journal);
  const std::pair<const char*, std::vector<THidLinkCollectionNode>> nodes[] = {
      {"keyboard", {{0x06, 0x01}}},        {"wrong page", {{0x01, 0x01}}},
      {"wrong usage", {{0x02, 0x0C}}},     {"none", {}},
      {"second node", {{0x02, 0x0C}, {0x01, 0x0C}}}, {"first node", {{0x01, 0x0C}, {0x06, 0x01}}}};
  for (const auto& entry : nodes) {
    FakeHidInterface device = ConsumerControl(30, 0x0A5E, 0x9000);
    device.query.LinkCollectionNodes = entry.second;
    platform.Plug(entry.first, device);
  }
  RecordingControl control(platform);
  EXPECT_EQ(control.asked, Lines{"first node"});
  ASSERT_EQ(control.DeviceCount(), 1);
  EXPECT_EQ(control.Items(0).DevicePath, "first node");
}

TEST(HandsetAcceptance, OpenFallsBackToQueryAccessAndUnopenableDevicesAreReleased) {
  Machine machine;
  machine.platform.present.clear();
  machine.Start();
  FakeHidInterface query_only = ConsumerControl(21, 0x0A5E, 0x9000);
  query_only.opens_read_write = false;
  machine.platform.interfaces["q"] = query_only;
  machine.Arrive("q");
  EXPECT_EQ(machine.journal.Take(), (Lines{"q: open rw", "q: open query", "q: query", "q: register"}));
  ASSERT_EQ(machine.manager->Count(), 1);
  EXPECT_TRUE(machine.manager->Items(0).IsOpen);

  FakeHidInterface locked = query_only;
  locked.handle = 22;
  locked.opens_query_only = false;
  machine.platform.interfaces["l"] = locked;
  machine.Arrive("l");
  EXPECT_EQ(machine.journal.Take(), (Lines{"l: open rw", "l: open query", "l: free"}));
  EXPECT_EQ(machine.manager->Count(), 1);
  EXPECT_EQ(machine.changes, 1);
}

TEST(HandsetDeviceChange, ArrivalsAndNoticesThatAreNotForTheManager) {
  Machine machine;
  machine.Start();
  machine.platform.interfaces["c"] = ConsumerControl(13, 0x0A5E, 0x9001);
  machine.platform.interfaces["mouse"] = ConsumerControl(14, 0x046D, 0xC077);
  machine.Arrive("c");
  EXPECT_EQ(machine.changes, 1);
  machine.Arrive("mouse");
  EXPECT_EQ(machine.changes, 1);
  EXPECT_EQ(machine.Paths(), (Lines{"a", "b", "c"}));
  machine.journal.Take();

  // Wrong notification type for the event, or an event the manager ignores.
  machine.manager->WMDeviceChange(kArrival, kHandle, 11, "");
  machine.manager->WMDeviceChange(kQueryRemove, kInterface, 11, "");
  machine.manager->WMDeviceChange(kRemoveComplete, kInterface, 11, "");
  machine.manager->WMDeviceChange(kQueryRemoveFailed, kHandle, 11, "");
  machine.manager->WMHidDeviceRemoved(99);
  EXPECT_EQ(machine.journal.lines, Lines{});
  EXPECT_EQ(machine.manager->Count(), 3);
  EXPECT_EQ(machine.changes, 1);
}

TEST(HandsetDeviceChange, QueryRemoveClosesButKeepsTheDeviceUntilItIsRemoved) {
  Machine machine;
  machine.Start();
  machine.manager->WMDeviceChange(kQueryRemove, kHandle, 11, "");
  EXPECT_EQ(machine.journal.Take(), (Lines{"a: close", "a: thread stop"}));
  EXPECT_EQ(machine.Paths(), (Lines{"a", "b"}));
  EXPECT_FALSE(machine.manager->Items(0).IsOpen);
  EXPECT_TRUE(machine.manager->Items(1).IsOpen);
  EXPECT_EQ(machine.changes, 0);

  machine.manager->WMDeviceChange(kRemoveComplete, kHandle, 11, "");
  EXPECT_EQ(machine.journal.Take(), Lines{"post removed 11"});
  machine.manager->WMHidDeviceRemoved(11);
  // Already closed and without a thread: only what is left is released.
  EXPECT_EQ(machine.journal.Take(), (Lines{"a: free", "a: unregister"}));
  EXPECT_EQ(machine.Paths(), Lines{"b"});
  EXPECT_EQ(machine.changes, 1);
}

TEST(HandsetDeviceChange, RemovalReportedTwiceReleasesOnce) {
  Machine machine;
  machine.Start();
  machine.manager->WMDeviceChange(kRemovePending, kHandle, 12, "");
  machine.manager->WMDeviceChange(kRemoveComplete, kHandle, 12, "");
  // Nothing is released inside Windows' own call.
  EXPECT_EQ(machine.journal.Take(), (Lines{"post removed 12", "post removed 12"}));
  EXPECT_EQ(machine.manager->Count(), 2);
  machine.manager->WMHidDeviceRemoved(12);
  machine.manager->WMHidDeviceRemoved(12);
  EXPECT_EQ(machine.journal.Take(), Released("b"));
  EXPECT_EQ(machine.Paths(), Lines{"a"});
  EXPECT_EQ(machine.changes, 1);
}

TEST(HandsetDeviceChange, FailedHandleRegistrationClosesAtOnceButKeepsTheDevice) {
  Machine machine;
  machine.Start();
  FakeHidInterface unwatched = ConsumerControl(13, 0x0A5E, 0x9000);
  unwatched.registers = false;
  machine.platform.interfaces["u"] = unwatched;
  machine.Arrive("u");
  EXPECT_EQ(machine.journal.Take(), (Lines{"u: open rw", "u: query", "u: register", "u: close"}));
  EXPECT_EQ(machine.Paths(), (Lines{"a", "b", "u"}));
  EXPECT_FALSE(machine.manager->Items(2).IsOpen);
  EXPECT_EQ(machine.changes, 1);
  // Its read thread reads through a handle of its own, so it still gets one.
  machine.manager->StartReadThreads({});
  EXPECT_EQ(machine.journal.Take(), Lines{"u: thread start 5"});
  machine.manager->WMHidDeviceRemoved(13);
  EXPECT_EQ(machine.journal.Take(), (Lines{"u: thread stop", "u: free"}));
}

TEST(HandsetSessionChange, RescansClearsOrIgnores) {
  Machine machine;
  machine.Start();
  const Lines rescan = Concat({Released("a"), Released("b"), {"enumerate"}, Accepted("a"), Accepted("b")});

  machine.manager->WMSessionChange(1, 1);  // the recorded console session reconnects
  EXPECT_EQ(machine.journal.Take(), rescan);
  EXPECT_EQ(machine.changes, 1);
  machine.manager->StartReadThreads({});
  machine.journal.Take();

  for (std::uintptr_t ignored : {1, 2, 3, 4, 9}) machine.manager->WMSessionChange(ignored, 2);
  EXPECT_EQ(machine.journal.lines, Lines{});
  EXPECT_EQ(machine.changes, 1);

  machine.manager->WMSessionChange(6, 5);  // log-off of any session
  EXPECT_EQ(machine.journal.Take(), Concat({Released("a"), Released("b")}));
  EXPECT_EQ(machine.manager->Count(), 0);
  EXPECT_EQ(machine.changes, 2);

  // The first handset went away meanwhile; an unlock of any session looks again.
  machine.platform.present = {"b"};
  machine.manager->WMSessionChange(8, 3);
  EXPECT_EQ(machine.journal.Take(), Concat({{"enumerate"}, Accepted("b")}));
  EXPECT_EQ(machine.changes, 3);

  machine.manager->StartReadThreads({});
  machine.journal.Take();
  machine.manager->WMSessionChange(7, 4);  // lock
  EXPECT_EQ(machine.journal.Take(), Released("b"));
  EXPECT_EQ(machine.manager->Count(), 0);
  EXPECT_EQ(machine.changes, 4);

  machine.platform.present = {"a", "b"};
  machine.manager->WMSessionChange(5, 9);  // log-on
  EXPECT_EQ(machine.Paths(), (Lines{"a", "b"}));
  EXPECT_EQ(machine.changes, 5);
}

TEST(HandsetSessionChange, ConsoleConnectIgnoredWithoutSessionServices) {
  Machine machine;
  machine.platform.console_session.reset();
  machine.Start();
  machine.manager->WMSessionChange(1, 0);
  EXPECT_EQ(machine.journal.lines, Lines{});
  EXPECT_EQ(machine.changes, 0);
}

TEST(HandsetPower, NtOnlyTellsTheBridgeWhile9xDropsAndReopens) {
  Machine machine;
  machine.Start();
  for (std::uintptr_t event : {4, 5, 7, 8, 10}) machine.manager->WMPowerBroadcast(true, event);
  EXPECT_EQ(machine.journal.lines, Lines{});
  EXPECT_EQ(machine.changes, 5);
  EXPECT_EQ(machine.manager->Count(), 2);

  machine.changes = 0;
  machine.manager->WMPowerBroadcast(false, 10);  // a 9x power event of no interest
  EXPECT_EQ(machine.journal.lines, Lines{});
  EXPECT_EQ(machine.changes, 0);

  for (std::uintptr_t suspend : {4, 5}) {
    machine.changes = 0;
    machine.manager->StartReadThreads({});
    machine.journal.Take();
    machine.manager->WMPowerBroadcast(false, suspend);
    EXPECT_EQ(machine.journal.Take(), Concat({Released("a"), Released("b")}));
    EXPECT_EQ(machine.manager->Count(), 0);
    EXPECT_EQ(machine.changes, 0);
    machine.manager->WMPowerBroadcast(false, suspend == 4 ? 7 : 8);
    EXPECT_EQ(machine.journal.Take(), Concat({{"enumerate"}, Accepted("a"), Accepted("b")}));
    EXPECT_EQ(machine.changes, 1);
  }
}

TEST(HandsetReadThreads, OnlyDevicesWithoutOneGetAThread) {
  Machine machine;
  machine.Start(false);
  int stored = -1;
  THandsetCallbacks callbacks;
  callbacks.store_last_key = [&stored](std::uint8_t key) { stored = key; };
  machine.manager->StartReadThreads(callbacks);
  EXPECT_EQ(machine.journal.Take(), (Lines{"a: thread start 5", "b: thread start 5"}));
  ASSERT_EQ(machine.platform.thread_callbacks.size(), 2u);
  machine.platform.thread_callbacks[1].store_last_key(0x21);
  EXPECT_EQ(stored, 0x21);

  machine.manager->StartReadThreads(callbacks);
  EXPECT_EQ(machine.journal.lines, Lines{});

  machine.platform.interfaces["c"] = ConsumerControl(13, 0x0A5E, 0x9000);
  machine.Arrive("c");
  machine.journal.Take();
  machine.manager->StartReadThreads(callbacks);
  EXPECT_EQ(machine.journal.Take(), Lines{"c: thread start 5"});
}

TEST(HandsetManagerEnd, ReleasesDevicesThenStopsNotifications) {
  Machine machine;
  machine.Start();
  machine.manager.reset();
  EXPECT_EQ(machine.journal.lines, Concat({Released("a"), Released("b"), {"stop notifications"}}));
  EXPECT_EQ(machine.changes, 0);
}
