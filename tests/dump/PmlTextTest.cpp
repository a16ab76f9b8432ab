// PML read as a person reads it: every command of the language, each case
// also cut into two pieces at every byte and fed a byte at a time, as text
// records cut words and commands anywhere.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ShownText.h"
#include "formats/PmlText.h"

using namespace corvelle;

namespace {

class OneImage final : public PmlImages {
public:
    ByteSpan Find(std::string_view name) const override {
        static const uint8_t kPng[] = {0x89, 'P', 'N', 'G', 0};
        return name == "dot.png" ? ByteSpan{kPng, sizeof kPng} : ByteSpan{};
    }
};

std::string Convert(const std::vector<std::string_view>& pieces) {
    const OneImage images;
    PmlText pml(&images);
    ShownText sink;
    for (std::string_view piece : pieces) pml.Add(piece, sink);
    pml.Finish(sink);
    return sink.Done();
}

struct PmlCase {
    const char* name;
    std::string pml;
    std::string shown;
};

const PmlCase kCases[] = {
    {"PageBreak", "one\n\\ptwo", "one\n---\ntwo"},
    {"PageBreakAtTheStartOrTwiceShowsOnce", "\\p\\pone\\p\\ptwo", "one\n---\ntwo"},
    {"ChapterTitle", "\\xChapter One\\x\nText", "#Chapter One\nText"},
    {"ChapterTitleStyledAndWrapped", "\\x\\BChapter\nOne\\B\\x\n\nText", "#Chapter One\n\nText"},
    {"IndentedChapterTitle", "\\X2Part A\\X2\nText", "#Part A\nText"},
    {"InvisibleChapterEntry", "\\C1=\"Not shown\"Text \\C=\"Nor this\"on", "Text on"},
    {"CentredAndRightLinesLeaveNoEmptyLine", "\\cCentred\n\\c\n\\rRight\n\\r\nText", "Centred\nRight\nText"},
    {"Styles", "\\iit\\i \\bbo\\b \\Bbo\\B \\uun\\u \\oov\\o \\sst\\s",
     "<I>it</> <B>bo</> <B>bo</> <U>un</> <S>ov</> <S>st</>"},
    {"NestedStyles", "\\B\\iboth\\i bold\\B", "<BI>both</><B> bold</>"},
    {"FontsAndSmallCapsLeaveTheirText", "\\nNormal \\lLarge\\l \\kCaps\\k", "Normal Large Caps"},
    {"InvisibleTextDropped", "a\\vTITLE=\"x\" \\a169 \\\\v \\i\\v b", "a b"},
    {"InvisibleLineLeavesNoEmptyLine", "a\n\\vcomment\nmore\\v\nb", "a\nb"},
    {"ReferenceIndexItem", "\\I\\Baardvark\\B\\I a mammal", "<B>aardvark</> a mammal"},
    {"Indents", "\\tIndented\\t\nA:\\T=\"40%\"B", "Indented\nA:\tB"},
    {"HorizontalRule", "one\n\\w=\"50%\"\ntwo", "one\n---\ntwo"},
    {"SuperscriptSubscriptSoftHyphen", "x\\Spsup\\Sp H\\Sb2\\SbO anti\\-dis", "xsup H2O antidis"},
    {"Cp1252ByCode", "\\a147Yeah\\a148 caf\\a233 \\a128", "\xE2\x80\x9CYeah\xE2\x80\x9D caf\xC3\xA9 \xE2\x82\xAC"},
    {"Cp1252CodeTooShortOrZero", "a\\a12x\\a000b", "axb"},
    {"UnicodeByCode", "\\U2190 \\U00e9", "\xE2\x86\x90 \xC3\xA9"},
    {"Backslash", "C:\\\\windows\\\\", "C:\\windows\\"},
    {"Image", "A \\m=\"dot.png\" and \\m=\"none.png\".", "A [image:5] and [image:0]."},
    {"Links", "See \\q=\"#here\"the link\\q and \\Q=\"here\"the anchor.", "See the link and the anchor."},
    {"FootnoteAndSidebarReferences", "Case\\Fn=\"emerson\"[1]\\Fn, \\Sd=\"more\"sidebar\\Sd.", "Case[1], sidebar."},
    {"Cp1252Text", "caf\xE9 \x80 \x81", "caf\xC3\xA9 \xE2\x82\xAC \xEF\xBF\xBD"},
    {"LineEnds", "a\r\nb\rc\n", "a\nb\nc\n"},
    {"UnknownCommandAndLoneBackslash", "a\\zb\\", "ab"},
    {"ArgumentNeverClosed", "a\\m=\"never closed", "anever closed"},
    {"TitleNeverClosed", "Text\n\\xLast", "Text\n#Last\n"},
};

void PrintTo(const PmlCase& c, std::ostream* out) { *out << c.name; }

class PmlTextTest : public testing::TestWithParam<PmlCase> {};

TEST_P(PmlTextTest, ShowsTheTextWithoutMarkupWhereverThePiecesAreCut) {
    const PmlCase& c = GetParam();
    EXPECT_EQ(Convert({c.pml}), c.shown);
    for (size_t cut = 0; cut <= c.pml.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const std::string_view pml = c.pml;
        ASSERT_EQ(Convert({pml.substr(0, cut), pml.substr(cut)}), c.shown);
    }
    std::vector<std::string_view> bytes;
    for (size_t i = 0; i < c.pml.size(); ++i) bytes.push_back(std::string_view(c.pml).substr(i, 1));
    EXPECT_EQ(Convert(bytes), c.shown) << "a byte at a time";
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, PmlTextTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PmlCase>& info) { return info.param.name; });

TEST(PmlText, WaitsForACutCommandAndBoundsWhatItHoldsBack) {
    const OneImage images;
    PmlText pml(&images);
    ShownText sink;
    pml.Add("x\\a14", sink);
    EXPECT_EQ(pml.Unfinished(), "\\a14");
    pml.Add("7y", sink);
    EXPECT_EQ(pml.Unfinished(), "");
    // An argument whose quote never closes is not held back past its bound.
    pml.Add("\\m=\"" + std::string(2000, 'n'), sink);
    EXPECT_EQ(pml.Unfinished(), "");
    pml.Finish(sink);
    EXPECT_EQ(sink.Done(), "x\xE2\x80\x9Cy" + std::string(2000, 'n'));
}

TEST(PmlText, Cp1252BothWays) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    std::string utf8;
    AppendCp1252(all, utf8);
    const std::string back = Utf8ToCp1252(utf8);
    ASSERT_EQ(back.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const auto byte = static_cast<unsigned char>(all[i]);
        const bool unassigned = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        EXPECT_EQ(back[i], unassigned ? '?' : all[i]) << "byte " << static_cast<int>(byte);
    }
    EXPECT_EQ(Utf8ToCp1252("\xE2\x86\x90\xFF"), "??");
}

}  // namespace
