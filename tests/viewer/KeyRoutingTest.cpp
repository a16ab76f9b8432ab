// The keyboard rules of the viewer: which keys reach the host, which stay in
// the viewer, Ctrl+digit page selection, the hook's message filter and the
// pre-translation walk.
#include "viewer/KeyRouting.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace corvelle {
namespace {

struct KeyRow {
    const char* name;
    uint32_t key;
    KeyRoute route;
};

const KeyRow kKeyRows[] = {
    {"LetterA", 0x41, KeyRoute::ForwardAndConsume},
    {"LetterW", 0x57, KeyRoute::ForwardAndConsume},
    {"LetterZ", 0x5A, KeyRoute::ForwardAndConsume},
    {"Digit0", 0x30, KeyRoute::ForwardAndConsume},
    {"Digit9", 0x39, KeyRoute::ForwardAndConsume},
    {"UnassignedInsideLetters", 0x3A, KeyRoute::ForwardAndConsume},
    {"LeftWindowsKey", 0x5B, KeyRoute::Keep},
    {"Sleep", 0x5F, KeyRoute::Keep},
    {"Numpad0", 0x60, KeyRoute::ForwardAndConsume},
    {"NumpadMultiply", 0x6A, KeyRoute::ForwardAndConsume},
    {"NumpadDivide", 0x6F, KeyRoute::ForwardAndConsume},
    {"F1", 0x70, KeyRoute::Keep},
    {"F12", 0x7B, KeyRoute::Keep},
    {"Escape", 0x1B, KeyRoute::ForwardAndConsume},
    {"Delete", 0x2E, KeyRoute::ForwardAndConsume},
    {"Space", 0x20, KeyRoute::ForwardAndConsume},
    {"Insert", 0x2D, KeyRoute::Keep},
    {"Help", 0x2F, KeyRoute::Keep},
    {"Left", 0x25, KeyRoute::ForwardAndKeep},
    {"Up", 0x26, KeyRoute::ForwardAndKeep},
    {"Right", 0x27, KeyRoute::ForwardAndKeep},
    {"Down", 0x28, KeyRoute::ForwardAndKeep},
    {"Return", 0x0D, KeyRoute::ForwardAndKeep},
    {"Tab", 0x09, KeyRoute::ForwardAndKeep},
    {"PageUp", 0x21, KeyRoute::Keep},
    {"PageDown", 0x22, KeyRoute::Keep},
    {"End", 0x23, KeyRoute::Keep},
    {"Home", 0x24, KeyRoute::Keep},
    {"Backspace", 0x08, KeyRoute::Keep},
    {"Shift", 0x10, KeyRoute::Keep},
    {"Control", 0x11, KeyRoute::Keep},
    {"OemSemicolon", 0xBA, KeyRoute::Keep},
};

class SheetKeyRouteTest : public testing::TestWithParam<KeyRow> {};

TEST_P(SheetKeyRouteTest, RoutesKey) {
    const KeyRow& row = GetParam();
    EXPECT_EQ(RouteSheetKey(row.key), row.route) << "key 0x" << std::hex << row.key;
}

INSTANTIATE_TEST_SUITE_P(Keys, SheetKeyRouteTest, testing::ValuesIn(kKeyRows),
                         [](const testing::TestParamInfo<KeyRow>& info) { return info.param.name; });

TEST(SheetKeyRouteTest, EveryKeyOutsideTheTablesStaysInTheViewer) {
    std::map<uint32_t, KeyRoute> expected;
    for (uint32_t key = 0x30; key <= 0x5A; ++key) expected[key] = KeyRoute::ForwardAndConsume;
    for (uint32_t key = 0x60; key <= 0x6F; ++key) expected[key] = KeyRoute::ForwardAndConsume;
    for (uint32_t key : {0x1Bu, 0x2Eu, 0x20u}) expected[key] = KeyRoute::ForwardAndConsume;
    for (uint32_t key : {0x25u, 0x26u, 0x27u, 0x28u, 0x0Du, 0x09u}) {
        expected[key] = KeyRoute::ForwardAndKeep;
    }
    for (uint32_t key = 0; key <= 0xFF; ++key) {
        SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << key);
        auto it = expected.find(key);
        EXPECT_EQ(RouteSheetKey(key), it != expected.end() ? it->second : KeyRoute::Keep);
    }
}

struct CtrlDigitRow {
    const char* name;
    uint32_t key;
    int pageCount;
    int page;
};

const CtrlDigitRow kCtrlDigitRows[] = {
    {"OneSelectsFirstPage", 0x31, 2, 0},
    {"TwoSelectsSecondPage", 0x32, 2, 1},
    {"ZeroSelectsNothing", 0x30, 2, -1},
    {"ThreeBeyondTwoPages", 0x33, 2, -1},
    {"NineWithNinePages", 0x39, 9, 8},
    {"NineWithEightPages", 0x39, 8, -1},
    {"LetterIsNoDigit", 0x41, 2, -1},
    {"KeyBelowDigits", 0x2F, 2, -1},
    {"KeyAboveDigits", 0x3A, 20, -1},
    {"NumpadOneIsNoDigit", 0x61, 2, -1},
    {"NoPagesAtAll", 0x31, 0, -1},
};

class CtrlDigitTest : public testing::TestWithParam<CtrlDigitRow> {};

TEST_P(CtrlDigitTest, SelectsPage) {
    const CtrlDigitRow& row = GetParam();
    EXPECT_EQ(PageForCtrlDigit(row.key, row.pageCount), row.page);
}

INSTANTIATE_TEST_SUITE_P(Digits, CtrlDigitTest, testing::ValuesIn(kCtrlDigitRows),
                         [](const testing::TestParamInfo<CtrlDigitRow>& info) {
                             return info.param.name;
                         });

struct HookRow {
    const char* name;
    int code;
    uintptr_t remove;
    uint32_t message;
    bool taken;
};

const HookRow kHookRows[] = {
    {"KeyDownRemoved", 0, 1, 0x100, true},
    {"KeyUpRemoved", 0, 1, 0x101, true},
    {"CharRemoved", 0, 1, 0x102, true},
    {"SysKeyDownRemoved", 0, 1, 0x104, true},
    {"SysDeadCharRemoved", 0, 1, 0x107, true},
    {"LastKeyboardCode", 0, 1, 0x108, true},
    {"PastKeyboardRange", 0, 1, 0x109, false},
    {"BelowKeyboardRange", 0, 1, 0x0FF, false},
    {"SelectAllCommand", 0, 1, 0x0B1, true},
    {"CopyCommand", 0, 1, 0x301, true},
    {"PasteIsNotACommand", 0, 1, 0x302, false},
    {"MouseMessage", 0, 1, 0x201, false},
    {"KeyDownPeeked", 0, 0, 0x100, false},
    {"KeyDownRemovedNoYield", 0, 3, 0x100, true},
    {"NegativeCode", -1, 1, 0x100, false},
    {"PositiveCode", 1, 1, 0x100, true},
};

class HookFilterTest : public testing::TestWithParam<HookRow> {};

TEST_P(HookFilterTest, TakesMessage) {
    const HookRow& row = GetParam();
    EXPECT_EQ(HookTakesMessage(row.code, row.remove, row.message), row.taken);
}

INSTANTIATE_TEST_SUITE_P(Messages, HookFilterTest, testing::ValuesIn(kHookRows),
                         [](const testing::TestParamInfo<HookRow>& info) { return info.param.name; });

// A window tree of integers: 0 is "no window". Windows with an object are the
// plug-in's; `handles` says which of them claim the message.
struct FakeObject {
    int window;
    bool handles;
};

struct ChainRow {
    const char* name;
    int target;
    std::vector<FakeObject> objects;
    bool handled;
    std::vector<int> asked;  // the objects asked, in order
};

// Tree: 5 (control) -> 4 (page) -> 3 (sheet) -> 2 (frame) -> 1 (Lister) -> 0
const ChainRow kChainRows[] = {
    {"NullTargetIsNotHandled", 0, {{4, true}}, false, {}},
    {"ForeignWindowsOnly", 5, {}, false, {}},
    {"PageHandles", 5, {{4, true}, {3, true}, {2, false}}, true, {4}},
    {"PageDeclinesSheetHandles", 5, {{4, false}, {3, true}, {2, false}}, true, {4, 3}},
    {"NobodyHandles", 5, {{4, false}, {3, false}, {2, false}}, false, {4, 3, 2}},
    {"ForeignControlPassedOver", 5, {{3, true}}, true, {3}},
    {"TargetItselfHandles", 4, {{4, true}, {3, true}}, true, {4}},
    {"HostWindowTarget", 1, {{4, true}, {3, true}}, false, {}},
};

class ChainWalkTest : public testing::TestWithParam<ChainRow> {};

TEST_P(ChainWalkTest, WalksUpThroughParents) {
    const ChainRow& row = GetParam();
    std::vector<FakeObject> objects = row.objects;
    std::vector<int> asked;
    auto parentOf = [](int window) { return window - 1; };
    auto objectOf = [&objects](int window) -> FakeObject* {
        for (FakeObject& object : objects) {
            if (object.window == window) return &object;
        }
        return nullptr;
    };
    auto translate = [&asked](FakeObject* object) {
        asked.push_back(object->window);
        return object->handles;
    };
    EXPECT_EQ(WalkPreTranslateChain(row.target, parentOf, objectOf, translate), row.handled);
    EXPECT_EQ(asked, row.asked);
}

INSTANTIATE_TEST_SUITE_P(Trees, ChainWalkTest, testing::ValuesIn(kChainRows),
                         [](const testing::TestParamInfo<ChainRow>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace corvelle
