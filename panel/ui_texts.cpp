#include "panel/ui_texts.h"

#include "panel/instance_names.h"

namespace {

const char* const UiTextTable[kUiTextCount] = {
    panel_instance::kApplicationTitle,
    "Setup",
    "About",
    "USB Phone",
    "Speaker Volume:",
    "Mic. Volume:",
    "Skype Sound Device",
    "Output:",
    "Input:",
    "Ringing:",
    "Windows default sound device:",
    "Default",
    "&Setup",
    "&About",
    "E&xit",
    "Windows default sound device",
};

}  // namespace

const char* UiText(TUiText index) { return UiTextTable[index]; }
