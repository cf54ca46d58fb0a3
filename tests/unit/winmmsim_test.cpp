// The audio simulator's configuration and its controls' values.
#include <gtest/gtest.h>

#include "tools/winmmsim/sim_config.h"
#include "tools/winmmsim/sim_mixer.h"

using namespace winmmsim;

TEST(WinmmsimConfig, DevicesMixersAndValuesAreReadAndBadLinesReported) {
  std::vector<std::string> errors;
  const TConfig config = ParseConfig(
      "out 1 USB Phone   # the handset\n"
      "out -1 Digital  Output\n"
      "in 1 USB Phone\n"
      "mixer 1 handset destinations=3 select=mixer channels=1 uniform=1 open=fails\n"
      "value 1 3 10 20\n"
      "notify off\n"
      "mixer 1 handset select=maybe\n"
      "out 99 Too Far\n"
      "out 1\n",
      errors);
  ASSERT_EQ(config.outs.size(), 2u);
  EXPECT_EQ(config.outs[0].name, "USB Phone");
  EXPECT_EQ(config.outs[1].name, "Digital  Output");
  EXPECT_EQ(config.outs[1].mixer, kNoMixer);
  ASSERT_EQ(config.mixers.size(), 2u);
  EXPECT_FALSE(config.mixers[0].handset);
  const TMixerConfig& handset = config.mixers[1];
  EXPECT_TRUE(handset.handset);
  EXPECT_EQ(handset.destinations, 3);
  EXPECT_EQ(handset.select, TSelector::Mixer);
  EXPECT_EQ(handset.speaker_channels, 1u);
  EXPECT_TRUE(handset.uniform_volume);
  EXPECT_TRUE(handset.open_fails);
  ASSERT_EQ(config.values.size(), 1u);
  EXPECT_EQ(config.values[0].values, (std::vector<std::uint32_t>{10, 20}));
  EXPECT_FALSE(config.notify);
  EXPECT_EQ(errors, (std::vector<std::string>{"mixer 1 handset select=maybe", "out 99 Too Far", "out 1"}));
}

TEST(WinmmsimMixer, OneChannelSetsEveryChannelAndOnlyRealChangesCount) {
  TMixerConfig config;
  config.handset = true;
  TSimMixer mixer = BuildMixer(config);
  ASSERT_EQ(mixer.destinations.size(), 2u);
  const TControlRef volume = FindControl(mixer, 1);
  ASSERT_NE(volume.control, nullptr);
  EXPECT_EQ(volume.line->name, "Speaker");

  EXPECT_TRUE(ValidRequest(*volume.line, *volume.control, 2, 0));
  EXPECT_FALSE(ValidRequest(*volume.line, *volume.control, 3, 0));
  EXPECT_TRUE(WriteValues(*volume.control, 1, {500}));
  EXPECT_EQ(ReadValues(*volume.control, 2), (std::vector<std::uint32_t>{500, 500}));
  EXPECT_FALSE(WriteValues(*volume.control, 2, {500, 500}));
  EXPECT_TRUE(WriteValues(*volume.control, 2, {500, 600}));
  EXPECT_EQ(ReadValues(*volume.control, 1), (std::vector<std::uint32_t>{500}));

  // The recording selector is a one-item list: a request must name that item count.
  const TControlRef selector = FindControl(mixer, 7);
  ASSERT_NE(selector.control, nullptr);
  EXPECT_TRUE(ValidRequest(*selector.line, *selector.control, 1, 1));
  EXPECT_FALSE(ValidRequest(*selector.line, *selector.control, 1, 0));
  EXPECT_EQ(FindControl(mixer, 9).control, nullptr);  // no side tone with two destinations
}
