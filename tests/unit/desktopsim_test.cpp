// desktopsim: its commands, and the tray icon data it reads from Wine's Shell_NotifyIcon.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tools/desktopsim/commands.h"
#include "tools/desktopsim/tray_data.h"

using namespace desktopsim;

TEST(DesktopsimCommands, WordsNumbersAndVerbatimText) {
  EXPECT_EQ(parseCommand("tray on").kind, CommandKind::TrayOn);
  EXPECT_TRUE(parseCommand("tray refuse on").on);
  EXPECT_EQ(parseCommand("click double").click, ClickKind::Double);
  const Command report = parseCommand("report 0x0101 0x060000FF");
  EXPECT_EQ(report.kind, CommandKind::Report);
  EXPECT_EQ(report.wParam, 0x0101);
  EXPECT_EQ(report.lParam, 0x060000FF);
  const Command post = parseCommand("post 1135 47215 0x5C2E71B4");
  EXPECT_EQ(post.message, 1135u);
  EXPECT_EQ(parseCommand("answer AUDIO_OUT  Speakers (USB) ").text, "AUDIO_OUT  Speakers (USB) ");
  EXPECT_EQ(parseCommand("menu-char x").text, "x");
  EXPECT_EQ(parseCommand("dialog").kind, CommandKind::Dialog);
  EXPECT_EQ(parseCommand("tabs").kind, CommandKind::Tabs);
  EXPECT_EQ(parseCommand("key 0x09").wParam, 9);
  EXPECT_EQ(parseCommand("  # note").kind, CommandKind::Nothing);
  const Command slide = parseCommand("slide in 40000");
  EXPECT_EQ(slide.kind, CommandKind::Slide);
  EXPECT_EQ(slide.part, PanelPart::In);
  EXPECT_EQ(slide.wParam, 40000);
  const Command choice = parseCommand("choose ring 2");
  EXPECT_EQ(choice.kind, CommandKind::Choose);
  EXPECT_EQ(choice.part, PanelPart::Ring);
  EXPECT_EQ(choice.wParam, 2);
  EXPECT_EQ(parseCommand("toggle out").part, PanelPart::Out);
  EXPECT_EQ(parseCommand("list ring").kind, CommandKind::List);
  EXPECT_EQ(parseCommand("press default").kind, CommandKind::Press);
  for (const char* bad : {"tray", "tray maybe", "click twice", "report 1", "post 70000 0 0", "sleep -1",
                          "menu-char xy", "key 0", "key 256", "look now", "tabs 1", "hello", "slide ring 5",
                          "slide out", "slide out 70000", "toggle ring", "choose up 1", "list",
                          "press ok"}) {
    EXPECT_EQ(parseCommand(bad).kind, CommandKind::Invalid) << bad;
  }
}

namespace {

// Tray data as Wine's shell32 lays it out: `icon_info` and `header` say where the icon's
// four numbers go and where the bitmaps start, `tip` where the tip text is. Pixels are
// 0xAARRGGBB; the first `red_pixels` of them red.
std::vector<unsigned char> TrayData(std::size_t icon_info, std::size_t header, std::size_t tip,
                                    std::uint32_t pixel, int red_pixels) {
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
  const auto icon = decodeTrayIconData(old_layout.data(), old_layout.size());
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->window, 0x20056u);
  EXPECT_EQ(icon->callbackMessage, 0x8001u);
  EXPECT_EQ(icon->tip, "Panel");
  EXPECT_EQ(icon->image, "red");

  const auto new_layout = TrayData(16, 976, 32, 0xFF808080u, 0);
  const auto grey = decodeTrayIconData(new_layout.data(), new_layout.size());
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->tip, "Panel");
  EXPECT_EQ(grey->image, "grey");
}

TEST(TrayData, AFewRedPixelsDoNotMakeALitDisplayAndOddSizesAreRefused) {
  const auto speck = TrayData(944, 960, 16, 0xFF808080u, 3);
  EXPECT_EQ(decodeTrayIconData(speck.data(), speck.size())->image, "grey");

  auto truncated = TrayData(944, 960, 16, 0xFF808080u, 0);
  truncated.pop_back();
  EXPECT_FALSE(decodeTrayIconData(truncated.data(), truncated.size()));
  EXPECT_FALSE(decodeTrayIconData(truncated.data(), 100));
  EXPECT_FALSE(decodeTrayIconData(nullptr, 0));
}

TEST(TrayData, ATwoLineTipStaysOnOneLogLine) {
  EXPECT_EQ(tipOnOneLine("Panel\nReady"), "Panel\\nReady");
  EXPECT_EQ(tipOnOneLine("Panel\r\nIn a call"), "Panel\\nIn a call");
  EXPECT_EQ(tipOnOneLine("Panel"), "Panel");
}
