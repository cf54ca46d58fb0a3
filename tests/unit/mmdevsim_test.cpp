// The endpoint simulator's configuration and its commands from a test.
#include <gtest/gtest.h>

#include "tools/mmdevsim/sim_endpoints.h"

using namespace mmdevsim;

TEST(MmdevsimConfig, DefaultMachineHasTheHandsetAfterAWebcam) {
  const TConfig config = DefaultConfig();
  std::vector<std::string> captures;
  for (const TEndpoint& e : config.endpoints) {
    if (e.flow == TFlow::Capture) captures.push_back(e.name);
  }
  EXPECT_EQ(captures, (std::vector<std::string>{"Microphone (Onboard Audio)", "Microphone (USB Camera)",
                                                "Microphone (USB Phone)"}));
  EXPECT_EQ(config.endpoints[1].name, "Speaker (USB Phone)");
  EXPECT_EQ(config.endpoints[1].id, "{0.0.0.00000000}.{mmdevsim-1}");
  EXPECT_EQ(config.endpoints[4].id, "{0.0.1.00000000}.{mmdevsim-4}");
}

TEST(MmdevsimConfig, StatementsApplyToTheEndpointAboveAndBadLinesAreReported) {
  std::vector<std::string> errors;
  const TConfig config = ParseConfig(
      "# the handset only\n"
      "render Speaker (USB Phone)  \r\n"
      "  level 0.75\n"
      "  mute 1\n"
      "  fail level\n"
      "capture Microphone (USB Phone)\n"
      "  unplugged\n"
      "  level 1.5\n"
      "  mute yes\n"
      "  fail sometimes\n"
      "speaker Something\n",
      errors);
  ASSERT_EQ(config.endpoints.size(), 2u);
  const TEndpoint& speaker = config.endpoints[0];
  EXPECT_EQ(speaker.name, "Speaker (USB Phone)");
  EXPECT_FLOAT_EQ(speaker.level, 0.75f);
  EXPECT_TRUE(speaker.mute);
  EXPECT_TRUE(speaker.level_fails);
  EXPECT_FALSE(speaker.mute_fails);
  const TEndpoint& mic = config.endpoints[1];
  EXPECT_EQ(mic.flow, TFlow::Capture);
  EXPECT_FALSE(mic.present);
  EXPECT_FLOAT_EQ(mic.level, 0.5f);
  EXPECT_EQ(errors, (std::vector<std::string>{"line 8: level 1.5", "line 9: mute yes", "line 10: fail sometimes",
                                              "line 11: speaker Something"}));
  errors.clear();
  ParseConfig("level 0.5\n", errors);  // no endpoint above
  EXPECT_EQ(errors.size(), 1u);
}

TEST(MmdevsimCommands, NamesAreTheRestOfTheLine) {
  std::string error;
  std::optional<TCommand> command = ParseCommand("level 0.25 Speaker (USB Phone)", error);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->kind, TCommand::TKind::Level);
  EXPECT_FLOAT_EQ(command->level, 0.25f);
  EXPECT_EQ(command->name, "Speaker (USB Phone)");

  command = ParseCommand("mute 1 Microphone (USB Phone)", error);
  ASSERT_TRUE(command);
  EXPECT_TRUE(command->mute);
  command = ParseCommand("unplug  Speaker (USB Phone)", error);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->kind, TCommand::TKind::Unplug);
  EXPECT_EQ(command->name, "Speaker (USB Phone)");
  command = ParseCommand("fail both Speaker", error);
  ASSERT_TRUE(command);
  EXPECT_TRUE(command->fail_level && command->fail_mute);

  for (const char* bad : {"level 2 Speaker", "level x Speaker", "mute on Speaker", "unplug", "level 0.5",
                          "volume 0.5 Speaker", "fail never Speaker"}) {
    EXPECT_FALSE(ParseCommand(bad, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
}
