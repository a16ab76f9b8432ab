// Filling the dump page piece by piece: cuts, sizes, the memory stop, texts.
#include "viewer/ReportFillPlan.h"

#include <gtest/gtest.h>

namespace corvelle {
namespace {

TEST(ReportFillPlan, PiecesEndJustAfterALineEndWithinTheText) {
    struct Row { const char* text; size_t start, wanted, end; };
    const Row rows[] = {
        {"ab\r\ncd\r\nef\r\n", 0, 9, 8},  // after the last line feed in the span
        {"ab\r\ncd\r\n", 0, 7, 4},        // never between CR and LF
        {"abcdefgh\r\nij", 0, 3, 10},     // a long line runs on to its end
        {"ab\r\ncdefgh", 4, 2, 10},       // the last line has no line feed
        {"ab", 9, 10, 2},                 // a start past the end
        {"ab\r\ncd\r\n", 4, 0, 8},        // nothing wanted still takes a line
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.text << " from " << row.start << " wanting " << row.wanted);
        EXPECT_EQ(PieceEnd(row.text, row.start, row.wanted), row.end);
    }
}

TEST(ReportFillPlan, PieceSizeAndRepaintsFollowTheTimeWithinBounds) {
    EXPECT_EQ(NextPieceBytes(64000, 20.0), 96000u);  // faster than wanted
    // At most doubled (also when too quick to measure) or halved, within bounds.
    EXPECT_EQ(NextPieceBytes(64000, 1.0) + NextPieceBytes(64000, 0.0) + NextPieceBytes(128000, 600.0), 320000u);
    EXPECT_EQ(NextPieceBytes(100, 300.0), kSmallestPieceBytes);
    EXPECT_EQ(NextPieceBytes(kLargestPieceBytes, 1.0), kLargestPieceBytes);
    EXPECT_EQ(NextRepaintDelayMs(10.0), kRepaintIntervalMs);
    EXPECT_EQ(NextRepaintDelayMs(100.0), 400.0);  // rarer as repaints get dearer
}

TEST(ReportFillPlan, MemoryStopsAPieceThatWouldEatIntoTheMarginsOrTheBudget) {
    const uint64_t piece = 1000, need = piece * kControlBytesPerReportByte;
    const MemoryRoom room{kVirtualMarginBytes + need, kPhysicalMarginBytes + need};
    EXPECT_TRUE(RoomForPiece(room, std::nullopt, 0, piece));
    EXPECT_FALSE(RoomForPiece({room.availableVirtual - 1, room.availablePhysical}, std::nullopt, 0, piece));
    EXPECT_FALSE(RoomForPiece({room.availableVirtual, room.availablePhysical - 1}, std::nullopt, 0, piece));
    EXPECT_TRUE(RoomForPiece(room, 3 * need, 2 * piece, piece));  // the budget counts what is shown
    EXPECT_FALSE(RoomForPiece(room, 3 * need - 1, 2 * piece, piece));
    EXPECT_FALSE(RoomForPiece(room, 3 * need, UINT64_MAX / 2, piece));  // no wrapping round
    EXPECT_FALSE(RoomForPiece({UINT64_MAX, UINT64_MAX}, std::nullopt, 0, UINT64_MAX / 2));
    EXPECT_EQ(ParseMemoryBudget("64"), 64ull << 20);
    for (const char* refused : {"", "0", "-5", "12MB", " 8", "99999999999999999999"}) {
        EXPECT_FALSE(ParseMemoryBudget(refused)) << refused;
    }
    EXPECT_FALSE(ParseMemoryBudget(nullptr));
}

TEST(ReportFillPlan, PageSaysHowMuchIsShownAndCopiesTheWholeReportForEverything) {
    EXPECT_EQ(ArrivingTabTitle("Image Dump", 250, 1000), "Image Dump (25%)");
    EXPECT_EQ(ArrivingTabTitle("Image Dump", 1000, 1000) + ArrivingTabTitle("T", 0, 0), "Image Dump (99%)T (0%)");
    const std::string note = MemoryStopNote(1234, 567890);
    EXPECT_EQ(note.substr(0, 2) + note.substr(note.size() - 2), "\r\n\r\n");  // a line of its own
    for (const char* part : {" 1234 ", " 567890 ", "corvelle-dump"}) {
        EXPECT_NE(note.find(part), std::string::npos) << part;
    }

    EXPECT_TRUE(SelectionMeansWholeReport(0, -1, 500, false) && SelectionMeansWholeReport(0, 500, 500, false));
    EXPECT_FALSE(SelectionMeansWholeReport(0, 499, 500, false) || SelectionMeansWholeReport(1, 500, 500, false));
    EXPECT_FALSE(SelectionMeansWholeReport(0, -1, 500, true));  // the control has it all
    EXPECT_FALSE(SelectionMeansWholeReport(0, -1, 0, false));
}

}  // namespace
}  // namespace corvelle
