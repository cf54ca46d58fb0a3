#pragma once
// The texts of the Skype commands that the bridge builds from numbers.
#include <cstdint>
#include <optional>
#include <string>

// The command that a deferred WM_SKYPEQUERY stands for; none for an unknown query.
std::optional<std::string> SkypeQueryCommand(std::intptr_t query, std::int32_t argument);
