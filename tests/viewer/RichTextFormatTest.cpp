// The dump page's rich-edit formats: the character format built from the
// host's Lister font, the cut of long face names, the usable tab-stop count
// and the text limit.
#include "viewer/RichTextFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace corvelle {
namespace {

// What the control answers before anything is set: a mask of valid
// attributes, no effects, 10 points in a face of its own.
constexpr uint32_t kReadMask = 0x7800003F;
constexpr int32_t kReadHeight = 200;
constexpr char kReadFace[] = "System";

CharFormatFields ControlDefault() {
    CharFormatFields fields;
    fields.mask = kReadMask;
    fields.effects = 0;
    fields.height = kReadHeight;
    std::strcpy(fields.faceName, kReadFace);
    return fields;
}

ListerFont MakeFont(const char* face, int height, int bold, int italic) {
    ListerFont font{};
    std::strncpy(font.szFaceName, face, sizeof(font.szFaceName) - 1);
    font.nHeight = height;
    font.bBold = bold;
    font.bItalic = italic;
    return font;
}

struct FontRow {
    const char* name;
    ListerFont font;
    bool changed;
    uint32_t mask;
    uint32_t effects;
    int32_t height;
    std::string face;
};

const FontRow kFontRows[] = {
    {"NothingSetWritesNothing", MakeFont("", 0, 0, 0), false, kReadMask, 0, kReadHeight,
     kReadFace},
    {"BoldOnlyKeepsTheRest", MakeFont("", 0, 1, 0), true, kReadMask | kCfmBold, kCfeBold,
     kReadHeight, kReadFace},
    {"ItalicOnly", MakeFont("", 0, 0, 1), true, kReadMask | kCfmItalic, kCfeItalic,
     kReadHeight, kReadFace},
    {"BoldAndItalic", MakeFont("", 0, 1, 1), true, kReadMask | kCfmBold | kCfmItalic,
     kCfeBold | kCfeItalic, kReadHeight, kReadFace},
    {"HeightReplacesTheMask", MakeFont("", 240, 0, 0), true, kCfmSize, 0, 240, kReadFace},
    {"FaceOnlyAddsToTheMask", MakeFont("Courier New", 0, 0, 0), true, kReadMask | kCfmFace, 0,
     kReadHeight, "Courier New"},
    {"WholeFont", MakeFont("Lucida Console", 180, 1, 1), true,
     kCfmSize | kCfmFace | kCfmBold | kCfmItalic, kCfeBold | kCfeItalic, 180, "Lucida Console"},
    {"NonzeroFlagsCountAsSet", MakeFont("", 0, 2, -1), true, kReadMask | kCfmBold | kCfmItalic,
     kCfeBold | kCfeItalic, kReadHeight, kReadFace},
    {"FaceOf31Fits", MakeFont("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", 0, 0, 0), true,
     kReadMask | kCfmFace, 0, kReadHeight, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
    {"FaceOf40IsCut", MakeFont("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd", 0, 0, 0), true,
     kReadMask | kCfmFace, 0, kReadHeight, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
};

class ListerFontFormatTest : public testing::TestWithParam<FontRow> {};

TEST_P(ListerFontFormatTest, BuildsCharacterFormat) {
    const FontRow& row = GetParam();
    CharFormatFields fields = ControlDefault();
    EXPECT_EQ(ApplyListerFont(fields, row.font), row.changed);
    EXPECT_EQ(fields.mask, row.mask);
    EXPECT_EQ(fields.effects, row.effects);
    EXPECT_EQ(fields.height, row.height);
    EXPECT_EQ(std::string(fields.faceName), row.face);
}

INSTANTIATE_TEST_SUITE_P(Fonts, ListerFontFormatTest, testing::ValuesIn(kFontRows),
                         [](const testing::TestParamInfo<FontRow>& info) {
                             return info.param.name;
                         });

TEST(ListerFontFormatTest, UnterminatedFaceFieldIsCutInsideItsField) {
    // A record whose face field holds no zero at all must not be read past.
    struct Guarded {
        ListerFont font;
        char after[8];
    } guarded;
    std::memset(&guarded, 'x', sizeof(guarded));
    guarded.font.nHeight = 0;
    guarded.font.bBold = 0;
    guarded.font.bItalic = 0;
    CharFormatFields fields = ControlDefault();
    EXPECT_TRUE(ApplyListerFont(fields, guarded.font));
    EXPECT_EQ(std::string(fields.faceName), std::string(kFaceNameSize - 1, 'x'));
}

struct CopyRow {
    const char* name;
    std::string source;
    size_t sourceSize;       // the field's size; 0: the text plus its zero
    size_t destinationSize;
    std::string copied;
};

const CopyRow kCopyRows[] = {
    {"ShortText", "Arial", 0, 32, "Arial"},
    {"EmptyText", "", 0, 32, ""},
    {"ExactFit", "1234567", 0, 8, "1234567"},
    {"OneTooLong", "12345678", 0, 8, "1234567"},
    {"FieldWithoutZero", "abcdef", 4, 32, "abcd"},
    {"DestinationOfOne", "abc", 0, 1, ""},
};

class CopyCutTextTest : public testing::TestWithParam<CopyRow> {};

TEST_P(CopyCutTextTest, CopiesWithinBothBuffers) {
    const CopyRow& row = GetParam();
    const size_t sourceSize = row.sourceSize != 0 ? row.sourceSize : row.source.size() + 1;
    std::string destination(row.destinationSize + 4, '#');
    size_t copied = CopyCutText(&destination[0], row.destinationSize, row.source.c_str(),
                                sourceSize);
    EXPECT_EQ(copied, row.copied.size());
    EXPECT_EQ(std::string(destination.c_str()), row.copied);
    // Nothing written past the destination.
    EXPECT_EQ(destination.substr(row.destinationSize), "####");
}

INSTANTIATE_TEST_SUITE_P(Texts, CopyCutTextTest, testing::ValuesIn(kCopyRows),
                         [](const testing::TestParamInfo<CopyRow>& info) {
                             return info.param.name;
                         });

TEST(CopyCutTextTest, NullSourceGivesEmptyText) {
    char destination[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(CopyCutText(destination, sizeof(destination), nullptr, 10), 0u);
    EXPECT_EQ(destination[0], '\0');
}

struct TabRow {
    const char* name;
    int count;
    bool haveList;
    int usable;
};

const TabRow kTabRows[] = {
    {"FourStops", 4, true, 4},
    {"OneStop", 1, true, 1},
    {"NoStops", 0, true, 0},
    {"NegativeCount", -3, true, 0},
    {"ThirtyTwoFit", 32, true, 32},
    {"ThirtyThreeAreCut", 33, true, 32},
    {"NoListAtAll", 4, false, 0},
};

class TabCountTest : public testing::TestWithParam<TabRow> {};

TEST_P(TabCountTest, FitsParagraphFormat) {
    const TabRow& row = GetParam();
    EXPECT_EQ(UsableTabCount(row.count, row.haveList), row.usable);
}

INSTANTIATE_TEST_SUITE_P(Counts, TabCountTest, testing::ValuesIn(kTabRows),
                         [](const testing::TestParamInfo<TabRow>& info) { return info.param.name; });

struct LimitRow {
    const char* name;
    size_t length;
    uint32_t limit;
};

const LimitRow kLimitRows[] = {
    {"EmptyKeepsDefault", 0, 0x10000},
    {"ShortKeepsDefault", 1200, 0x10000},
    {"ExactlyDefault", 0x10000, 0x10000},
    {"JustAboveDefault", 0x10001, 0x10001},
    {"TwelveMegabytes", 12u * 1024 * 1024, 12u * 1024 * 1024},
    {"LargestSigned", 0x7FFFFFFF, 0x7FFFFFFF},
    {"BeyondSigned", static_cast<size_t>(0xFFFFFFFFu), 0x7FFFFFFF},
};

class TextLimitTest : public testing::TestWithParam<LimitRow> {};

TEST_P(TextLimitTest, NeverCutsTheText) {
    const LimitRow& row = GetParam();
    EXPECT_EQ(TextLimitFor(row.length), row.limit);
}

INSTANTIATE_TEST_SUITE_P(Lengths, TextLimitTest, testing::ValuesIn(kLimitRows),
                         [](const testing::TestParamInfo<LimitRow>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace corvelle
