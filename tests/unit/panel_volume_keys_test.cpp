// The handset's volume keys: event kinds, and the speaker track bar stepping while talking.
#include <gtest/gtest.h>

#include "common/handset_key_values.h"
#include "fake_panel.h"
#include "panel/key_repeat.h"

using Events = std::vector<TKeyEvent>;

namespace {
constexpr std::uint8_t kUp = handset_key::kUp;
constexpr std::uint8_t kDown = handset_key::kDown;
constexpr std::uint8_t kTalking = 6;
constexpr std::uint8_t kCallOut = 4;
constexpr std::uint32_t kHandsetAndSkype = 0x0101;
}  // namespace

TEST(KeyRepeatEvents, KindsFromThePreviousAndTheCurrentKey) {
  EXPECT_EQ(KeyRepeatEvents(0, kUp), (Events{{kUp, TKeyEventKind::Press}}));
  EXPECT_EQ(KeyRepeatEvents(kUp, kUp), (Events{{kUp, TKeyEventKind::Repeat}}));
  EXPECT_EQ(KeyRepeatEvents(kUp, 0), (Events{{kUp, TKeyEventKind::Release}}));
  EXPECT_EQ(KeyRepeatEvents(kUp, kDown),
            (Events{{kUp, TKeyEventKind::Release}, {kDown, TKeyEventKind::Press}}));
  EXPECT_EQ(KeyRepeatEvents(0, 0), (Events{{0, TKeyEventKind::Repeat}}));
}

class VolumeKeys : public ::testing::Test {
 protected:
  VolumeKeys() { panel.Link(kHandsetAndSkype); }
  void Key(std::uint8_t key, std::uint8_t mode = kTalking) { panel.Report(kHandsetAndSkype, mode, key); }
  int Speaker() const { return panel.controls.speaker.Position(); }
  PanelFixture panel;
};

TEST_F(VolumeKeys, AHeldKeyStepsAtOnceAndAtEveryTickUntilItsRelease) {
  panel.controls.speaker.SetPosition(1000);
  Key(kUp);
  EXPECT_EQ(Speaker(), 1000 + 4096);
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::KeyRepeat));
  // 300, 600 and 900 ms; the release comes at 1000 ms.
  for (int tick = 0; tick < 3; ++tick) panel.form.TimerKeyRepeatTimer();
  Key(0);
  EXPECT_EQ(Speaker(), 1000 + 4 * 4096);
  EXPECT_FALSE(panel.ports.Running(TPanelTimer::KeyRepeat));
  EXPECT_EQ(panel.form.Volume().PreviousKey(), 0);
}

TEST_F(VolumeKeys, StepsStopAtBothEnds) {
  panel.controls.speaker.SetPosition(65535 - 100);
  Key(kUp);
  EXPECT_EQ(Speaker(), 65535);
  panel.form.TimerKeyRepeatTimer();
  EXPECT_EQ(Speaker(), 65535);
  Key(0);

  panel.controls.speaker.SetPosition(100);
  Key(kDown);
  EXPECT_EQ(Speaker(), 0);
}

TEST_F(VolumeKeys, SwitchingKeysReleasesOneAndPressesTheOther) {
  panel.controls.speaker.SetPosition(30000);
  Key(kUp);
  Key(kDown);
  EXPECT_EQ(Speaker(), 30000);
  EXPECT_EQ(panel.form.Volume().PreviousKey(), kDown);
}

TEST_F(VolumeKeys, OnlyWhileTalkingAndOnlyTheVolumeKeys) {
  panel.controls.speaker.SetPosition(30000);
  Key(kUp, kCallOut);
  EXPECT_EQ(Speaker(), 30000);
  Key(0, kCallOut);
  Key(0x1B);  // Yes
  Key(0);
  EXPECT_EQ(Speaker(), 30000);
  EXPECT_EQ(panel.controls.microphone.Position(), 0);
}

TEST_F(VolumeKeys, AStatusReportDoesNotStopTheRepeat) {
  Key(kUp);
  panel.Report(kHandsetAndSkype, kTalking);
  EXPECT_TRUE(panel.ports.Running(TPanelTimer::KeyRepeat));
  EXPECT_EQ(panel.form.Volume().CurrentKey(), kUp);
}
