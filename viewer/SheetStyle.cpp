#include "viewer/SheetStyle.h"

namespace corvelle {

uint32_t SheetCreateStyle(bool listerWindowIsActive) {
    uint32_t style = kWsChild | kWsVisible | kWsClipSiblings;
    if (!listerWindowIsActive) {
        style |= kWsDisabled;
    }
    return style;
}

uint32_t ReplaceTemplateStyle(uint32_t templateStyle, uint32_t wantedStyle) {
    return (wantedStyle & ~kDsSetFont) | (templateStyle & kDsSetFont);
}

}  // namespace corvelle
