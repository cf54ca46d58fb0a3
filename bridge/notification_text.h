#pragma once
// Reading Skype's notification texts: words, case and numbers.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr std::size_t kMaxNotificationWords = 11;

// Splits at single blanks into at most 11 words. Each word is trimmed of characters up to
// code 32; the first empty word ends the split, so a leading or doubled blank stops it.
std::vector<std::string> SplitWords(const std::string& text);

std::string UpperAscii(std::string text);
bool EqualsIgnoringCase(const std::string& a, const char* b);

// A call id as a signed 32-bit decimal number; nullopt when it is not one.
std::optional<std::int32_t> ParseCallNumber(const std::string& word);
