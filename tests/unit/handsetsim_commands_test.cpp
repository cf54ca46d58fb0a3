#include <gtest/gtest.h>

#include "tools/handsetsim/commands.h"

namespace handsetsim {
namespace {

TCommand parsed(const char* line) {
  const TCommand command = ParseCommand(line);
  EXPECT_NE(command.kind, TCommandKind::Invalid) << line;
  return command;
}

TEST(HandsetsimCommands, DeviceTakesDefaultsAndOptions) {
  const TCommand plain = parsed("device 1 0x0c45 0x1234");
  EXPECT_EQ(plain.kind, TCommandKind::Device);
  EXPECT_EQ(plain.config.number, 1);
  EXPECT_EQ(plain.config.vendor_id, 0x0c45);
  EXPECT_EQ(plain.config.product_id, 0x1234);
  EXPECT_EQ(plain.config.usage_page, 0x0C);
  EXPECT_EQ(plain.config.usage, 0x01);
  EXPECT_EQ(plain.config.input_length, 5);
  EXPECT_EQ(plain.config.output_length, 21);

  const TCommand other = parsed("device 2 1 2 usage=6 usagepage=0x01 out=3 in=9 version=0x0200");
  EXPECT_EQ(other.device, 2);
  EXPECT_EQ(other.config.number, 2);
  EXPECT_EQ(other.config.usage_page, 0x01);
  EXPECT_EQ(other.config.usage, 6);
  EXPECT_EQ(other.config.input_length, 9);
  EXPECT_EQ(other.config.output_length, 3);
  EXPECT_EQ(other.config.version, 0x0200);
}

TEST(HandsetsimCommands, KeysGoToDeviceOneUnlessTold) {
  const TCommand press = parsed("press 0x1B");
  EXPECT_EQ(press.kind, TCommandKind::Press);
  EXPECT_EQ(press.key, 0x1B);
  EXPECT_EQ(press.device, 1);
  EXPECT_EQ(parsed("press 27 dev=2").device, 2);

  const TCommand report = parsed("report 3 0x20");
  EXPECT_EQ(report.kind, TCommandKind::Press);
  EXPECT_EQ(report.device, 3);
  EXPECT_EQ(report.key, 0x20);

  const TCommand release = parsed("release dev=2");
  EXPECT_EQ(release.kind, TCommandKind::Release);
  EXPECT_EQ(release.key, 0);
  EXPECT_EQ(release.device, 2);

  const TCommand hold = parsed("hold 0x1b 1000");
  EXPECT_EQ(hold.kind, TCommandKind::Hold);
  EXPECT_EQ(hold.milliseconds, 1000u);
  EXPECT_EQ(hold.every, kDefaultHoldEveryMs);
  const TCommand fast = parsed("hold 0x1b 300 dev=2 every=25");
  EXPECT_EQ(fast.every, 25u);
  EXPECT_EQ(fast.device, 2);
}

TEST(HandsetsimCommands, WaitOutputReadsItsPrefixInAnySpacing) {
  const TCommand spaced = parsed("wait-output 00 05 11");
  EXPECT_EQ(spaced.kind, TCommandKind::WaitOutput);
  EXPECT_EQ(spaced.prefix, (Bytes{0x00, 0x05, 0x11}));
  EXPECT_EQ(spaced.milliseconds, kDefaultWaitMs);
  EXPECT_EQ(spaced.device, 1);

  const TCommand packed = parsed("wait-output timeout=500 dev=2 0005 Ff");
  EXPECT_EQ(packed.prefix, (Bytes{0x00, 0x05, 0xFF}));
  EXPECT_EQ(packed.milliseconds, 500u);
  EXPECT_EQ(packed.device, 2);
}

TEST(HandsetsimCommands, OtherCommandsAndNothing) {
  EXPECT_EQ(parsed("sleep 250").milliseconds, 250u);
  EXPECT_EQ(parsed("unplug 2").kind, TCommandKind::Unplug);
  EXPECT_EQ(parsed("unplug 2").device, 2);
  EXPECT_EQ(parsed("plug 1").kind, TCommandKind::Plug);
  EXPECT_EQ(parsed("quit").kind, TCommandKind::Quit);
  for (const char* line : {"", "  \t", "# press 1", "   #dev=2 x"}) {
    EXPECT_EQ(ParseCommand(line).kind, TCommandKind::Nothing) << '"' << line << '"';
  }
}

TEST(HandsetsimCommands, RejectsBadArgumentsAndUnknownOptions) {
  for (const char* line : {"device 0 1 2",
                           "device 33 1 2",
                           "device 1 0x10000 2",
                           "device 1 1",
                           "device 1 1 2 in=3",
                           "device 1 1 2 in=1025",
                           "device 1 1 2 out=0",
                           "device 1 1 2 colour=red",
                           "device 1 1 2 in=5 in=6",
                           "press",
                           "press 0x100",
                           "press -1",
                           "press 1 dev=0",
                           "press 1 dev=33",
                           "press 1 every=5",
                           "release 1",
                           "hold 1",
                           "hold 1 100 every=0",
                           "hold 1 -5",
                           "report 1",
                           "report 0 1",
                           "wait-output",
                           "wait-output 0",
                           "wait-output 0x05",
                           "wait-output xy",
                           "wait-output timeout=-1 00",
                           "sleep",
                           "sleep -1",
                           "sleep 2147483648",
                           "unplug",
                           "plug x",
                           "quit now",
                           "dev=1",
                           "fly 1"}) {
    EXPECT_EQ(ParseCommand(line).kind, TCommandKind::Invalid) << line;
  }
}

}  // namespace
}  // namespace handsetsim
