// desktopsim: its commands, and the tray icon data it reads from Wine's Shell_NotifyIcon.
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "tools/desktopsim/commands.h"
#include "tools/desktopsim/tray_data.h"

using namespace desktopsim;

TEST(DesktopsimCommands, WordsNumbersAndVerbatimText) {
  EXPECT_EQ(ParseCommand("tray on").kind, TCommandKind::TrayOn);
  EXPECT_TRUE(ParseCommand("tray refuse on").on);
  EXPECT_EQ(ParseCommand("click double").click, TClickKind::Double);
  const TCommand report = ParseCommand("report 0x0101 0x060000FF");
  EXPECT_EQ(report.kind, TCommandKind::Report);
  EXPECT_EQ(report.wparam, 0x0101);
  EXPECT_EQ(report.lparam, 0x060000FF);
  const TCommand post = ParseCommand("post 1135 47215 0x5C2E71B4");
  EXPECT_EQ(post.message, 1135u);
  EXPECT_EQ(ParseCommand("answer AUDIO_OUT  Speakers (USB) ").text, "AUDIO_OUT  Speakers (USB) ");
  EXPECT_EQ(ParseCommand("menu-char x").text, "x");
  EXPECT_EQ(ParseCommand("dialog").kind, TCommandKind::Dialog);
  EXPECT_EQ(ParseCommand("tabs").kind, TCommandKind::Tabs);
  EXPECT_EQ(ParseCommand("about").kind, TCommandKind::About);
  EXPECT_EQ(ParseCommand("key 0x09").wparam, 9);
  EXPECT_EQ(ParseCommand("  # note").kind, TCommandKind::Nothing);
  const TCommand slide = ParseCommand("slide in 40000");
  EXPECT_EQ(slide.kind, TCommandKind::Slide);
  EXPECT_EQ(slide.part, TPanelPart::In);
  EXPECT_EQ(slide.wparam, 40000);
  const TCommand choice = ParseCommand("choose ring 2");
  EXPECT_EQ(choice.kind, TCommandKind::Choose);
  EXPECT_EQ(choice.part, TPanelPart::Ring);
  EXPECT_EQ(choice.wparam, 2);
  EXPECT_EQ(ParseCommand("toggle out").part, TPanelPart::Out);
  EXPECT_EQ(ParseCommand("list ring").kind, TCommandKind::List);
  EXPECT_EQ(ParseCommand("press default").kind, TCommandKind::Press);
  const TCommand watch = ParseCommand("watch off");
  EXPECT_EQ(watch.kind, TCommandKind::Watch);
  EXPECT_FALSE(watch.on);
  EXPECT_TRUE(ParseCommand("watch on").on);
  EXPECT_EQ(ParseCommand("watch maybe").kind, TCommandKind::Invalid);
  for (const char* bad : {"tray", "tray maybe", "click twice", "report 1", "post 70000 0 0", "sleep -1", "menu-char xy",
                          "key 0", "key 256", "look now", "tabs 1", "about page", "hello", "slide ring 5", "slide out",
                          "slide out 70000", "toggle ring", "choose up 1", "list", "press ok"}) {
    EXPECT_EQ(ParseCommand(bad).kind, TCommandKind::Invalid) << bad;
  }
}

namespace {

// Tray data as Wine's shell32 lays it out: `icon_info` and `header` say where the icon's
// four numbers go and where the bitmaps start, `tip` where the tip text is. Pixels are
// 0xAARRGGBB; the first `red_pixels` of them red.
std::vector<unsigned char> TrayData(std::size_t icon_info, std::size_t header, std::size_t tip, std::uint32_t pixel,
                                    int red_pixels) {
  const std::uint32_t size = 16;
  const std::size_t mask = (size * size + 15) / 16 * 2;
  const std::size_t colour = size * size * 4;
  std::vector<unsigned char> data(header + mask + colour, 0);
  const std::uint32_t fields[] = {0x20056, 1, 7, 0x8001};
  std::memcpy(data.data(), fields, sizeof fields);
  const std::uint32_t icon[] = {size, size, 1, 32};
  std::memcpy(data.data() + icon_info, icon, sizeof icon);
  const char text[] = "Panel";
  for (std::size_t i = 0; text[i]; ++i) data[tip + 2 * i] = static_cast<unsigned char>(text[i]);
  for (std::size_t i = 0; i < size * size; ++i) {
    const std::uint32_t value = static_cast<int>(i) < red_pixels ? 0xFFE02020u : pixel;
    std::memcpy(data.data() + header + mask + 4 * i, &value, 4);
  }
  return data;
}

}  // namespace

TEST(TrayData, BothKnownLayoutsAreRead) {
  const auto old_layout = TrayData(944, 960, 16, 0xFF808080u, 40);
  const auto icon = DecodeTrayIconData(old_layout.data(), old_layout.size());
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->window, 0x20056u);
  EXPECT_EQ(icon->callback_message, 0x8001u);
  EXPECT_EQ(icon->tip, "Panel");
  EXPECT_EQ(icon->image, "red");

  const auto new_layout = TrayData(16, 976, 32, 0xFF808080u, 0);
  const auto grey = DecodeTrayIconData(new_layout.data(), new_layout.size());
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->tip, "Panel");
  EXPECT_EQ(grey->image, "grey");
}

TEST(TrayData, AFewRedPixelsDoNotMakeALitDisplayAndOddSizesAreRefused) {
  const auto speck = TrayData(944, 960, 16, 0xFF808080u, 3);
  EXPECT_EQ(DecodeTrayIconData(speck.data(), speck.size())->image, "grey");

  auto truncated = TrayData(944, 960, 16, 0xFF808080u, 0);
  truncated.pop_back();
  EXPECT_FALSE(DecodeTrayIconData(truncated.data(), truncated.size()));
  EXPECT_FALSE(DecodeTrayIconData(truncated.data(), 100));
  EXPECT_FALSE(DecodeTrayIconData(nullptr, 0));
}

TEST(TrayData, ATwoLineTipStaysOnOneLogLine) {
  EXPECT_EQ(TipOnOneLine("Panel\nReady"), "Panel\\nReady");
  EXPECT_EQ(TipOnOneLine("Panel\r\nIn a call"), "Panel\\nIn a call");
  EXPECT_EQ(TipOnOneLine("Panel"), "Panel");
}
