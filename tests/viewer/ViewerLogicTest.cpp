// The viewer's rules, built everywhere: key routing, the hook's message filter and the
// pre-translation walk, the sheet's layout and styles, the rich-edit formats, the one owner
// type for handles.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "viewer/KeyRouting.h"
#include "viewer/RichEditDefaults.h"
#include "viewer/SheetLayout.h"
#include "viewer/SheetStyle.h"
#include "base/UniqueHandle.h"

using namespace corvelle;

namespace {

TEST(RouteSheetKey, EveryVirtualKey) {
    std::map<uint32_t, KeyRoute> routes;  // a key not listed stays in the viewer
    for (uint32_t key = 0x30; key <= 0x5A; ++key) routes[key] = KeyRoute::ForwardAndConsume;  // digits, letters
    for (uint32_t key = 0x60; key <= 0x6F; ++key) routes[key] = KeyRoute::ForwardAndConsume;  // the keypad
    for (uint32_t key : {0x1Bu, 0x2Eu, 0x20u}) routes[key] = KeyRoute::ForwardAndConsume;    // Esc, Del, Space
    for (uint32_t key : {0x25u, 0x26u, 0x27u, 0x28u, 0x0Du, 0x09u}) routes[key] = KeyRoute::ForwardAndKeep;
    for (uint32_t key = 0; key <= 0xFF; ++key) {
        const auto listed = routes.find(key);
        const KeyRoute expected = listed == routes.end() ? KeyRoute::Keep : listed->second;
        EXPECT_EQ(RouteSheetKey(key), expected) << "key 0x" << std::hex << key;
    }
}

TEST(HookTakesMessage, KeyboardAndEditCommandsTakenOffTheQueue) {
    const struct { int code; uintptr_t remove; uint32_t message; bool taken; } kCases[] = {{0, 1, 0x100, true},
        {0, 1, 0x102, true}, {0, 1, 0x108, true}, {0, 1, 0x109, false}, {0, 1, 0x0FF, false}, {0, 1, 0x0B1, true},
        {0, 1, 0x301, true}, {0, 1, 0x302, false}, {0, 1, 0x201, false}, {0, 0, 0x100, false}, {0, 3, 0x100, true},
        {-1, 1, 0x100, false}, {1, 1, 0x100, true}};
    for (const auto& c : kCases) EXPECT_EQ(HookTakesMessage(c.code, c.remove, c.message), c.taken) << c.message;
}

// Windows are integers: 5 (control) -> 4 (page) -> 3 (sheet) -> 2 (frame) -> 1 (Lister) -> 0 (none).
// The plug-in's windows have an object, which says whether it claims the message.
TEST(WalkPreTranslateChain, AsksThePlugInsWindowsUpwardsUntilOneHandles) {
    const struct { int target; std::map<int, bool> objects; bool handled; std::vector<int> asked; } kCases[] = {
        {0, {{4, true}}, false, {}},                                    // no target
        {5, {}, false, {}},                                             // foreign windows only
        {5, {{4, true}, {3, true}, {2, false}}, true, {4}},             // the page handles
        {5, {{4, false}, {3, true}, {2, false}}, true, {4, 3}},         // the sheet does
        {5, {{4, false}, {3, false}, {2, false}}, false, {4, 3, 2}},    // nobody does
        {5, {{3, true}}, true, {3}},                                    // a foreign control is passed over
        {1, {{4, true}, {3, true}}, false, {}}};                        // the host's window
    for (const auto& c : kCases) {
        std::map<int, bool> objects = c.objects;
        std::vector<int> asked;
        const auto objectOf = [&objects](int window) {
            const auto found = objects.find(window);
            return found == objects.end() ? nullptr : &*found;
        };
        const auto translate = [&asked](std::pair<const int, bool>* object) {
            asked.push_back(object->first);
            return object->second;
        };
        EXPECT_EQ(WalkPreTranslateChain(c.target, [](int window) { return window - 1; }, objectOf, translate),
                  c.handled);
        EXPECT_EQ(asked, c.asked);
    }
}

// A 600 x 400 sheet whose tab control and page keep 7 and 11 pixels to its right and bottom.
TEST(PlanSheetFit, TheSheetTakesTheParentsSizeAndItsControlsFollow) {
    const Rect32 sheet{0, 0, 600, 400}, tab{7, 7, 593, 393}, page{11, 29, 589, 389};
    const struct { const char* name; Rect32 parent, sheet; bool force, apply; SizeDelta delta; Rect32 fit; }
        kCases[] = {
        {"ParentShrinks", {0, 0, 550, 380}, sheet, false, true, {50, 20}, {0, 0, 550, 380}},
        {"SameSizeUnforced", {0, 0, 600, 400}, sheet, false, false, {}, {}},
        {"SameSizeForced", {0, 0, 600, 400}, sheet, true, true, {0, 0}, sheet},
        {"ZeroWidthParent", {0, 0, 0, 400}, sheet, true, false, {}, {}},
        {"ZeroHeightParent", {0, 0, 600, 0}, sheet, true, false, {}, {}},
        {"ParentSmallerThanMargins", {0, 0, 10, 10}, sheet, false, true, {590, 390}, {0, 0, 10, 10}},
        {"SheetOriginKept", {0, 0, 700, 500}, {2, 3, 602, 403}, false, true, {-100, -100}, {2, 3, 702, 503}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const SheetFit fit = PlanSheetFit(c.parent, c.sheet, tab, page, c.force);
        ASSERT_EQ(fit.apply, c.apply);
        if (!c.apply) continue;
        EXPECT_EQ(std::make_pair(fit.delta.dx, fit.delta.dy), std::make_pair(c.delta.dx, c.delta.dy));
        EXPECT_EQ(fit.sheet, c.fit);
        const int32_t width = c.parent.right - c.parent.left, height = c.parent.bottom - c.parent.top;
        EXPECT_EQ(fit.tab, (Rect32{7, 7, width - 7, height - 7}));
        EXPECT_EQ(fit.page, (Rect32{11, 29, width - 11, height - 11}));
    }
    const int32_t lo = INT32_MIN, hi = INT32_MAX;
    const SheetFit extreme = PlanSheetFit({lo, lo, hi, hi}, {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}, false);
    EXPECT_TRUE(extreme.apply);
    EXPECT_EQ(extreme.delta.dx, lo);
    EXPECT_EQ(extreme.sheet, (Rect32{0, 0, hi, hi}));
    EXPECT_EQ(extreme.tab, (Rect32{0, 0, hi, hi}));
}

// A page made at the origin, placed and resized by the sheet before it is first shown,
// then laid out: a control with 7-pixel margins keeps them.
TEST(PageLayout, PlacedThenResizedPageMovesItsControls) {
    const struct { int32_t left, top; Rect32 placed, next; } kCases[] = {  // larger; wider but lower
        {4, 24, {4, 24, 304, 224}, {4, 24, 324, 284}}, {0, 0, {0, 0, 300, 200}, {0, 0, 310, 190}}};
    for (const auto& c : kCases) {
        const Rect32 placed = PlacePageRect({0, 0, 300, 200}, c.left, c.top);
        EXPECT_EQ(placed, c.placed);
        const Rect32 control{placed.left + 7, placed.top + 7, placed.right - 7, placed.bottom - 7};
        const Rect32 moved{control.left, control.top, c.next.right - 7, c.next.bottom - 7};
        EXPECT_EQ(ShrinkBy(control, PageDelta(placed, c.next)), moved) << c.next.right << " " << c.next.bottom;
    }
}

TEST(SheetStyle, ChildSheetAndTemplateKeepingItsFontFlag) {
    EXPECT_EQ(SheetCreateStyle(true), 0x54000000u);   // child, visible, clipping siblings
    EXPECT_EQ(SheetCreateStyle(false), 0x5C000000u);  // disabled while the Lister is in the background
    const uint32_t child = kWsChild | kWsVisible | kWsClipSiblings;
    const uint32_t sheetTemplate = 0x80C80000 | 0x2000 | 0x0004 | 0x0080;  // popup, caption, modal frame ...
    const struct { uint32_t templateStyle, wanted, written; } kCases[] = {
        {sheetTemplate | kDsSetFont, child, child | kDsSetFont}, {sheetTemplate, child, child},
        {sheetTemplate, child | kDsSetFont, child},
        {sheetTemplate | kDsSetFont, child | kWsDisabled, child | kWsDisabled | kDsSetFont}};
    for (const auto& c : kCases) EXPECT_EQ(ReplaceTemplateStyle(c.templateStyle, c.wanted), c.written) << c.wanted;
}

// What the control answers before anything is set: a mask of valid attributes, no effects,
// 10 points in a face of its own.
constexpr uint32_t kMask = 0x7800003F;

TEST(ApplyListerFont, SetsOnlyWhatTheHostFontGives) {
    const struct { ListerFont font; bool changed; uint32_t mask, effects; int height; const char* face; } kRows[] = {
        {{"", 0, 0, 0}, false, kMask, 0, 200, "System"},
        {{"", 0, 1, 0}, true, kMask | kCfmBold, kCfeBold, 200, "System"},
        {{"", 0, 0, 1}, true, kMask | kCfmItalic, kCfeItalic, 200, "System"},
        {{"", 240, 0, 0}, true, kCfmSize, 0, 240, "System"},  // a height replaces the mask
        {{"Courier New", 0, 0, 0}, true, kMask | kCfmFace, 0, 200, "Courier New"},
        {{"Lucida", 180, 1, 1}, true, kCfmSize | kCfmFace | kCfmBold | kCfmItalic, kCfeBold | kCfeItalic, 180,
         "Lucida"},
        {{"", 0, 2, -1}, true, kMask | kCfmBold | kCfmItalic, kCfeBold | kCfeItalic, 200, "System"},
        {{"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd", 0, 0, 0}, true, kMask | kCfmFace, 0, 200,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"}};  // a face of 40 is cut to 31
    for (const auto& c : kRows) {
        CharFormatFields fields{kMask, 0, 200, "System"};
        EXPECT_EQ(ApplyListerFont(fields, c.font), c.changed) << c.font.szFaceName;
        EXPECT_EQ(std::make_tuple(fields.mask, fields.effects, fields.height, std::string(fields.faceName)),
                  std::make_tuple(c.mask, c.effects, c.height, std::string(c.face))) << c.font.szFaceName;
    }
    char face[8] = "#######";  // a face field without a zero is copied up to the field's end, not past it
    EXPECT_EQ(CopyCutText(face, sizeof face, "abcdef", 4), 4u);
    EXPECT_STREQ(face, "abcd");
}

TEST(RichEditLimits, TabStopCountAndTextLimit) {
    const struct { int count; bool haveList; int usable; } kTabs[] = {
        {4, true, 4}, {0, true, 0}, {-3, true, 0}, {32, true, 32}, {33, true, 32}, {4, false, 0}};
    for (const auto& c : kTabs) EXPECT_EQ(UsableTabCount(c.count, c.haveList), c.usable) << c.count << c.haveList;
    // The text is never cut: the limit is the default or the text's length, up to the largest signed count.
    const struct { size_t length; uint32_t limit; } kLimits[] = {
        {0, 0x10000}, {1200, 0x10000}, {0x10000, 0x10000}, {0x10001, 0x10001}, {0x7FFFFFFF, 0x7FFFFFFF},
        {0xFFFFFFFFu, 0x7FFFFFFF}};
    for (const auto& c : kLimits) EXPECT_EQ(TextLimitFor(c.length), c.limit) << c.length;
}

std::vector<int> g_closed;  // every close, in order

struct FakeTraits {  // handles are integers, -1 is "none"
    using Handle = int;
    static Handle Invalid() { return -1; }
    static void Close(Handle handle) { g_closed.push_back(handle); }
};
using Fake = UniqueHandle<FakeTraits>;

static_assert(!std::is_copy_constructible_v<Fake> && !std::is_copy_assignable_v<Fake> &&
              std::is_nothrow_move_constructible_v<Fake>);

TEST(UniqueHandle, ClosesEachHandleOnce) {
    const struct { const char* name; std::function<void()> scenario; std::vector<int> closed; } kCases[] = {
        {"EmptyClosesNothing", [] { Fake a; }, {}},
        {"MoveConstruct", [] { Fake a(1); Fake b(std::move(a)); }, {1}},
        {"MoveAssignClosesTheTarget", [] { Fake a(1), b(2); b = std::move(a); EXPECT_FALSE(a); }, {2, 1}},
        {"SelfMoveKeeps", [] { Fake a(3); Fake& alias = a; a = std::move(alias); EXPECT_EQ(a.Get(), 3); }, {3}},
        {"ResetClosesTheOldOneAtOnce", [] { Fake a(1); a.Reset(2); EXPECT_EQ(g_closed.size(), 1u); }, {1, 2}},
        {"ResetToTheSameHandleKeepsIt", [] { Fake a(4); a.Reset(4); }, {4}},
        {"ResetToNothing", [] { Fake a(5); a.Reset(); EXPECT_FALSE(a.IsValid()); }, {5}},
        {"ReleaseGivesUpOwnership", [] { Fake a(6); EXPECT_EQ(a.Release(), 6); EXPECT_FALSE(a); }, {}},
        {"ZeroIsAHandle", [] { Fake a(0); EXPECT_TRUE(a); }, {0}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        g_closed.clear();
        c.scenario();
        EXPECT_EQ(g_closed, c.closed);
    }
}

}  // namespace
