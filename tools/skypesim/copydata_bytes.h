#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace skypesim {

// The text of a received WM_COPYDATA: its bytes up to the first zero byte, never past size.
// A null buffer is an empty text.
std::string ReceivedText(const char* data, std::size_t size);

// Exactly size bytes for a raw WM_COPYDATA: the text, cut short or padded with 'x'. No zero
// byte is added, so a receiver that trusts one to be there reads past the buffer.
std::string RawBytes(std::size_t size, std::string_view text);

}  // namespace skypesim
