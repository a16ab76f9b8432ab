// The arithmetic of the sheet filling its parent and of a page following the
// sheet: deltas, margins, the first-show placement, empty parents, and
// coordinates at the edges of the 32-bit range.
#include "viewer/SheetLayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>

namespace corvelle {

std::ostream& operator<<(std::ostream& out, const Rect32& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

struct FitRow {
    const char* name;
    Rect32 parent;
    Rect32 sheet;
    Rect32 tab;
    Rect32 page;
    bool force;
    bool apply;
    SizeDelta delta;
    Rect32 newSheet;
    Rect32 newTab;
    Rect32 newPage;
};

const FitRow kFitRows[] = {
    {"ParentGrows", {0, 0, 700, 500}, {0, 0, 600, 400}, {7, 7, 593, 393}, {11, 29, 589, 389},
     false, true, {-100, -100}, {0, 0, 700, 500}, {7, 7, 693, 493}, {11, 29, 689, 489}},
    {"ParentShrinks", {0, 0, 550, 380}, {0, 0, 600, 400}, {7, 7, 593, 393}, {11, 29, 589, 389},
     false, true, {50, 20}, {0, 0, 550, 380}, {7, 7, 543, 373}, {11, 29, 539, 369}},
    {"OnlyWidthChanges", {0, 0, 640, 400}, {0, 0, 600, 400}, {7, 7, 593, 393},
     {11, 29, 589, 389}, false, true, {-40, 0}, {0, 0, 640, 400}, {7, 7, 633, 393},
     {11, 29, 629, 389}},
    {"SameSizeUnforcedDoesNothing", {0, 0, 600, 400}, {0, 0, 600, 400}, {7, 7, 593, 393},
     {11, 29, 589, 389}, false, false, {0, 0}, {}, {}, {}},
    {"SameSizeForcedReapplies", {0, 0, 600, 400}, {0, 0, 600, 400}, {7, 7, 593, 393},
     {11, 29, 589, 389}, true, true, {0, 0}, {0, 0, 600, 400}, {7, 7, 593, 393},
     {11, 29, 589, 389}},
    {"ZeroWidthParentDoesNothing", {0, 0, 0, 400}, {0, 0, 600, 400}, {7, 7, 593, 393},
     {11, 29, 589, 389}, true, false, {0, 0}, {}, {}, {}},
    {"ZeroHeightParentDoesNothing", {0, 0, 600, 0}, {0, 0, 600, 400}, {7, 7, 593, 393},
     {11, 29, 589, 389}, true, false, {0, 0}, {}, {}, {}},
    {"ParentSmallerThanMarginsGivesNegativeSizes", {0, 0, 10, 10}, {0, 0, 600, 400},
     {7, 7, 593, 393}, {11, 29, 589, 389}, false, true, {590, 390}, {0, 0, 10, 10},
     {7, 7, 3, 3}, {11, 29, -1, -1}},
    {"SheetOriginIsKept", {0, 0, 700, 500}, {2, 3, 602, 403}, {7, 7, 593, 393},
     {11, 29, 589, 389}, false, true, {-100, -100}, {2, 3, 702, 503}, {7, 7, 693, 493},
     {11, 29, 689, 489}},
};

class SheetFitTest : public testing::TestWithParam<FitRow> {};

TEST_P(SheetFitTest, PlansLayout) {
    const FitRow& row = GetParam();
    SheetFit fit = PlanSheetFit(row.parent, row.sheet, row.tab, row.page, row.force);
    ASSERT_EQ(fit.apply, row.apply);
    if (!row.apply) return;
    EXPECT_EQ(fit.delta.dx, row.delta.dx);
    EXPECT_EQ(fit.delta.dy, row.delta.dy);
    EXPECT_EQ(fit.sheet, row.newSheet);
    EXPECT_EQ(fit.tab, row.newTab);
    EXPECT_EQ(fit.page, row.newPage);
    // The tab control and the page keep their margins to the sheet's edges.
    EXPECT_EQ(fit.sheet.right - fit.tab.right, row.sheet.right - row.tab.right);
    EXPECT_EQ(fit.sheet.bottom - fit.page.bottom, row.sheet.bottom - row.page.bottom);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SheetFitTest, testing::ValuesIn(kFitRows),
                         [](const testing::TestParamInfo<FitRow>& info) { return info.param.name; });

TEST(SheetFitTest, ExtremeCoordinatesDoNotOverflow) {
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    SheetFit fit = PlanSheetFit({lo, lo, hi, hi}, {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}, false);
    ASSERT_TRUE(fit.apply);
    EXPECT_EQ(fit.delta.dx, lo);
    EXPECT_EQ(fit.sheet.right, hi);
    EXPECT_EQ(fit.tab.right, hi);
}

// A page created at the origin, placed and enlarged by the sheet before it is
// first shown, then laid out: its controls must grow by the enlargement.
struct PageRow {
    const char* name;
    Rect32 atOrigin;
    int32_t placedLeft;
    int32_t placedTop;
    Rect32 placed;
    Rect32 next;
    SizeDelta delta;
};

const PageRow kPageRows[] = {
    {"PlacedAndEnlarged", {0, 0, 300, 200}, 4, 24, {4, 24, 304, 224}, {4, 24, 324, 284},
     {-20, -60}},
    {"NarrowerAndShorter", {0, 0, 300, 200}, 4, 24, {4, 24, 304, 224}, {4, 24, 254, 204},
     {50, 20}},
    {"UnchangedSize", {0, 0, 300, 200}, 4, 24, {4, 24, 304, 224}, {4, 24, 304, 224}, {0, 0}},
    {"NotMovedByTheSheet", {0, 0, 300, 200}, 0, 0, {0, 0, 300, 200}, {0, 0, 310, 190},
     {-10, 10}},
};

class PageRectTest : public testing::TestWithParam<PageRow> {};

TEST_P(PageRectTest, FollowsTheSheet) {
    const PageRow& row = GetParam();
    Rect32 placed = PlacePageRect(row.atOrigin, row.placedLeft, row.placedTop);
    EXPECT_EQ(placed, row.placed);
    SizeDelta delta = PageDelta(placed, row.next);
    EXPECT_EQ(delta.dx, row.delta.dx);
    EXPECT_EQ(delta.dy, row.delta.dy);
    // A control with 7-pixel margins in the placed page keeps them.
    Rect32 control{placed.left + 7, placed.top + 7, placed.right - 7, placed.bottom - 7};
    Rect32 moved = ShrinkBy(control, delta);
    EXPECT_EQ(moved.left, control.left);
    EXPECT_EQ(moved.top, control.top);
    EXPECT_EQ(row.next.right - moved.right, 7);
    EXPECT_EQ(row.next.bottom - moved.bottom, 7);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageRectTest, testing::ValuesIn(kPageRows),
                         [](const testing::TestParamInfo<PageRow>& info) { return info.param.name; });

struct ClampRow {
    const char* name;
    int64_t value;
    int32_t clamped;
};

const ClampRow kClampRows[] = {
    {"Zero", 0, 0},
    {"Negative", -5, -5},
    {"Largest", 2147483647LL, 2147483647},
    {"AboveLargest", 2147483648LL, 2147483647},
    {"Smallest", -2147483648LL, std::numeric_limits<int32_t>::min()},
    {"BelowSmallest", -4294967296LL, std::numeric_limits<int32_t>::min()},
};

class ClampTest : public testing::TestWithParam<ClampRow> {};

TEST_P(ClampTest, ClampsIntoRectRange) {
    EXPECT_EQ(ClampToInt32(GetParam().value), GetParam().clamped);
}

INSTANTIATE_TEST_SUITE_P(Values, ClampTest, testing::ValuesIn(kClampRows),
                         [](const testing::TestParamInfo<ClampRow>& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
