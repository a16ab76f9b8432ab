// The code-page conversion: each page's own characters, and bytes that a
// page does not map or that a text cuts, which must become U+FFFD and never
// vanish. Whole memos in cp1251 and Shift_JIS, the euro and an unmapped 81h of
// cp1252 are read against Python's codecs by the export-encodings test.
#include <gtest/gtest.h>

#include <string>

#include "standards/CodePage.h"

namespace corvelle {
namespace {

struct CodePageRow {
    const char* name;
    const char* page;
    std::string bytes;
    std::string utf8;
};

class TextDecoderRows : public testing::TestWithParam<CodePageRow> {};

TEST_P(TextDecoderRows, GivesTheCharactersOfThePage) {
    const CodePageInfo* page = FindCodePage(GetParam().page);
    ASSERT_NE(page, nullptr);
    TextDecoder decoder(*page);
    ASSERT_TRUE(decoder.Ok());
    EXPECT_EQ(decoder.ToUtf8(GetParam().bytes), GetParam().utf8);
}

const std::string kFffd = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Rows, TextDecoderRows,
    testing::Values(
        CodePageRow{"AsciiUnchanged", "cp1252", "Memo 1\n\t~", "Memo 1\n\t~"},
        CodePageRow{"EveryUnmappedByteCounts", "cp1252", "\x81\x8D\x8F\x90\x9D", kFffd + kFffd + kFffd + kFffd + kFffd},
        CodePageRow{"CaronOf1250", "cp1250", "\x8A", "\xC5\xA0"},
        CodePageRow{"Unmapped98Of1251", "cp1251", "\x98", kFffd},
        CodePageRow{"GreekOf1253", "cp1253", "\xC1\xF9", "\xCE\x91\xCF\x89"},
        CodePageRow{"UnmappedAAOf1253", "cp1253", "\xAA" "a", kFffd + "a"},
        CodePageRow{"BackslashOfShiftJis", "shift_jis", "\x5C", "\\"},
        CodePageRow{"HalfWidthKatakana", "shift_jis", "\xB1", "\xEF\xBD\xB1"},
        CodePageRow{"LeadByteCutByTheEnd", "shift_jis", "a\x82", "a" + kFffd},
        CodePageRow{"LeadByteBeforeASpace", "shift_jis", "\x82 b", kFffd + " b"},
        CodePageRow{"IdeographOfBig5", "big5", "\xA4\x40", "\xE4\xB8\x80"},
        CodePageRow{"Big5TrailInAsciiRange", "big5", "\xA4\x61" "a", "\xE5\x85\x80" "a"},
        CodePageRow{"Big5LeadCut", "big5", "\xA4", kFffd},
        CodePageRow{"Undefined80OfBig5", "big5", "a\x80" "b", "a" + kFffd + "b"},
        // UTF-8 (Mobipocket's 65001) comes through as it is, a C1 control included; each byte of a
        // malformed or cut sequence is one U+FFFD.
        CodePageRow{"Utf8AsItIs", "utf-8", "\xCE\xB1\xC2\x85\xF0\x9F\x98\x80", "\xCE\xB1\xC2\x85\xF0\x9F\x98\x80"},
        CodePageRow{"Utf8Malformed", "utf-8", "a\xC0\xAF\xED\xA0\x80" "b\xE3\x81", "a" + kFffd + kFffd + kFffd + kFffd +
                                                                               kFffd + "b" + kFffd + kFffd}),
    [](const auto& info) { return info.param.name; });

struct NameRow {
    const char* spelling;
    const char* page;  // null: unknown
};

class CodePageNames : public testing::TestWithParam<NameRow> {};

TEST_P(CodePageNames, FindsThePage) {
    const CodePageInfo* page = FindCodePage(GetParam().spelling);
    if (GetParam().page == nullptr) {
        EXPECT_EQ(page, nullptr);
    } else {
        ASSERT_NE(page, nullptr);
        EXPECT_STREQ(page->name, GetParam().page);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CodePageNames,
                         testing::Values(NameRow{"cp1252", "cp1252"}, NameRow{"CP1251", "cp1251"},
                                         NameRow{"Windows-1250", "cp1250"}, NameRow{"SJIS", "shift_jis"},
                                         NameRow{"Big5", "big5"}, NameRow{"UTF8", "utf-8"},
                                         NameRow{"cp125", nullptr},
                                         NameRow{"cp12520", nullptr}, NameRow{"", nullptr},
                                         NameRow{"latin9", nullptr}),
                         [](const auto& info) {
                             std::string name = info.param.spelling[0] ? info.param.spelling : "Empty";
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = 'X';
                             return name;
                         });

}  // namespace
}  // namespace corvelle
