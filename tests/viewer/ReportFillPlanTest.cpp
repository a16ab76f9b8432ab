// The decisions behind filling the dump page piece by piece: where a piece
// is cut, how the next piece is sized, when memory stops the fill, and what
// the page says meanwhile.
#include "viewer/ReportFillPlan.h"

#include <gtest/gtest.h>

namespace corvelle {
namespace {

struct CutRow {
    const char* name;
    const char* text;
    size_t start, wanted, end;
};

const CutRow kCuts[] = {
    {"AfterTheLastLineFeedInTheSpan", "ab\r\ncd\r\nef\r\n", 0, 9, 8},
    {"NeverBetweenCrAndLf", "ab\r\ncd\r\n", 0, 7, 4},
    {"ALongLineRunsOnToItsEnd", "abcdefgh\r\nij", 0, 3, 10},
    {"LastLineWithoutLineFeed", "ab\r\ncdefgh", 4, 2, 10},
    {"WantedBeyondTheEnd", "ab\r\ncd", 4, 100, 6},
    {"StartAtTheEnd", "ab\r\n", 4, 10, 4},
    {"StartPastTheEnd", "ab", 9, 10, 2},
    {"NothingWantedStillOneLine", "ab\r\ncd\r\n", 4, 0, 8},
};

class PieceCut : public testing::TestWithParam<CutRow> {};

TEST_P(PieceCut, EndsJustAfterALineEndWithinTheText) {
    const CutRow& row = GetParam();
    EXPECT_EQ(PieceEnd(row.text, row.start, row.wanted), row.end);
}

INSTANTIATE_TEST_SUITE_P(ReportFillPlan, PieceCut, testing::ValuesIn(kCuts),
                         [](const testing::TestParamInfo<CutRow>& info) { return info.param.name; });

TEST(ReportFillPlan, PieceSizeFollowsTheTimeWithinBounds) {
    EXPECT_EQ(NextPieceBytes(64000, 20.0), 96000u);    // faster than wanted
    EXPECT_EQ(NextPieceBytes(64000, 1.0), 128000u);    // at most doubled
    EXPECT_EQ(NextPieceBytes(128000, 600.0), 64000u);  // at most halved
    EXPECT_EQ(NextPieceBytes(64000, 0.0), 128000u);    // too quick to measure
    EXPECT_EQ(NextPieceBytes(100, 300.0), kSmallestPieceBytes);
    EXPECT_EQ(NextPieceBytes(kLargestPieceBytes, 1.0), kLargestPieceBytes);
    EXPECT_EQ(NextRepaintDelayMs(10.0), kRepaintIntervalMs);
    EXPECT_EQ(NextRepaintDelayMs(100.0), 400.0);  // rarer as repaints get dearer
}

TEST(ReportFillPlan, MemoryStopsAPieceThatWouldEatIntoTheMargins) {
    const uint64_t piece = 1000;
    const uint64_t need = piece * kControlBytesPerReportByte;
    const MemoryRoom plenty{kVirtualMarginBytes + need, kPhysicalMarginBytes + need};
    EXPECT_TRUE(RoomForPiece(plenty, std::nullopt, 0, piece));
    EXPECT_FALSE(RoomForPiece({plenty.availableVirtual - 1, plenty.availablePhysical}, std::nullopt, 0, piece));
    EXPECT_FALSE(RoomForPiece({plenty.availableVirtual, plenty.availablePhysical - 1}, std::nullopt, 0, piece));
    EXPECT_FALSE(RoomForPiece({0, 0}, std::nullopt, 0, piece));  // no figures
    // A budget counts what is shown already; huge counts must not wrap round.
    EXPECT_TRUE(RoomForPiece(plenty, 3 * need, 2 * piece, piece));
    EXPECT_FALSE(RoomForPiece(plenty, 3 * need - 1, 2 * piece, piece));
    EXPECT_FALSE(RoomForPiece(plenty, 3 * need, UINT64_MAX / 2, piece));
    EXPECT_FALSE(RoomForPiece({UINT64_MAX, UINT64_MAX}, std::nullopt, 0, UINT64_MAX / 2));
}

TEST(ReportFillPlan, BudgetIsAPlainPositiveNumberOfMegabytes) {
    EXPECT_EQ(ParseMemoryBudget("64"), 64ull << 20);
    for (const char* refused : {static_cast<const char*>(nullptr), "", "0", "-5", "12MB", " 8",
                                "99999999999999999999"}) {
        EXPECT_FALSE(ParseMemoryBudget(refused)) << (refused ? refused : "(null)");
    }
}

TEST(ReportFillPlan, PageSaysHowMuchIsShown) {
    EXPECT_EQ(ArrivingTabTitle("Image Dump", 250, 1000), "Image Dump (25%)");
    EXPECT_EQ(ArrivingTabTitle("Image Dump", 1000, 1000), "Image Dump (99%)");
    EXPECT_EQ(ArrivingTabTitle("Image Dump", 0, 0), "Image Dump (0%)");
    const std::string note = MemoryStopNote(1234, 567890);
    EXPECT_EQ(note.substr(0, 2), "\r\n");
    EXPECT_EQ(note.substr(note.size() - 2), "\r\n");
    for (const char* part : {"1234", "567890", "corvelle-dump"}) {
        EXPECT_NE(note.find(part), std::string::npos) << part;
    }
}

TEST(ReportFillPlan, CopyOfEverythingMeansTheWholeReportOnlyWhileTheControlHoldsLess) {
    EXPECT_TRUE(SelectionMeansWholeReport(0, -1, 500, false));
    EXPECT_TRUE(SelectionMeansWholeReport(0, 500, 500, false));
    EXPECT_FALSE(SelectionMeansWholeReport(0, 499, 500, false));  // a part the user chose
    EXPECT_FALSE(SelectionMeansWholeReport(1, 500, 500, false));
    EXPECT_FALSE(SelectionMeansWholeReport(0, -1, 500, true));    // the control has it all
    EXPECT_FALSE(SelectionMeansWholeReport(0, -1, 0, false));
}

}  // namespace
}  // namespace corvelle
