// Filling a page piece by piece: where pieces end, how big they get, when
// memory stops them (over figures of the tests' own), and what the page says.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "model/FillSchedule.h"
#include "model/MemoryStop.h"
#include "model/ReportFillPlan.h"

using namespace corvelle;

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

TEST(MemoryStop, WhatGoesInLeavesTheHostItsRoomAndStaysWithinTheBudget) {
    constexpr uint64_t kMB = 1ull << 20, kTwoGB = 2048 * kMB;
    EXPECT_EQ(AddressSpaceToKeep(kTwoGB), kTwoGB / 100 * 40);  // about 800 MB of a 32-bit process
    EXPECT_EQ(AddressSpaceToKeep(1024 * kMB), kLeastKeptAddressSpace);
    EXPECT_EQ(AddressSpaceToKeep(4096 * kMB), 4096 * kMB / 100 * 40);  // one that may use 4 GB
    EXPECT_EQ(AddressSpaceToKeep(128ull << 40), 0u);                    // 64-bit: physical memory alone
    const uint64_t piece = 1000, perByte = 300, need = piece * perByte;
    const uint64_t keep = AddressSpaceToKeep(kTwoGB) + kAddressSpaceAllowance;
    const MemoryRoom room{kTwoGB, keep + need, kPhysicalMarginBytes + need, 0};
    struct Row { const char* name; MemoryRoom room; std::optional<uint64_t> budget; uint64_t shown, piece; bool fits; };
    const Row rows[] = {
        {"JustFits", room, std::nullopt, 0, piece, true},
        {"AddressSpaceShort", {kTwoGB, keep + need - 1, room.availablePhysical, 0}, std::nullopt, 0, piece, false},
        {"PhysicalShort", {kTwoGB, keep + need, kPhysicalMarginBytes + need - 1, 0}, std::nullopt, 0, piece, false},
        {"SixtyFourBitHasNoAddressRule", {128ull << 40, need, room.availablePhysical, 0}, std::nullopt, 0, piece, true},
        {"BudgetCountsWhatIsShown", room, 3 * need, 2 * piece, piece, true},
        {"BudgetShort", room, 3 * need - 1, 2 * piece, piece, false},
        {"NoWrappingRoundInTheBudget", room, 3 * need, UINT64_MAX / 2, piece, false},
        {"NoWrappingRoundInTheNeed", {UINT64_MAX, UINT64_MAX, UINT64_MAX, 0}, std::nullopt, 0, UINT64_MAX / 2, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BytesThatFit(row.room, row.budget, row.shown, perByte) >= row.piece, row.fits);
    }
    // Near the limit a piece shrinks to what fits.
    EXPECT_EQ(BytesThatFit(room, std::nullopt, 0, perByte), piece);
    EXPECT_EQ(BytesThatFit(room, 3 * need + perByte - 1, 2 * piece, perByte), piece);
    // An injected address space keeps what the process has used.
    const MemoryRoom injected = WithAddressSpace({128ull << 40, (128ull << 40) - 300 * kMB, 1, 2}, kTwoGB);
    EXPECT_EQ(injected.totalVirtual - injected.availableVirtual, 300 * kMB);
    EXPECT_EQ(injected.availablePhysical + injected.commit, 3u);
    EXPECT_EQ(WithAddressSpace({kTwoGB, 0, 0, 0}, kMB).availableVirtual, 0u);
    EXPECT_EQ(ParseMegabytes("64"), 64 * kMB);
    for (const char* refused : {"", "0", "-5", "12MB", " 8", "99999999999999999999"}) {
        EXPECT_FALSE(ParseMegabytes(refused)) << refused;
    }
    EXPECT_FALSE(ParseMegabytes(nullptr));
}

TEST(MemoryStop, TheControlsCostIsWhatTheProcessGrewByAboveAFloor) {
    constexpr uint64_t kMB = 1ull << 20, kTotal = 2048 * kMB;
    const MemoryRoom start{kTotal, kTotal - 100 * kMB, 0, 50 * kMB};
    auto after = [&](uint64_t addressGrown, uint64_t commitGrown) {
        return MemoryRoom{kTotal, start.availableVirtual - addressGrown, 0, start.commit + commitGrown};
    };
    struct Row { const char* name; MemoryRoom now; uint64_t shown, perByte; };
    const Row rows[] = {
        {"NothingShownYet", start, 0, kFirstBytesPerReportByte},
        {"FirstPiecesKeepTheFloor", after(200 * 1024, 0), 1024, kFirstBytesPerReportByte},
        {"FirstPiecesAboveTheFloor", after(0, 500 * 1024), 1024, 500},
        {"MeasuredOnceEnoughIsShown", after(270 * 2 * kMB, 0), 2 * kMB, 270},
        {"TheLargerGrowthCountsRoundedUp", after(2 * kMB, 270 * 2 * kMB + 1), 2 * kMB, 271},
        {"NeverBelowTheLeastWhenMemoryIsReused", after(0, 0), 2 * kMB, kLeastBytesPerReportByte},
        {"ShrinkingIsNoGrowth", MemoryRoom{kTotal, kTotal, 0, 0}, 2 * kMB, kLeastBytesPerReportByte},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ControlBytesPerReportByte(start, row.now, row.shown), row.perByte);
    }
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

// The system's figures as a test sets them.
class FakeFigures final : public FillEnvironment {
public:
    MemoryRoom Memory() override { return room; }
    double NowMs() override { return now; }
    std::optional<uint64_t> Megabytes(const char* name) override {
        return std::string(name) == kMemoryBudgetVariable ? budget
               : std::string(name) == kAddressSpaceVariable ? addressSpace : std::nullopt;
    }
    MemoryRoom room;
    double now = 1000;
    std::optional<uint64_t> budget, addressSpace;
};

TEST(FillSchedule, StopsAsTheProcessItReckonsWithWouldAndWaitsOnceForYoungerFigures) {
    constexpr uint64_t kMB = 1ull << 20, k64 = 128ull << 40, kTwoGB = 2048 * kMB;
    struct Row {
        const char* name;
        MemoryRoom room;
        std::optional<uint64_t> budget, addressSpace;
        bool streams;
        uint64_t fitAtStart;
    };
    const uint64_t keep = AddressSpaceToKeep(kTwoGB) + kAddressSpaceAllowance;
    const Row rows[] = {
        {"SixtyFourBitIsBoundedByPhysicalMemory", {k64, k64 - 100 * kMB, 64 * kMB + 300000, 0}, {}, {}, false, 1000},
        {"ThirtyTwoBitKeepsItsRoom", {kTwoGB, keep + 300000, 8192 * kMB, 0}, {}, {}, true, 1000},
        {"AnAddressSpaceOfATestStopsWhereThirtyTwoBitWould",
         {k64, k64 - (kTwoGB - keep - 300000), 8192 * kMB, 0}, {}, kTwoGB, true, 1000},
        {"ABudgetOfATest", {k64, k64 - 100 * kMB, 8192 * kMB, 0}, 600000, {}, false, 2000},
        {"NoFiguresNoRoom", {}, {}, {}, true, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeFigures figures;
        figures.room = row.room;
        figures.budget = row.budget;
        figures.addressSpace = row.addressSpace;
        FillSchedule schedule(figures);
        schedule.Start(true);
        EXPECT_EQ(schedule.StreamPieces(), row.streams);
        EXPECT_EQ(schedule.NextPiece(), kFirstPieceBytes);
        EXPECT_EQ(schedule.Fit(0), row.fitAtStart);
    }
    FakeFigures figures;
    FillSchedule schedule(figures);
    schedule.Start(true);
    EXPECT_TRUE(schedule.AwaitsYoungerFigures(0));
    EXPECT_FALSE(schedule.AwaitsYoungerFigures(1));  // something is shown: the figures are its own
    figures.now += kMemoryFiguresAgeMs;
    EXPECT_FALSE(schedule.AwaitsYoungerFigures(0));
    schedule.Start(true);
    schedule.NoTimer();
    EXPECT_FALSE(schedule.AwaitsYoungerFigures(0));  // nothing would ask again
    EXPECT_FALSE(schedule.RepaintDue(figures.now + kRepaintIntervalMs - 1));
    EXPECT_TRUE(schedule.RepaintDue(figures.now + kRepaintIntervalMs));
    schedule.Repainted(figures.now, figures.now + 100);
    EXPECT_FALSE(schedule.RepaintDue(figures.now + 100 + 399));
}

}  // namespace
