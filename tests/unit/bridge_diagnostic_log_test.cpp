// The diagnostic log: its lines, its bound and turning over, its quiet end on a failed
// write, and the ports that feed it on the way out of the bridge.
#include <gtest/gtest.h>

#include "bridge/diagnostic_log.h"
#include "bridge/logged_ports.h"
#include "fake_bridge_ports.h"

namespace {

// Two files in memory, as the Win32 side keeps them on the disk.
struct Disk {
  std::string current;
  std::string old;
  int rotations = 0;
  bool fail_open = false;
  bool fail_append = false;
  bool fail_rotate = false;
  int appends = 0;
};

class FakeLogFile final : public ILogFile {
 public:
  explicit FakeLogFile(Disk& disk) : disk_(disk) {}
  bool Open(std::uint64_t& size) override {
    size = disk_.current.size();
    return !disk_.fail_open;
  }
  bool Append(const std::string& line) override {
    ++disk_.appends;
    if (disk_.fail_append) return false;
    disk_.current += line;
    return true;
  }
  bool Rotate() override {
    if (disk_.fail_rotate) return false;
    ++disk_.rotations;
    disk_.old = disk_.current;
    disk_.current.clear();
    return true;
  }

 private:
  Disk& disk_;
};

TLogTime Noon() { return {2026, 12, 10, 12, 3, 4, 56}; }

TDiagnosticLog LogOn(Disk& disk, std::uint64_t limit = kDiagnosticLogLimit) {
  return TDiagnosticLog(std::make_unique<FakeLogFile>(disk), Noon, limit);
}

}  // namespace

TEST(DiagnosticLog, ALineHasTheMillisecondTimeAndStaysOneLine) {
  EXPECT_EQ(FormatLogLine(Noon(), "IN", "CALL 12 STATUS RINGING"),
            "2026-12-10 12:03:04.056 IN CALL 12 STATUS RINGING\r\n");
  EXPECT_EQ(FormatLogLine(Noon(), "IN", "A\r\nB\x7F"), "2026-12-10 12:03:04.056 IN A\\x0D\\x0AB\\x7F\r\n");
  EXPECT_EQ(FormatLogLine(Noon(), "START", ""), "2026-12-10 12:03:04.056 START\r\n");
  const std::string long_line = FormatLogLine(Noon(), "IN", std::string(kLoggedTextLimit + 50, 'A'));
  EXPECT_EQ(long_line.size(), 27 + kLoggedTextLimit + 3 + 2);
  EXPECT_EQ(long_line.substr(long_line.size() - 6), "A...\r\n");
}

TEST(DiagnosticLog, OffByDefaultAndOffWhenTheFileCannotBeOpened) {
  TDiagnosticLog off;
  EXPECT_FALSE(off.Enabled());
  off.TextOut("GET MUTE");  // nothing to write to, nothing happens

  Disk disk;
  disk.fail_open = true;
  TDiagnosticLog log = LogOn(disk);
  EXPECT_FALSE(log.Enabled());
  log.TextOut("GET MUTE");
  EXPECT_EQ(disk.appends, 0);
}

TEST(DiagnosticLog, TurnsOverAtItsBoundKeepingTwoFilesWithinIt) {
  EXPECT_FALSE(LogNeedsRotation(0, 5000, 100));  // an empty file takes even an overlong line
  EXPECT_FALSE(LogNeedsRotation(60, 40, 100));
  EXPECT_TRUE(LogNeedsRotation(61, 40, 100));

  Disk disk;
  const std::uint64_t limit = 200;
  TDiagnosticLog log = LogOn(disk, limit);
  // 40-byte lines: five fill a file exactly, the sixth starts the next one.
  for (int i = 0; i < 5; ++i) log.Write("KEY", "0x1" + std::to_string(i) + "......");
  ASSERT_EQ(disk.current.size(), limit);
  EXPECT_EQ(disk.rotations, 0);
  log.Write("KEY", "0x15........");
  EXPECT_EQ(disk.rotations, 1);
  EXPECT_EQ(disk.old.size(), limit);
  EXPECT_EQ(disk.current.find("KEY 0x15"), 24u);
  for (int i = 0; i < 10; ++i) log.Write("KEY", "0x2" + std::to_string(i) + "......");
  EXPECT_EQ(disk.rotations, 3);
  EXPECT_LE(disk.old.size(), limit);
  EXPECT_LE(disk.current.size(), limit);
  // The older lines are gone, the newest two files' worth kept.
  EXPECT_EQ(disk.old.find("0x15"), std::string::npos);
  EXPECT_NE(disk.current.find("0x29"), std::string::npos);
}

TEST(DiagnosticLog, AnExistingFileCountsTowardsTheBound) {
  Disk disk;
  disk.current = std::string(190, 'x');
  TDiagnosticLog log = LogOn(disk, 200);
  log.Write("KEY", "0x1B");
  EXPECT_EQ(disk.rotations, 1);
  EXPECT_EQ(disk.old.size(), 190u);
}

TEST(DiagnosticLog, AFailedWriteOrTurnOverEndsTheLogQuietly) {
  Disk disk;
  TDiagnosticLog log = LogOn(disk);
  log.TextOut("GET MUTE");
  disk.fail_append = true;
  log.TextOut("GET USERSTATUS");
  EXPECT_FALSE(log.Enabled());
  disk.fail_append = false;
  log.TextOut("SEARCH ACTIVECALLS");
  EXPECT_EQ(disk.appends, 2);
  EXPECT_EQ(disk.current, "2026-12-10 12:03:04.056 OUT GET MUTE\r\n");

  Disk full;
  full.current = std::string(100, 'x');
  full.fail_rotate = true;
  TDiagnosticLog bounded = LogOn(full, 100);
  bounded.TextOut("GET MUTE");
  EXPECT_FALSE(bounded.Enabled());
  EXPECT_EQ(full.current.size(), 100u);  // not grown past the bound
}

TEST(LoggedPorts, TextsToSkypeAResultOtherThanOneModesAndDeviceChangesAreLogged) {
  Journal journal;
  FakeBridgePorts inner(journal);
  Disk disk;
  TDiagnosticLog log = LogOn(disk);
  TLoggedBridgePorts ports(inner, log);

  EXPECT_EQ(ports.SendToSkypeWindow(FakeBridgePorts::kSkype, "GET MUTE"), 1);
  inner.skype_result = 0;
  EXPECT_EQ(ports.SendToSkypeWindow(FakeBridgePorts::kSkype, "FOCUS"), 0);
  ports.SendToPanelWindow(FakeBridgePorts::kPanel, "AUDIO_OUT x");  // passes, not logged
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"SKYPE GET MUTE", "SKYPE FOCUS", "PANEL AUDIO_OUT x"}));

  auto manager = std::make_unique<FakeDeviceManager>(journal, 1);
  FakeDeviceManager* devices = manager.get();
  TLoggedDeviceManager logged(std::move(manager), log);
  int changes = 0;
  logged.SetOnDeviceChange([&changes] { ++changes; });
  logged.SendMode(THandsetMode::Talking, 0x02);
  devices->SetCount(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(logged.Count(), 0);

  const std::string stamp = "2026-12-10 12:03:04.056 ";
  EXPECT_EQ(disk.current, stamp + "OUT GET MUTE\r\n" + stamp + "OUT FOCUS\r\n" + stamp + "RESULT 0\r\n" + stamp +
                              "MODE 6 tone 2\r\n" + stamp + "DEVICES 0 open\r\n");
}

TEST(LoggedPorts, TheInputsAndTheRegistryValueThatTurnsTheLogOn) {
  Journal journal;
  FakeBridgePorts ports(journal);
  EXPECT_FALSE(DiagnosticLogWanted(ports));
  ports.registry.values[kDiagnosticLogValue] = 0;
  EXPECT_FALSE(DiagnosticLogWanted(ports));
  ports.registry.values[kDiagnosticLogValue] = 1;
  EXPECT_TRUE(DiagnosticLogWanted(ports));
  ports.registry.can_open = false;
  EXPECT_FALSE(DiagnosticLogWanted(ports));

  Disk disk;
  TDiagnosticLog log = LogOn(disk);
  const char text[] = "CALL 5 STATUS RINGING\0junk";
  log.TextIn(text, sizeof text);
  log.SkypeAttach(0x8001);
  log.HandsetKey(0x1B);
  log.Started("3.3.10.3");
  const std::string stamp = "2026-12-10 12:03:04.056 ";
  EXPECT_EQ(disk.current, stamp + "IN CALL 5 STATUS RINGING\r\n" + stamp + "ATTACH 0x8001\r\n" + stamp + "KEY 0x1B\r\n" +
                              stamp + "START handsetlink 3.3.10.3\r\n");
}
