// The themed controls' portable parts: a track bar's position and a caption's access key.
#include <gtest/gtest.h>

#include "skin/mnemonic.h"
#include "skin/track_bar_position.h"

TEST(TrackBarPosition, ClampsIntoTheRangeAndReportsOnlyRealMoves) {
  TTrackBarPosition bar;
  bar.SetMax(65535);
  EXPECT_TRUE(bar.SetPosition(70000));
  EXPECT_EQ(bar.Position(), 65535);
  EXPECT_FALSE(bar.SetPosition(65535));
  EXPECT_FALSE(bar.SetPosition(99999));
  EXPECT_TRUE(bar.SetPosition(-5));
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_FALSE(bar.SetPosition(-1));
}

TEST(TrackBarPosition, MovingAnEndDragsThePositionAndTheOtherEnd) {
  TTrackBarPosition bar;  // 0..10
  bar.SetPosition(8);
  EXPECT_TRUE(bar.SetMax(5));
  EXPECT_EQ(bar.Position(), 5);
  EXPECT_FALSE(bar.SetMin(2));
  EXPECT_TRUE(bar.SetMin(20));
  EXPECT_EQ(bar.Max(), 20);
  EXPECT_EQ(bar.Position(), 20);
}

TEST(Mnemonic, TheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(MnemonicOf("&Setup"), 's');
  EXPECT_EQ(MnemonicOf("E&xit"), 'x');
  EXPECT_EQ(MnemonicOf("Fish && &Chips"), 'c');
  EXPECT_EQ(MnemonicOf("A && B"), 0);
  EXPECT_EQ(MnemonicOf("trailing&"), 0);
  EXPECT_EQ(MnemonicOf(""), 0);

  EXPECT_EQ(WithoutMnemonic("E&xit"), "Exit");
  EXPECT_EQ(WithoutMnemonic("Fish && &Chips"), "Fish & Chips");
  EXPECT_EQ(WithoutMnemonic("trailing&"), "trailing&");
}
