// The audio simulator's configuration and its controls' values.
#include <gtest/gtest.h>

#include "tools/winmmsim/sim_config.h"
#include "tools/winmmsim/sim_mixer.h"

using namespace winmmsim;

TEST(WinmmsimConfig, DevicesMixersAndValuesAreReadAndBadLinesReported) {
    std::vector<std::string> errors;
    const Config config = parseConfig(
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
    const MixerConfig& handset = config.mixers[1];
    EXPECT_TRUE(handset.handset);
    EXPECT_EQ(handset.destinations, 3);
    EXPECT_EQ(handset.select, Selector::Mixer);
    EXPECT_EQ(handset.speakerChannels, 1u);
    EXPECT_TRUE(handset.uniformVolume);
    EXPECT_TRUE(handset.openFails);
    ASSERT_EQ(config.values.size(), 1u);
    EXPECT_EQ(config.values[0].values, (std::vector<std::uint32_t>{10, 20}));
    EXPECT_FALSE(config.notify);
    EXPECT_EQ(errors, (std::vector<std::string>{"mixer 1 handset select=maybe", "out 99 Too Far", "out 1"}));
}

TEST(WinmmsimMixer, OneChannelSetsEveryChannelAndOnlyRealChangesCount) {
    MixerConfig config;
    config.handset = true;
    SimMixer mixer = buildMixer(config);
    ASSERT_EQ(mixer.destinations.size(), 2u);
    const ControlRef volume = findControl(mixer, 1);
    ASSERT_NE(volume.control, nullptr);
    EXPECT_EQ(volume.line->name, "Speaker");

    EXPECT_TRUE(validRequest(*volume.line, *volume.control, 2, 0));
    EXPECT_FALSE(validRequest(*volume.line, *volume.control, 3, 0));
    EXPECT_TRUE(writeValues(*volume.control, 1, {500}));
    EXPECT_EQ(readValues(*volume.control, 2), (std::vector<std::uint32_t>{500, 500}));
    EXPECT_FALSE(writeValues(*volume.control, 2, {500, 500}));
    EXPECT_TRUE(writeValues(*volume.control, 2, {500, 600}));
    EXPECT_EQ(readValues(*volume.control, 1), (std::vector<std::uint32_t>{500}));

    // The recording selector is a one-item list: a request must name that item count.
    const ControlRef selector = findControl(mixer, 7);
    ASSERT_NE(selector.control, nullptr);
    EXPECT_TRUE(validRequest(*selector.line, *selector.control, 1, 1));
    EXPECT_FALSE(validRequest(*selector.line, *selector.control, 1, 0));
    EXPECT_EQ(findControl(mixer, 9).control, nullptr);  // no side tone with two destinations
}
