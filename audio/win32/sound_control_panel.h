#pragma once
#include <cstdint>

// Starts the Windows sound control panel in a process of its own, not waited for; a
// failure is not reported. `os_kind` as FOsKind.
void StartSoundControlPanel(std::uint8_t os_kind);
