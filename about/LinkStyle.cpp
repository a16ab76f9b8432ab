#include "about/LinkStyle.h"

namespace corvelle {

bool ChangeStyleBits(uint32_t& style, uint32_t remove, uint32_t add) {
    if ((remove & add) != 0) return false;
    style = (style & ~remove) | add;
    return true;
}

ColorValue ChooseLinkColor(const LinkState& state, uint32_t style, const LinkPalette& palette) {
    if (state.hover && (style & LS_HOVERCOLOR) != 0) return palette.hover;
    if ((style & LS_NOACTIVECOLOR) == 0 && state.active) return palette.active;
    if (state.visited) return palette.visited;
    return palette.link;
}

}  // namespace corvelle
