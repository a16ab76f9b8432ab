#include "about/LinkFit.h"

namespace corvelle {

WindowPlacement FitWindowToText(const LinkFitInput& input) {
    PixelRect r = input.window;
    const int32_t borderX = (r.right - r.left) - input.client.cx;
    const int32_t borderY = (r.bottom - r.top) - input.client.cy;

    if ((input.staticStyle & kStaticCenterImage) != 0) {
        const int32_t d = ((r.bottom - r.top) - input.text.cy) / 2;
        r.top += d;
        r.bottom -= d;
    } else {
        r.bottom = r.top + input.text.cy;
    }

    if ((input.staticStyle & kStaticCenter) != 0) {
        const int32_t d = ((r.right - r.left) - input.text.cx) / 2;
        r.left += d;
        r.right -= d;
    } else if ((input.staticStyle & kStaticRight) != 0) {
        r.left = r.right - input.text.cx;
    } else {
        r.right = r.left + input.text.cx;
    }

    WindowPlacement placement;
    placement.x = r.left;
    placement.y = r.top;
    placement.width = (r.right - r.left) + borderX;
    placement.height = (r.bottom - r.top) + borderY;
    return placement;
}

}  // namespace corvelle
