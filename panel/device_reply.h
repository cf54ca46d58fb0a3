#pragma once
// Which of Skype's three sound devices a text relayed by the bridge answers for.
#include <optional>
#include <string>

enum class TDeviceKind { Output, Input, Ringer };

// Looks for "AUDIO_IN ", then "AUDIO_OUT ", then "RINGER " anywhere in the text (case
// matters, the blank too); none of them: not a device answer.
std::optional<TDeviceKind> DeviceReplyKind(const std::string& text);
