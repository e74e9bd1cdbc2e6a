// The frame's own rules, free of any toolkit: what the Save button does and where the
// frame opens on the screen.
#pragma once

#include "app/FrameCommands.h"

namespace material {

// A rectangle in screen pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The Save button: a library without a file of its own is saved under a name asked
// for, any other is saved to its file.
void SaveFromToolbar(FrameCommands& commands);

// Twips (1/1440 inch) as pixels at `dotsPerInch`, rounded to the nearest pixel.
int TwipsToPixels(double twips, double dotsPerInch);

// Where the frame opens: 200 twips from the top-left corner of `screen`, 960 by 720
// pixels or less so that it ends inside `available` (the screen without its task bars).
ScreenRect FramePlacement(const ScreenRect& screen, const ScreenRect& available, double dpiX,
                          double dpiY);

}  // namespace material
