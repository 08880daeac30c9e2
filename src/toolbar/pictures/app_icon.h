// The program's icon, shown on its taskbar button: the toolbar itself, a
// small window with three buttons on its black panel.
// One character per pixel; see kPixelLegend in ui/pixmap.h ('.' is transparent).
#pragma once

#include "ui/pixmap.h"

namespace snipkit::pictures {

inline constexpr const char* kAppIconRows[] = {
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    ".knnnnnnnnnnnnnnnnnnnnnnnnnnnnk.",
    ".knnnnnnnnnnnnnnnnnnnnnnnnsssnk.",
    ".knnnnnnnnnnnnnnnnnnnnnnnnsssnk.",
    ".knnnnnnnnnnnnnnnnnnnnnnnnnnnnk.",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    ".kWWWWWWWWWWWWWWWWWWWWWWWWWWWWk.",
    ".kWkkkkkkkkkkkkkkkkkkkkkkkkkkdk.",
    ".kWkkkkkkkkkkkkkkkkkkkkkkkkkkdk.",
    ".kWkWWWWWWWkWWWWWWWkWWWWWWWkkdk.",
    ".kWkWsssssdkWsssssdkWsssssdkkdk.",
    ".kWkWsGGGsdkWsYYYsdkWsRRRsdkkdk.",
    ".kWkWGGGGGdkWYYYYYdkWRRRRRdkkdk.",
    ".kWkWGGGGGdkWYYYYYdkWRRRRRdkkdk.",
    ".kWkWGGGGGdkWYYYYYdkWRRRRRdkkdk.",
    ".kWkWsGGGsdkWsYYYsdkWsRRRsdkkdk.",
    ".kWkWsssssdkWsssssdkWsssssdkkdk.",
    ".kWkWddddddkWddddddkWddddddkkdk.",
    ".kWkkkkkkkkkkkkkkkkkkkkkkkkkkdk.",
    ".kWkkkkkkkkkkkkkkkkkkkkkkkkkkdk.",
    ".kWdddddddddddddddddddddddddddk.",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

inline constexpr PixelArt kAppIcon = MakePixelArt("appIcon", 32, 32, kAppIconRows);

}  // namespace snipkit::pictures
