#include "tools/desktopsim/tray_data.h"

#include <cstring>

namespace desktopsim {
namespace {

constexpr std::size_t kTipChars = 128;
// Wine 8's layout: hWnd, uID, uFlags, uCallbackMessage, szTip, ..., then width, height,
// planes and bpp of the icon at the end. Later ones put those four after uCallbackMessage
// and add four for a balloon icon at the end.
constexpr std::size_t kOldIconInfo = 944;
constexpr std::size_t kOldHeader = 960;
constexpr std::size_t kNewIconInfo = 16;
constexpr std::size_t kNewHeader = 976;

std::uint32_t Word(const unsigned char* bytes, std::size_t at) {
  std::uint32_t value;
  std::memcpy(&value, bytes + at, sizeof value);
  return value;
}

struct TBitmaps {
  std::size_t header;
  std::uint32_t width, height, planes, bpp;
  std::size_t mask_size, colour_size;
};

// The icon bitmaps if the header at `info` describes exactly the bytes that follow it.
std::optional<TBitmaps> BitmapsAt(const unsigned char* bytes, std::size_t size, std::size_t info, std::size_t header) {
  if (size < header) return std::nullopt;
  TBitmaps b{header, Word(bytes, info), Word(bytes, info + 4), Word(bytes, info + 8), Word(bytes, info + 12), 0, 0};
  if (b.width == 0 && b.height == 0 && size == header) return b;  // no icon
  if (b.width == 0 || b.width > 1024 || b.height == 0 || b.height > 1024 || b.planes != 1 || b.bpp == 0 || b.bpp > 32) {
    return std::nullopt;
  }
  b.mask_size = (static_cast<std::size_t>(b.width) * b.height + 15) / 16 * 2;
  b.colour_size = b.bpp == 1 ? 0 : (static_cast<std::size_t>(b.width) * b.height * b.bpp + 15) / 16 * 2;
  if (header + b.mask_size + b.colour_size != size) return std::nullopt;
  return b;
}

std::string ImageOf(const unsigned char* bytes, const TBitmaps& b) {
  if (b.colour_size == 0 || b.bpp != 32) return "none";
  const unsigned char* pixel = bytes + b.header + b.mask_size;
  std::size_t red = 0;
  for (std::size_t i = 0; i + 4 <= b.colour_size; i += 4) {
    const unsigned blue = pixel[i], green = pixel[i + 1], r = pixel[i + 2], alpha = pixel[i + 3];
    if (alpha > 128 && r > 170 && green < 110 && blue < 110) ++red;
  }
  // A lit display is a part of the picture even at 16 x 16; a stray pixel is not.
  return red * 50 >= static_cast<std::size_t>(b.width) * b.height ? "red" : "grey";
}

std::string TipAt(const unsigned char* bytes, std::size_t at) {
  std::string tip;
  for (std::size_t i = 0; i < kTipChars; ++i) {
    const unsigned code = bytes[at + 2 * i] | (bytes[at + 2 * i + 1] << 8);
    if (code == 0) break;
    tip += code < 0x100 ? static_cast<char>(code) : '?';
  }
  return tip;
}

}  // namespace

std::optional<TTrayIconData> DecodeTrayIconData(const void* data, std::size_t size) {
  if (data == nullptr) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::optional<TBitmaps> bitmaps = BitmapsAt(bytes, size, kNewIconInfo, kNewHeader);
  std::size_t tip_offset = kNewIconInfo + 16;
  if (!bitmaps) {
    bitmaps = BitmapsAt(bytes, size, kOldIconInfo, kOldHeader);
    tip_offset = 16;
  }
  if (!bitmaps) return std::nullopt;
  TTrayIconData out;
  out.window = Word(bytes, 0);
  out.id = Word(bytes, 4);
  out.flags = Word(bytes, 8);
  out.callback_message = Word(bytes, 12);
  out.tip = TipAt(bytes, tip_offset);
  out.image = ImageOf(bytes, *bitmaps);
  return out;
}

std::string TipOnOneLine(const std::string& tip) {
  std::string out;
  for (char c : tip) {
    if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

}  // namespace desktopsim
