// The commands table: what a key does on each page, for both front ends.
#include <gtest/gtest.h>

#include <string>

#include "model/Commands.h"

using namespace corvelle;

namespace {

struct KeyRow {
    const char* name;
    PageKind page;
    KeyStroke stroke;
    Command command;
    Route route;
    int shown;  // the page of kShowPage
};

constexpr KeyStroke Plain(uint32_t k) { return {k, false, false, false}; }
constexpr KeyStroke Ctrl(uint32_t k) { return {k, true, false, false}; }

const KeyRow kKeys[] = {
    {"WWrapsTheReportAndLeavesTheHostItsKey", PageKind::kReport, Plain('W'), Command::kToggleWrap,
     Route::kPageAndHost, -1},
    {"WWrapsTheText", PageKind::kText, Plain('W'), Command::kToggleWrap, Route::kPageAndHost, -1},
    {"CtrlWIsNoWrapAnywhere", PageKind::kReport, Ctrl('W'), Command::kNone, Route::kPage, -1},
    {"AltWIsNoWrap", PageKind::kRecords, {'W', false, true, false}, Command::kNone, Route::kPage, -1},
    {"TheAboutPageDoesNotWrap", PageKind::kAbout, Plain('W'), Command::kNone, Route::kPage, -1},
    {"TabGoesBetweenListAndPane", PageKind::kRecords, Plain(key::kTab), Command::kSwitchPane, Route::kPageAndHost,
     -1},
    {"TabIsTheHostsOnTheReport", PageKind::kReport, Plain(key::kTab), Command::kNone, Route::kPage, -1},
    {"TheRecordsPageCopiesItsRows", PageKind::kRecords, Ctrl('C'), Command::kCopy, Route::kPage, -1},
    {"CtrlInsertCopiesToo", PageKind::kRecords, Ctrl(key::kInsert), Command::kCopy, Route::kPage, -1},
    {"ElsewhereTheHostCopies", PageKind::kText, Ctrl('C'), Command::kCopy, Route::kHost, -1},
    {"SelectAllOnTheReportIsTheHosts", PageKind::kReport, Ctrl('A'), Command::kSelectAll, Route::kHost, -1},
    {"ShiftF10OpensTheExportMenu", PageKind::kRecords, {key::kF10, false, false, true}, Command::kExportMenu,
     Route::kPage, -1},
    {"F10AloneIsNoMenu", PageKind::kRecords, Plain(key::kF10), Command::kNone, Route::kPage, -1},
    {"TheMenuKeyHowEverHeld", PageKind::kRecords, Ctrl(key::kMenu), Command::kExportMenu, Route::kPage, -1},
    {"NoExportMenuOnTheReport", PageKind::kReport, Plain(key::kMenu), Command::kNone, Route::kPage, -1},
    {"EscapeClosesTheViewer", PageKind::kAbout, Plain(key::kEscape), Command::kCloseViewer, Route::kHost, -1},
    {"CtrlThreeIsTheThirdPage", PageKind::kReport, Ctrl('3'), Command::kShowPage, Route::kPageAndHost, 2},
    {"CtrlFourOfThreePagesIsNone", PageKind::kText, Ctrl('4'), Command::kNone, Route::kPage, -1},
    {"CtrlZeroIsNone", PageKind::kReport, Ctrl('0'), Command::kNone, Route::kPage, -1},
    {"ADigitAloneIsTheHosts", PageKind::kReport, Plain('1'), Command::kNone, Route::kPage, -1},
};

class KeyRows : public testing::TestWithParam<KeyRow> {};

TEST_P(KeyRows, MeanTheSameOnEveryPageThatHasThem) {
    const KeyRow& row = GetParam();
    const KeyAction action = ActionFor(row.page, row.stroke, 3);
    EXPECT_EQ(action.command, row.command);
    if (row.command != Command::kNone) EXPECT_EQ(action.route, row.route);
    EXPECT_EQ(action.page, row.shown);
}

INSTANTIATE_TEST_SUITE_P(Table, KeyRows, testing::ValuesIn(kKeys),
                         [](const testing::TestParamInfo<KeyRow>& info) { return std::string(info.param.name); });

}  // namespace
