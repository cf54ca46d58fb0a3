#pragma once
// What an application's Shell_NotifyIcon call carries to the notification area's window
// under Wine: Wine's shell32 sends it by WM_COPYDATA (dwData = the NIM_ action) in a layout
// of its own, with the icon's bitmaps after it. Two versions of that layout are known;
// which one came is told by the sizes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace desktopsim {

struct TTrayIconData {
  std::uint32_t window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callback_message = 0;
  std::string tip;    // 8-bit, as far as it goes
  std::string image;  // "red": the lit display; "grey"; "none" without icon bits
};

std::optional<TTrayIconData> DecodeTrayIconData(const void* data, std::size_t size);

// The tip for a log line: a line break shows as the two characters "\n".
std::string TipOnOneLine(const std::string& tip);

}  // namespace desktopsim
