#include <gtest/gtest.h>

#include "Fixtures.h"

namespace corvelle {
namespace {

using samples::PalmDatabase;
using testing::Block;
using testing::HasLine;
using testing::Lines;
using testing::ReportOf;

PalmDatabase WithCategories() {
    PalmDatabase db;
    db.name = "Cats";
    db.type = "DATA";
    db.appInfo = samples::CategoryAppInfo({"Unfiled", "", "0123456789abcdef"}, 0x8001);
    return db;
}

PalmDatabase QueryApplication(const std::string& appInfo) {
    PalmDatabase db;
    db.name = "Query";
    db.type = "pqa ";
    db.appInfo = appInfo;
    return db;
}

// Writes the appInfoID field of a serialized database.
void SetAppInfoOffset(std::string& bytes, uint32_t offset) {
    for (int i = 0; i < 4; ++i) bytes[52 + i] = static_cast<char>(offset >> (24 - 8 * i));
}

TEST(AppInfoSection, CategoryBlockHasAllSixteenLabelsAndIds) {
    const std::vector<std::string> block = Block(ReportOf(WithCategories()), "AppInfo :");
    ASSERT_EQ(block.size(), 1u + 1 + 16 + 16 + 1);
    EXPECT_EQ(block[1], "\trenamedCategories:\t8001h ");
    EXPECT_EQ(block[2], "\tcategoryLabels:\tUnfiled ");
    EXPECT_EQ(block[3], "\tcategoryLabels:\t ");
    // Our writer keeps a terminator, so a full label is 15 characters.
    EXPECT_EQ(block[4], "\tcategoryLabels:\t0123456789abcde ");
    EXPECT_EQ(block[18], "\tcategoryUniqIDs:\t00h ");
    EXPECT_EQ(block[20], "\tcategoryUniqIDs:\t02h ");
    EXPECT_EQ(block[34], "\tlastUniqID:\t02h ");
}

TEST(AppInfoSection, LabelWithoutZeroPrintsItsSixteenBytes) {
    std::string bytes = samples::SerializePalmDatabase(WithCategories());
    const size_t firstLabel = 78 + 2 + 2;
    for (size_t i = 0; i < 16; ++i) bytes[firstLabel + i] = 'L';
    EXPECT_TRUE(HasLine(ReportOf(bytes), "\tcategoryLabels:\tLLLLLLLLLLLLLLLL "));
}

TEST(AppInfoSection, AbsentWhenOffsetIsZeroOrOutsideTheFile) {
    std::string bytes = samples::SerializePalmDatabase(QueryApplication(samples::PqaAppInfo("lnch", 1, 1, "v", "t")));
    for (uint32_t offset : {0u, static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(bytes.size()) + 1,
                            0xFFFFFFFFu}) {
        SCOPED_TRACE(offset);
        SetAppInfoOffset(bytes, offset);
        const std::string report = ReportOf(bytes);
        EXPECT_EQ(report.find("AppInfo :"), std::string::npos);
        EXPECT_NE(report.find("\tNb :\t0000h \t(0)\r\n\r\nRecords :\r\n"), std::string::npos);
    }
}

TEST(AppInfoSection, LastByteOfTheFileStillCountsAsInside) {
    std::string bytes = samples::SerializePalmDatabase(WithCategories());
    SetAppInfoOffset(bytes, static_cast<uint32_t>(bytes.size() - 1));
    const std::vector<std::string> lines = Lines(ReportOf(bytes));
    const std::string ends = "\tThe file ends at byte " + std::to_string(bytes.size()) + ": the AppInfo block is cut short.";
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), ends) != lines.end());
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "AppInfo :") != lines.end());
}

TEST(AppInfoSection, PqaHeaderLines) {
    const std::string report = ReportOf(QueryApplication(samples::PqaAppInfo("lnch", 0x0102, 0x0304, "1.0", "Title")));
    const std::vector<std::string> expected = {
        "AppInfo :",
        "\tSignature :\t68636E6Ch \t\"lnch\"\tLauncher ",
        "\tHeader version:\t0201h \t(2.1)",
        "\tEncoder version:\t0403h \t(4.3)",
        "\tString version size:\t0004h ",
        "\tString version :\t\t1.0 ",
        "\tPQA Title String size:\t0006h ",
        "\tPQA Title :\t\tTitle ",
    };
    EXPECT_EQ(Block(report, "AppInfo :"), expected);
}

TEST(AppInfoSection, UnknownSignatureAndLengthPlacesTheTitle) {
    // n = 3 units: the title length sits at A+16, whatever the text holds.
    std::string block = std::string("zzzz\x00\x01\x00\x01\x00\x03", 10) + std::string("ab\0\0XY", 6) +
                        std::string("\x00\x02", 2) + std::string("Hi\0\0", 4);
    const std::string report = ReportOf(QueryApplication(block));
    EXPECT_TRUE(HasLine(report, "\tSignature :\t7A7A7A7Ah \t\"zzzz\"\tunknown "));
    EXPECT_TRUE(HasLine(report, "\tString version size:\t0006h "));
    EXPECT_TRUE(HasLine(report, "\tString version :\t\tab "));
    EXPECT_TRUE(HasLine(report, "\tPQA Title String size:\t0004h "));
    EXPECT_TRUE(HasLine(report, "\tPQA Title :\t\tHi "));
}

TEST(AppInfoSection, OnlyQueryApplicationsGetThePqaReading) {
    PalmDatabase db = WithCategories();
    db.type = "PQA ";
    EXPECT_TRUE(HasLine(ReportOf(db), "\trenamedCategories:\t8001h "));
    db = QueryApplication(samples::CategoryAppInfo({"Unfiled"}));
    const std::string report = ReportOf(db);
    EXPECT_EQ(report.find("renamedCategories"), std::string::npos);
    EXPECT_NE(report.find("\tSignature :"), std::string::npos);
}

TEST(AppInfoSection, PqaTextWithoutZeroEndsTheSection) {
    std::string bytes = samples::SerializePalmDatabase(QueryApplication(samples::PqaAppInfo("lnch", 1, 1, "1.0", "T")));
    // Cut the file inside the version text: the part inside is printed, then the end.
    const size_t appInfo = 78 + 2;
    bytes.resize(appInfo + 10 + 2);
    const std::vector<std::string> block = Block(ReportOf(bytes), "AppInfo :");
    ASSERT_EQ(block.size(), 7u);
    EXPECT_EQ(block[5], "\tString version :\t\t1. ");
    EXPECT_EQ(block[6], "\tThe file ends at byte " + std::to_string(bytes.size()) + ": the AppInfo block is cut short.");
}

}  // namespace
}  // namespace corvelle
