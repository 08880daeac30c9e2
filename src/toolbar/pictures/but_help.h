// The butHelp button ("Help!"): a red question mark on a yellow disc, and
// to its right the greyed copy drawn while the button is disabled.
// One character per pixel; see kPixelLegend in ui/pixmap.h ('.' is the button face).
#pragma once

#include "ui/pixmap.h"

namespace snipkit::pictures {

inline constexpr const char* kButHelpRows[] = {
    ".....oooooo..........dddddd.....",
    "...ooYYYYYYoo......dd......dd...",
    "..oYYYYYYYYYYo....d..........d..",
    ".oYYYYRRRRYYYYo..d.....dddd...d.",
    ".oYYYRRYYRRYYYo..d....ddWWdd..d.",
    "oYYYYYYYYRRYYYYod......WW.ddW..d",
    "oYYYYYYYRRYYYYYod........ddWW..d",
    "oYYYYYYRRYYYYYYod.......ddWW...d",
    "oYYYYYYRRYYYYYYod.......ddW....d",
    "oYYYYYYYYYYYYYYod........WW....d",
    "oYYYYYYRRYYYYYYod.......dd.....d",
    ".oYYYYYRRYYYYYo..d......ddW...d.",
    ".oYYYYYYYYYYYYo..d.......WW...d.",
    "..oYYYYYYYYYYo....d..........d..",
    "...ooYYYYYYoo......dd......dd...",
    ".....oooooo..........dddddd.....",
};

inline constexpr PixelArt kButHelp = MakePixelArt("butHelp", 32, 16, kButHelpRows);

}  // namespace snipkit::pictures
