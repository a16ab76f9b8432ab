// The header section, line by line, for the values that are easy to get
// wrong: byte orders, signs, flags and texts without a terminator.
#include <gtest/gtest.h>

#include "Fixtures.h"

namespace corvelle {
namespace {

using samples::PalmDatabase;
using testing::Block;
using testing::HasLine;
using testing::Lines;
using testing::ReportOf;

PalmDatabase EmptyDatabase() {
    PalmDatabase db;
    db.name = "Test";
    return db;
}

TEST(HeaderSection, EveryReportBeginsWithTitleAndEmptyLine) {
    const std::string report = ReportOf(EmptyDatabase());
    EXPECT_EQ(report.rfind("Header Information :\r\n\r\n", 0), 0u);
}

struct FlagCase {
    const char* name;
    uint16_t attributes;
    const char* flagsLine;
    std::vector<std::string> descriptions;
};

class HeaderFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(HeaderFlags, PrintTheValueAndOneLinePerDescribedBit) {
    const FlagCase& c = GetParam();
    PalmDatabase db = EmptyDatabase();
    db.attributes = c.attributes;
    std::vector<std::string> expected{c.flagsLine};
    for (const std::string& d : c.descriptions) expected.push_back("\t\t" + d);
    expected.push_back("\tversion :\t0000h \t(0.0)");
    const std::vector<std::string> block = Block(ReportOf(db), c.flagsLine);
    ASSERT_GE(block.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(block.begin(), block.begin() + expected.size()), expected);
}

const FlagCase kFlagCases[] = {
    {"Resource", 0x0001, "\tattribute flags :\t0001h ", {"File is a resource."}},
    {"HighBitIsSignExtended", 0x8000, "\tattribute flags :\tFFFF8000h ", {}},
    {"UndescribedBits", 0x0184, "\tattribute flags :\t0184h ", {}},
    {"AllSevenDescribedBits",
     0x027B,
     "\tattribute flags :\t027Bh ",
     {"File is a resource.", "File is read-only.", "File is ready to Back Up.", "File is ready to update old copy.",
      "Force system to reset after file is installed.", "Don't allow copy to be beamed.", "File is launchable."}},
};

INSTANTIATE_TEST_SUITE_P(Attributes, HeaderFlags, ::testing::ValuesIn(kFlagCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderSection, VersionIsReversedThenBytesInDecimal) {
    PalmDatabase db = EmptyDatabase();
    db.version = 0x0001;
    EXPECT_TRUE(HasLine(ReportOf(db), "\tversion :\t0100h \t(1.0)"));
    db.version = 0xFF02;
    EXPECT_TRUE(HasLine(ReportOf(db), "\tversion :\t02FFh \t(2.255)"));
}

TEST(HeaderSection, DatesShowReversedHexAndTheRealDate) {
    PalmDatabase db = EmptyDatabase();
    db.created = 0xB8D35E80;
    db.modified = 0xB8D35E80;
    const std::string report = ReportOf(db);
    EXPECT_TRUE(HasLine(report, "\tcreation Date :\t805ED3B8h \tFriday 05 April 2002 - 14 00 32"));
    EXPECT_TRUE(HasLine(report, "\tmodification Date :\t805ED3B8h\tFriday 05 April 2002 - 14 00 32"));
    // A zero date has nothing after the line's last TAB.
    EXPECT_TRUE(HasLine(report, "\tlastBackupDate :\t00000000h \t"));
}

TEST(HeaderSection, TypeAndCreatorShowReversedHexTextAndName) {
    PalmDatabase db = EmptyDatabase();
    db.type = "appl";
    db.creator = std::string("me\0o", 4);
    db.resources.push_back({"code", 1, "x"});
    const std::string report = ReportOf(db);
    EXPECT_TRUE(HasLine(report, "\tType :\t6C707061h \t\"appl\"\tApplication"));
    EXPECT_TRUE(HasLine(report, "\tcreator :\t6F00656Dh \t\"me\"\tunknown "));
}

TEST(HeaderSection, OnlyUniqueIdSeedAndCountAreFollowedByAnEmptyLine) {
    const std::vector<std::string> lines = Lines(ReportOf(EmptyDatabase()));
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[13], "\tuniqueIDSeed :\t00000000h ");
    EXPECT_EQ(lines[14], "");
    EXPECT_EQ(lines[15], "\tNext offset:\t00000000h ");
    EXPECT_EQ(lines[16], "\tNb :\t0000h \t(0)");
    EXPECT_EQ(lines[17], "");
    EXPECT_EQ(lines[18], "Records :");
    for (size_t i = 2; i < 13; ++i) EXPECT_NE(lines[i], "") << "line " << i;
}

// A database holds up to 65535 entries; the count is never negative.
TEST(HeaderSection, EntryCountIsUnsigned) {
    std::string bytes = samples::SerializePalmDatabase(EmptyDatabase());
    bytes[76] = '\xFF';
    bytes[77] = '\xFF';
    EXPECT_TRUE(HasLine(ReportOf(bytes), "\tNb :\tFFFFh \t(65535)"));
    bytes[77] = '\x00';
    EXPECT_TRUE(HasLine(ReportOf(bytes), "\tNb :\tFF00h \t(65280)"));
}

TEST(HeaderSection, NameFillingAllBytesPrintsAllOfThem) {
    std::string bytes = samples::SerializePalmDatabase(EmptyDatabase());
    for (int i = 0; i < 32; ++i) bytes[i] = static_cast<char>('A' + i % 26);
    EXPECT_TRUE(HasLine(ReportOf(bytes), "\tName of database:\tABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF"));
}

struct ShortHeaderCase {
    const char* name;
    size_t length;
    const char* lastFieldLine;  // the last line before the end-of-file line
};

class ShortHeader : public ::testing::TestWithParam<ShortHeaderCase> {};

TEST_P(ShortHeader, PrintsTheWholeFieldsThenWhereTheFileEnds) {
    const ShortHeaderCase& c = GetParam();
    PalmDatabase db = EmptyDatabase();
    db.type = "DATA";
    std::string bytes = samples::SerializePalmDatabase(db).substr(0, c.length);
    const std::vector<std::string> lines = Lines(ReportOf(bytes));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], c.lastFieldLine);
    EXPECT_EQ(lines.back(), "\tThe file ends at byte " + std::to_string(c.length) + ": the header is cut short.");
}

const ShortHeaderCase kShortHeaderCases[] = {
    {"Empty", 0, "\tName of database:\t"},
    {"InsideTheName", 3, "\tName of database:\tTes"},
    {"InsideTheFlags", 33, "\tName of database:\tTest"},
    {"AfterTheType", 64, "\tType :\t41544144h \t\"DATA\"\tunknown"},
    {"InsideTheCount", 77, "\tNext offset:\t00000000h "},
};

INSTANTIATE_TEST_SUITE_P(Truncated, ShortHeader, ::testing::ValuesIn(kShortHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvelle
