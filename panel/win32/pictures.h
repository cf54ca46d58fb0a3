#pragma once
// The panel's own small pictures, drawn in the theme: the loudness signs at the ends of
// the volume track bars and the maker's logo on the About page.
#include <windows.h>

#include "skin/win32/gdi.h"

// A loudspeaker with `waves` sound waves (0 for quiet, 2 for loud).
void PaintLoudness(TPaintBuffer& buffer, const RECT& area, int waves, bool enabled);
// A round mark and the maker's name beside it.
void PaintLogo(TPaintBuffer& buffer, const RECT& area);
