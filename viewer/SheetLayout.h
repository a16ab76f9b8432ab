// The rectangle arithmetic of the resizable sheet and its pages, free of Win32
// so that it is checked natively. Coordinates are signed 32-bit as in a RECT;
// a parent smaller than the margins gives negative sizes, which are passed on
// unchanged (the windows then simply have no visible area).
#pragma once

#include <cstdint>

namespace corvelle {

struct Rect32 {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

inline bool operator==(const Rect32& a, const Rect32& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Width and height are computed in 64 bits: two extreme coordinates must not
// overflow the subtraction.
inline int64_t Width(const Rect32& r) { return int64_t{r.right} - r.left; }
inline int64_t Height(const Rect32& r) { return int64_t{r.bottom} - r.top; }

// How far a window is larger than the area it must fill: positive when it is
// larger, so its right and bottom edges move in by these amounts.
struct SizeDelta {
    int32_t dx = 0;
    int32_t dy = 0;
};

// Moves the right and bottom edges in by `delta`, keeping left and top: the
// window keeps its margins to the right and bottom edges of its container.
Rect32 ShrinkBy(const Rect32& r, SizeDelta delta);

// The layout of a sheet filling its parent's client area.
struct SheetFit {
    bool apply = false;  // false: the layout is left as it is
    SizeDelta delta;     // sheet size minus parent client size
    Rect32 sheet;        // new sheet window rectangle (parent's client coordinates)
    Rect32 tab;          // new tab control rectangle (sheet's client coordinates)
    Rect32 page;         // new active page rectangle (sheet's client coordinates)
};

// Plans FitToParent. `parentClient` is the parent's client rectangle, `sheet`
// the sheet's window rectangle in its own client coordinates, `tab` and
// `page` those windows' rectangles in the sheet's client coordinates. Nothing
// is done for an empty parent (a minimised Lister window) nor, unless
// `force`, when the sizes already match.
SheetFit PlanSheetFit(const Rect32& parentClient, const Rect32& sheet, const Rect32& tab,
                      const Rect32& page, bool force);

// The rectangle a page's controls are laid out for, once the sheet has put the
// page at (`left`, `top`): the template's rectangle at the origin, moved there.
Rect32 PlacePageRect(const Rect32& pageAtOrigin, int32_t left, int32_t top);

// How far the page's right and bottom edges move from `current` to `next`:
// old minus new, positive when the page becomes smaller.
SizeDelta PageDelta(const Rect32& current, const Rect32& next);

// Clamps a 64-bit difference into the 32-bit range of a RECT coordinate.
int32_t ClampToInt32(int64_t value);

}  // namespace corvelle
