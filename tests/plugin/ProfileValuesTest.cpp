// The settings arrive as texts from files the user may have edited by hand;
// these rows pin down how each text is read and what is refused.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/ProfileValues.h"

namespace corvelle {
namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
    return std::string(info.param.name);
}

// Encodes a rectangle as the system writes a 16-byte structure value.
std::string EncodeRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    std::string text;
    unsigned sum = 0;
    for (int32_t value : {left, top, right, bottom}) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            const unsigned byte = (bits >> shift) & 0xFFu;
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", byte);
            text += digits;
            sum += byte;
        }
    }
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", sum & 0xFFu);
    return text + checksum;
}

struct RectCase {
    const char* name;
    std::string text;
    bool valid;
    SavedRect expected;
};

const std::vector<RectCase> kRectCases = {
    {"WrittenBySystem", "0000000000000000640000003200000096", true, {0, 0, 100, 50}},
    {"LowerCaseDigits", "0a000000140000006e0000007800000004", true, {10, 20, 110, 120}},
    {"NegativeOrigin", EncodeRect(-1280, -20, 300, 400), true, {-1280, -20, 300, 400}},
    {"NoChecksum", "00000000000000006400000032000000", false, {}},
    {"WrongChecksum", "0000000000000000640000003200000097", false, {}},
    {"NotHex", "00000000000000006400000032000000G6", false, {}},
    {"TooLong", "000000000000000064000000320000009600", false, {}},
    {"Empty", "", false, {}},
    {"EmptyRectangle", EncodeRect(10, 10, 10, 200), false, {}},
    {"RightLeftOfLeft", EncodeRect(500, 10, 100, 200), false, {}},
    {"WidthOverflows", EncodeRect(INT32_MIN, 0, INT32_MAX, 10), false, {}},
};

class SavedRectTest : public testing::TestWithParam<RectCase> {};

TEST_P(SavedRectTest, ParsesStructureValue) {
    const RectCase& row = GetParam();
    const auto rect = ParseSavedRect(row.text);
    ASSERT_EQ(rect.has_value(), row.valid);
    if (!rect) return;
    EXPECT_EQ(rect->left, row.expected.left);
    EXPECT_EQ(rect->top, row.expected.top);
    EXPECT_EQ(rect->right, row.expected.right);
    EXPECT_EQ(rect->bottom, row.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Values, SavedRectTest, testing::ValuesIn(kRectCases), RowName<RectCase>);

TEST(StructValueTest, ChecksumWrapsModulo256) {
    const auto bytes = ParseStructValue("FFFFFE", 2);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, std::string("\xFF\xFF"));
}

struct IntCase {
    const char* name;
    const char* text;
    int32_t expected;
};

const std::vector<IntCase> kIntCases = {
    {"Negative", "-13", -13},
    {"LeadingWhiteSpace", " \t-13", -13},
    {"ExplicitPlus", "+10", 10},
    {"StopsAtOtherCharacter", "12px", 12},
    {"NoDigits", "b", 0},
    {"SignOnly", "-", 0},
    {"Empty", "", 0},
    {"SpaceAfterSign", "- 5", 0},
    {"ClampsHigh", "99999999999999999999", INT32_MAX},
    {"ClampsLow", "-99999999999999999999", INT32_MIN},
};

class LeadingIntTest : public testing::TestWithParam<IntCase> {};

TEST_P(LeadingIntTest, FollowsAtoiRules) {
    EXPECT_EQ(ParseLeadingInt(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingIntTest, testing::ValuesIn(kIntCases), RowName<IntCase>);

struct MulDivCase {
    const char* name;
    int32_t a, b, c;
    bool ok;
    int32_t expected;
};

const std::vector<MulDivCase> kMulDivCases = {
    {"Exact", -13, 72, 96, true, -10},  // -9.75
    {"NegativeHalfAwayFromZero", -16, 72, 120, true, -10},  // -9.6
    {"PositiveHalfUp", 10, 72, 96, true, 8},  // 7.5
    {"NegativeHalfDown", -10, 72, 96, true, -8},  // -7.5
    {"BelowHalf", 1, 1, 3, true, 0},
    {"NegativeDivisor", 10, 72, -96, true, -8},
    {"ZeroDivisor", 5, 72, 0, false, 0},
    {"TooLarge", INT32_MAX, 72, 1, false, 0},
    {"WideIntermediate", INT32_MAX, 72, 96, true, 1610612735},  // 1610612735.25
};

class MulDivTest : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsHalvesAwayFromZero) {
    const MulDivCase& row = GetParam();
    const auto result = MulDivRounded(row.a, row.b, row.c);
    ASSERT_EQ(result.has_value(), row.ok);
    if (result) {
        EXPECT_EQ(*result, row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, MulDivTest, testing::ValuesIn(kMulDivCases), RowName<MulDivCase>);

struct FontCase {
    const char* name;
    const char* value;
    int dpi;
    const char* face;
    int height;
    int bold;
    int italic;
};

const std::vector<FontCase> kFontCases = {
    {"CourierBoldAt96", "Courier New,-13,b", 96, "Courier New", 200, 1, 0},
    {"CourierAt120", "Courier New,-16", 120, "Courier New", 200, 0, 0},
    {"FaceOnly", "Arial", 96, "Arial", 0, 0, 0},
    {"BothFlagsAnyOrder", "Arial,-13,i,b", 96, "Arial", 200, 1, 1},
    {"UpperCaseFlag", "Arial,-13,B", 96, "Arial", 200, 0, 0},
    {"FlagWithSpace", "Arial,-13, b", 96, "Arial", 200, 0, 0},
    {"FlagAsWord", "Arial,-13,bold", 96, "Arial", 200, 0, 0},
    {"PositiveHeight", "Arial,10", 96, "Arial", -160, 0, 0},
    {"SpacesKept", " Arial ,-13", 96, " Arial ", 200, 0, 0},
    {"FifthFieldIgnored", "Arial,-13,x,y,b", 96, "Arial", 200, 0, 0},
    {"EmptyFace", ",-13,b", 96, "", 200, 1, 0},
    {"NoResolution", "Arial,-13", 0, "Arial", 0, 0, 0},
    {"AbsurdHeight", "Arial,-2000000000", 1, "Arial", 0, 0, 0},
};

class Font1Test : public testing::TestWithParam<FontCase> {};

TEST_P(Font1Test, ParsesFields) {
    const FontCase& row = GetParam();
    const ListerFont font = ParseFont1(row.value, row.dpi);
    EXPECT_STREQ(font.szFaceName, row.face);
    EXPECT_EQ(font.nHeight, row.height);
    EXPECT_EQ(font.bBold, row.bold);
    EXPECT_EQ(font.bItalic, row.italic);
}

INSTANTIATE_TEST_SUITE_P(Values, Font1Test, testing::ValuesIn(kFontCases), RowName<FontCase>);

TEST(Font1LimitsTest, LongFaceIsCutInsideItsBuffer) {
    const std::string face(400, 'F');
    const ListerFont font = ParseFont1(face + ",-13", 96);
    EXPECT_EQ(std::strlen(font.szFaceName), sizeof font.szFaceName - 1);
    EXPECT_EQ(font.nHeight, 200);
}

TEST(CopyCutTest, NeverWritesPastCapacity) {
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    CopyCut(buffer, 4, "abcdef");
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], 'X');
    CopyCut(buffer, 0, "abcdef");
    EXPECT_STREQ(buffer, "abc");
}

}  // namespace
}  // namespace corvelle
