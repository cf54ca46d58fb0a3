// The mode report (00 40 mode ring-tone, zeros) written to every open handset.
#include <gtest/gtest.h>

#include "fake_hid_platform.h"

using Lines = std::vector<std::string>;

namespace {

// Zeros, written as the fake journal writes bytes.
std::string Zeros(std::size_t bytes) { return std::string(bytes * 2, '0'); }

}  // namespace

TEST(SendMode, SameReportToEveryOpenHandsetInListOrder) {
  HidJournal journal;
  FakeHidPlatform platform(journal);
  platform.Plug("a", ConsumerControl(11, 0x0A5E, 0x9000, 9));
  platform.Plug("b", ConsumerControl(12, 0x0B7C, 0x9001, 21));
  // Longer than the report: the rest is zeros, never whatever lies beyond it.
  platform.Plug("c", ConsumerControl(13, 0x0A5E, 0x9002, 40));
  TUSBPhoneDevice manager(platform);
  journal.Take();

  manager.SendMode(THandsetMode::Talking, 0x81);
  EXPECT_EQ(journal.Take(), (Lines{"a: write 004006810000000000", "b: write 00400681" + Zeros(17),
                                   "c: write 00400681" + Zeros(36)}));

  // The ring tone is taken at each call; a handset closed for removal is skipped.
  manager.WMDeviceChange(0x8001, 6, 12, "");
  journal.Take();
  manager.SendMode(THandsetMode::Buzzer, 0x03);
  EXPECT_EQ(journal.Take(), (Lines{"a: write 004001030000000000", "c: write 00400103" + Zeros(36)}));
}

TEST(SendMode, NothingWithoutHandsets) {
  HidJournal journal;
  FakeHidPlatform platform(journal);
  platform.Plug("mouse", ConsumerControl(11, 0x046D, 0xC077));
  TUSBPhoneDevice manager(platform);
  journal.Take();
  manager.SendMode(THandsetMode::Standby, 0);
  EXPECT_EQ(journal.lines, Lines{});
}
