#include "viewer/SheetLayout.h"

#include <limits>

namespace corvelle {

int32_t ClampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

Rect32 ShrinkBy(const Rect32& r, SizeDelta delta) {
    Rect32 result = r;
    result.right = ClampToInt32(int64_t{r.right} - delta.dx);
    result.bottom = ClampToInt32(int64_t{r.bottom} - delta.dy);
    return result;
}

SheetFit PlanSheetFit(const Rect32& parentClient, const Rect32& sheet, const Rect32& tab,
                      const Rect32& page, bool force) {
    SheetFit fit;
    const int64_t parentWidth = Width(parentClient);
    const int64_t parentHeight = Height(parentClient);
    if (parentWidth == 0 || parentHeight == 0) {
        return fit;
    }
    fit.delta.dx = ClampToInt32(Width(sheet) - parentWidth);
    fit.delta.dy = ClampToInt32(Height(sheet) - parentHeight);
    if (fit.delta.dx == 0 && fit.delta.dy == 0 && !force) {
        return fit;
    }
    fit.apply = true;
    // The sheet keeps its own origin (0, 0 for a borderless child) and takes
    // the parent's size.
    fit.sheet.left = sheet.left;
    fit.sheet.top = sheet.top;
    fit.sheet.right = ClampToInt32(sheet.left + parentWidth);
    fit.sheet.bottom = ClampToInt32(sheet.top + parentHeight);
    fit.tab = ShrinkBy(tab, fit.delta);
    fit.page = ShrinkBy(page, fit.delta);
    return fit;
}

Rect32 PlacePageRect(const Rect32& pageAtOrigin, int32_t left, int32_t top) {
    Rect32 placed;
    placed.left = ClampToInt32(int64_t{pageAtOrigin.left} + left);
    placed.right = ClampToInt32(int64_t{pageAtOrigin.right} + left);
    placed.top = ClampToInt32(int64_t{pageAtOrigin.top} + top);
    placed.bottom = ClampToInt32(int64_t{pageAtOrigin.bottom} + top);
    return placed;
}

SizeDelta PageDelta(const Rect32& current, const Rect32& next) {
    SizeDelta delta;
    delta.dx = ClampToInt32(int64_t{current.right} - next.right);
    delta.dy = ClampToInt32(int64_t{current.bottom} - next.bottom);
    return delta;
}

}  // namespace corvelle
