#pragma once
// The one look of every themed control: a light, flat palette with one accent colour, and
// the sizes the controls are drawn with, in 96-dpi pixels (scaled to the screen's dpi).
#include <cstdint>

namespace theme {

// 0x00BBGGRR, the layout of a Windows COLORREF.
constexpr std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

constexpr std::uint32_t kWindow = Rgb(243, 245, 248);      // the window and the page behind cards
constexpr std::uint32_t kCard = Rgb(255, 255, 255);        // group boxes and the page body
constexpr std::uint32_t kCardBorder = Rgb(222, 226, 232);
constexpr std::uint32_t kText = Rgb(31, 35, 40);
constexpr std::uint32_t kTextMuted = Rgb(96, 104, 115);    // unselected tabs, secondary lines
constexpr std::uint32_t kTextDisabled = Rgb(160, 167, 176);
constexpr std::uint32_t kAccent = Rgb(28, 110, 200);
constexpr std::uint32_t kAccentHot = Rgb(20, 92, 172);
constexpr std::uint32_t kAccentSoft = Rgb(226, 237, 250);  // hover and pressed fills
constexpr std::uint32_t kControlBorder = Rgb(196, 202, 211);
constexpr std::uint32_t kControlBorderHot = Rgb(140, 150, 163);
constexpr std::uint32_t kControlFill = Rgb(255, 255, 255);
constexpr std::uint32_t kControlFillPressed = Rgb(232, 236, 242);
constexpr std::uint32_t kChannel = Rgb(214, 219, 226);     // a track bar's empty channel
constexpr std::uint32_t kMenuHighlight = Rgb(229, 239, 251);

// Sizes.
constexpr int kCornerRadius = 6;        // cards
constexpr int kControlRadius = 4;       // buttons, boxes
constexpr int kCardCaptionHeight = 28;  // a group box's caption band
constexpr int kCheckBoxSize = 15;
constexpr int kThumbDiameter = 15;
constexpr int kChannelThickness = 4;
constexpr int kTabHeight = 30;
constexpr int kTabPadding = 14;         // left and right of a tab's caption
constexpr int kTabUnderline = 3;
constexpr int kFocusGap = 2;            // between a control and its focus ring
constexpr int kMenuItemHeight = 26;
constexpr int kMenuSeparatorHeight = 9;
constexpr int kMenuTextIndent = 14;

}  // namespace theme
