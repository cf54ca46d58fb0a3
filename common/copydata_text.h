#pragma once
// Text carried by WM_COPYDATA: 8-bit text plus one terminating zero byte counted in cbData.
#include <cstddef>
#include <string>
#include <vector>

namespace copydata {

// The text a sender put into a WM_COPYDATA buffer: the bytes up to the first zero byte,
// never more than `size` bytes (a sender may omit the zero byte or lie about the size).
std::string TextFrom(const void* data, std::size_t size);

// A private buffer for sending `text`: the text followed by one zero byte.
std::vector<char> PayloadFor(const std::string& text);

}  // namespace copydata
