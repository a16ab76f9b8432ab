// The report's own formatter must print exactly what printf prints for the
// conversions the report uses.
#include <gtest/gtest.h>

#include <cstdio>

#include "dump/ReportText.h"

namespace corvelle {
namespace {

struct NumberCase {
    const char* name;
    const char* format;
    int64_t value;
};

class FormatterMatchesPrintf : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FormatterMatchesPrintf, ForNumbers) {
    const NumberCase& c = GetParam();
    char expected[64];
    std::snprintf(expected, sizeof expected, c.format, static_cast<int>(c.value));
    ReportText report;
    report.Format(c.format, static_cast<int32_t>(c.value));
    EXPECT_EQ(report.Take(), expected);
}

const NumberCase kNumberCases[] = {
    {"HexPadsToFour", "\tNb :\t%04Xh ", 0x12},
    {"HexWiderThanWidth", "%04X", 0x1FFFE},
    {"NegativeHexIsTwosComplement", "%04Xh", -32768},
    {"MinusOneHex", "%08X", -1},
    {"ZeroHex", "%02Xh", 0},
    {"DecimalNegative", "(%d)", -1},
    {"DecimalMinimum", "%d", INT32_MIN},
    {"DecimalMaximum", "%d", INT32_MAX},
    {"PaddedDecimal", "%04d", -7},
    {"SpacePaddedHex", "%6X", 0xAB},
    {"PercentSign", "100%% %d", 5},
};

INSTANTIATE_TEST_SUITE_P(Conversions, FormatterMatchesPrintf, ::testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReportTextFormat, TextsEndAtTheirFirstZeroByte) {
    ReportText report;
    report.Format("[%s][%s]", std::string_view("ab\0cd", 5), "ef");
    EXPECT_EQ(report.Take(), "[ab][ef]");
}

TEST(ReportTextFormat, MixedPieceMatchesPrintf) {
    char expected[128];
    std::snprintf(expected, sizeof expected, "\tType :\t%08Xh \t\"%s\"\t%s", 0x6C707061u, "appl", "Application");
    ReportText report;
    report.Line("\tType :\t%08Xh \t\"%s\"\t%s", 0x6C707061u, "appl", "Application");
    EXPECT_EQ(report.Take(), std::string(expected) + "\r\n");
}

TEST(ReportTextFormat, MissingArgumentsPrintNothing) {
    ReportText report;
    report.Format("%d and %d", 1);
    EXPECT_EQ(report.Take(), "1 and ");
}

}  // namespace
}  // namespace corvelle
