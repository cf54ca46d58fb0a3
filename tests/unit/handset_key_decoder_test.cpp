// Key events from the handset's stream of input reports, with time passed in.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "handset/key_decoder.h"

using Lines = std::vector<std::string>;

namespace {

std::string Hex(std::uint8_t key) {
  char text[3];
  std::snprintf(text, sizeof text, "%02x", key);
  return text;
}

// A decoder with the bridge's shared state around it. Events are written "offset:xx", the
// offset in ms from `origin`; the request to empty the dial buffer is "offset:clear dial",
// and it empties the dial count as the bridge's window thread would.
struct Handset {
  TKeyDecoder decoder;
  THandsetContext context;
  std::uint8_t last_key = 0xAA;
  std::uint32_t origin = 0;

  Lines Report(std::uint8_t key, std::uint32_t offset) {
    Lines out;
    for (const THandsetKeyEvent& event : decoder.ProcessReport(key, origin + offset, context, last_key)) {
      const bool clear = event.kind == THandsetKeyEvent::Kind::ClearDialBuffer;
      if (clear) context.dial_count = 0;
      out.push_back(std::to_string(offset) + ":" + (clear ? "clear dial" : Hex(event.key)));
    }
    return out;
  }

  // Reports of `key` every `step` ms from `start` while less than `held` ms have passed,
  // then a release report at start + held.
  Lines Press(std::uint8_t key, std::uint32_t start, std::uint32_t held, std::uint32_t step = 100) {
    Lines out;
    for (std::uint32_t t = 0; t < held; t += step) {
      for (auto& line : Report(key, start + t)) out.push_back(line);
    }
    for (auto& line : Report(0x00, start + held)) out.push_back(line);
    return out;
  }
};

}  // namespace

TEST(KeyDecoder, PressAndReleaseGiveTwoEvents) {
  Handset handset;
  EXPECT_EQ(handset.Press(0x21, 0, 500), (Lines{"0:21", "500:00"}));
  EXPECT_EQ(handset.Report(0x00, 600), Lines{});
  // A switch between plain keys is one event per change.
  EXPECT_EQ(handset.Report(0x12, 700), Lines{"700:12"});
  EXPECT_EQ(handset.Report(0x13, 800), Lines{"800:13"});
  EXPECT_EQ(handset.Report(0x13, 2000), Lines{});
}

TEST(KeyDecoder, UpAndDownRepeatEvery250MsWhileReportsArrive) {
  for (std::uint8_t key : {std::uint8_t{0x11}, std::uint8_t{0x1F}}) {
    Handset handset;
    const std::string x = Hex(key);
    EXPECT_EQ(handset.Press(key, 0, 1000), (Lines{"0:" + x, "300:" + x, "600:" + x, "900:" + x, "1000:00"}));
    // The interval counts from the last repeat and is reached at exactly 250 ms.
    Lines events = handset.Report(key, 2000);
    for (std::uint32_t t : {2249u, 2250u, 2499u, 2500u}) {
      for (auto& line : handset.Report(key, t)) events.push_back(line);
    }
    EXPECT_EQ(events, (Lines{"2000:" + x, "2250:" + x, "2500:" + x}));
  }
}

TEST(KeyDecoder, HeldZeroGivesOneLongPress) {
  Handset handset;
  EXPECT_EQ(handset.Press(0x17, 0, 2000), (Lines{"0:17", "600:e0", "2000:00"}));
  EXPECT_EQ(handset.Press(0x17, 3000, 400), (Lines{"3000:17", "3400:00"}));
  // No reports while held: time is only looked at when one arrives.
  EXPECT_EQ(handset.Report(0x17, 4000), Lines{"4000:17"});
  EXPECT_EQ(handset.Report(0x17, 5000), Lines{"5000:e0"});
}

TEST(KeyDecoder, StarLongPressOnlyInACall) {
  for (THandsetMode mode : {THandsetMode::Standby, THandsetMode::Buzzer, THandsetMode::Mute, THandsetMode::CallOut,
                            THandsetMode::Talking}) {
    Handset handset;
    handset.context.handset_mode = mode;
    const Lines expected = (mode == THandsetMode::Talking || mode == THandsetMode::Mute)
                               ? Lines{"0:1c", "600:15", "1000:00"}
                               : Lines{"0:1c", "1000:00"};
    EXPECT_EQ(handset.Press(0x1C, 0, 1000), expected) << "mode " << int(ModeByte(mode));
  }
  // The mode is looked at on every report: a call that begins or ends mid-press gives none.
  Handset ending;
  ending.context.handset_mode = THandsetMode::Talking;
  EXPECT_EQ(ending.Report(0x1C, 0), Lines{"0:1c"});
  ending.context.handset_mode = THandsetMode::Standby;
  EXPECT_EQ(ending.Report(0x1C, 700), Lines{});
  Handset beginning;
  EXPECT_EQ(beginning.Report(0x1C, 0), Lines{"0:1c"});
  beginning.context.handset_mode = THandsetMode::Talking;
  EXPECT_EQ(beginning.Report(0x1C, 700), Lines{});
}

TEST(KeyDecoder, RingToneKeyIsClearWhileAnythingIsGoingOn) {
  for (THandsetMode mode : {THandsetMode::Standby, THandsetMode::Buzzer, THandsetMode::Mute, THandsetMode::CallOut,
                            THandsetMode::Talking}) {
    Handset handset;
    handset.context.handset_mode = mode;
    EXPECT_EQ(handset.Press(0x1A, 0, 200), (Lines{mode == THandsetMode::Standby ? "0:1a" : "0:f1", "200:00"}))
        << "mode " << int(ModeByte(mode));
  }
  Handset dialling;
  dialling.context.dial_count = 1;
  EXPECT_EQ(dialling.Report(0x1A, 0), Lines{"0:f1"});
  // The bridge deletes the one digit; the rest of the press stays Clear.
  dialling.context.dial_count = 0;
  EXPECT_EQ(dialling.Report(0x1A, 100), Lines{});
  EXPECT_EQ(dialling.last_key, 0xF1);
  EXPECT_EQ(dialling.Report(0x00, 200), Lines{"200:00"});
  // The next press is read afresh.
  EXPECT_EQ(dialling.Report(0x1A, 300), Lines{"300:1a"});
}

TEST(KeyDecoder, HeldClearEmptiesTheDialBufferBeforeTheRepeatedClear) {
  Handset handset;
  handset.context.dial_count = 3;
  EXPECT_EQ(handset.Press(0x1A, 0, 1000), (Lines{"0:f1", "600:clear dial", "600:f1", "1000:00"}));
  EXPECT_EQ(handset.context.dial_count, 0);
  EXPECT_EQ(handset.Press(0x1A, 2000, 1000), (Lines{"2000:1a", "3000:00"}));
  // A Clear key byte of its own behaves the same.
  EXPECT_EQ(handset.Press(0xF1, 4000, 700), (Lines{"4000:f1", "4600:clear dial", "4600:f1", "4700:00"}));
}

TEST(KeyDecoder, SwitchWithoutReleaseKeepsTheFirstKeyHeld) {
  for (const auto& keys : {std::pair<std::uint8_t, std::uint8_t>{0x11, 0x1F}, {0x1F, 0x11}}) {
    const std::string a = Hex(keys.first), b = Hex(keys.second);
    Handset handset;
    EXPECT_EQ(handset.Report(keys.first, 0), Lines{"0:" + a});
    EXPECT_EQ(handset.Report(keys.second, 100), Lines{"100:" + b});
    // The first key is still held: back on it after its interval, its repeat comes before the change.
    EXPECT_EQ(handset.Report(keys.first, 400), (Lines{"400:" + a, "400:" + a}));
    EXPECT_EQ(handset.Report(0x00, 500), Lines{"500:00"});
    // A release ends both holds.
    EXPECT_EQ(handset.Report(keys.second, 600), Lines{"600:" + b});
    EXPECT_EQ(handset.Report(keys.first, 900), Lines{"900:" + a});
  }
}

TEST(KeyDecoder, TickCountWrapAroundIsHarmless) {
  // Every press starts 256 ms before the tick count wraps to zero.
  const auto near_wrap = [] {
    Handset handset;
    handset.origin = 0xFFFFFF00u;
    return handset;
  };
  EXPECT_EQ(near_wrap().Press(0x1F, 0, 1000), (Lines{"0:1f", "300:1f", "600:1f", "900:1f", "1000:00"}));
  EXPECT_EQ(near_wrap().Press(0x17, 0, 1000), (Lines{"0:17", "600:e0", "1000:00"}));
  Handset clearing = near_wrap();
  clearing.context.dial_count = 2;
  EXPECT_EQ(clearing.Press(0x1A, 0, 700), (Lines{"0:f1", "600:clear dial", "600:f1", "700:00"}));
}

TEST(KeyDecoder, LastKeyFollowsEveryReportAsRead) {
  Handset handset;
  handset.context.dial_count = 2;
  const std::pair<std::uint8_t, std::uint8_t> reads[] = {
      {0x21, 0x21}, {0x21, 0x21}, {0x00, 0x00}, {0x1A, 0xF1}, {0x1A, 0xF1}, {0x00, 0x00}, {0x17, 0x17}};
  std::uint32_t t = 0;
  for (const auto& read : reads) {
    handset.last_key = 0xAA;
    handset.Report(read.first, t += 700);
    EXPECT_EQ(handset.last_key, read.second) << "report at " << t;
  }
}

TEST(KeyDecoder, ResetRunForgetsHoldsButKeepsTheKey) {
  Handset handset;
  EXPECT_EQ(handset.Report(0x1F, 0), Lines{"0:1f"});
  handset.decoder.ResetRun();
  // Same key as before the reset: no change event, and its hold no longer runs.
  EXPECT_EQ(handset.Report(0x1F, 300), Lines{});
  EXPECT_EQ(handset.Report(0x1F, 600), Lines{});
  EXPECT_EQ(handset.Report(0x00, 700), Lines{"700:00"});

  EXPECT_EQ(handset.Report(0x17, 1000), Lines{"1000:17"});
  handset.decoder.ResetRun();
  EXPECT_EQ(handset.Report(0x17, 1700), Lines{});

  // The conversion of the ring-tone key ends with the run.
  handset.context.dial_count = 1;
  handset.Report(0x00, 2000);
  EXPECT_EQ(handset.Report(0x1A, 2100), Lines{"2100:f1"});
  handset.context.dial_count = 0;
  handset.decoder.ResetRun();
  EXPECT_EQ(handset.Report(0x1A, 2200), Lines{"2200:1a"});
}
