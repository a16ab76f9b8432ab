// HTML-like markup as a person reads it: each kind of markup, and the same markup cut into
// pieces anywhere (inside a tag, a reference, a comment), which must read the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShownText.h"
#include "formats/HtmlText.h"

using namespace corvelle;

namespace {

const std::string kPicture = "GIF89a...";

std::string Read(const std::vector<std::string>& pieces) {
    HtmlText html([](uint32_t number) {
        return number == 12 ? ByteSpan{reinterpret_cast<const uint8_t*>(kPicture.data()), kPicture.size()}
                            : ByteSpan{};
    });
    ShownText shown;
    for (const std::string& piece : pieces) html.Add(piece, shown);
    html.Finish(shown);
    return shown.Done();
}

struct HtmlRow {
    const char* name;
    std::string markup;
    std::string shown;
};

const HtmlRow kRows[] = {
    {"Paragraphs", "<p>One</p><p>Two<br/>lines</p><div>Three</div>", "One\nTwo\nlines\nThree\n"},
    {"EmptyLineFromABreak", "<p>Title</p><br></br><p>Text</p>", "Title\n\nText\n"},
    {"WhiteSpaceIsOneSpace", "<p>  a \n\t b  </p>\n  <p>c</p>", "a b\nc\n"},
    {"Headings", "<h1>Chapter <i>One</i></h1><p>Text</p><h2>Two</h2>", "#Chapter One\nText\n#Two\n"},
    {"Styles", "a <b>bold <i>both</i></b> <u>under</u><s>gone</s><strong>x</strong><em>y</em> z",
     "a <B>bold </><BI>both</> <U>under</><S>gone</><B>x</><I>y</> z\n"},
    {"UnbalancedEndTagsDoNotUnderflow", "</b></b>a<b>b</b>c", "a<B>b</>c\n"},
    {"NamedReferences", "&amp;&lt;&gt;&quot;&apos;&nbsp;&eacute;&Omega;&hellip;&euro;",
     "&<>\"'\xC2\xA0\xC3\xA9\xCE\xA9\xE2\x80\xA6\xE2\x82\xAC\n"},
    {"NumericReferences", "&#233;&#xE9;&#X1F600;&#146;&#0;&#x110000;",
     "\xC3\xA9\xC3\xA9\xF0\x9F\x98\x80\xE2\x80\x99\xEF\xBF\xBD\xEF\xBF\xBD\n"},
    {"NoReference", "a & b &unknown; &amp c&", "a & b &unknown; &amp c&\n"},
    {"ReferenceOfWhiteSpace", "a&#10;&#32;b", "a b\n"},
    {"LessThanThatStartsNoTag", "a < b <3 c<", "a < b <3 c<\n"},
    {"CommentsWithTagsInside", "a<!-- <p>x</p> -> > --->b<!---->c", "abc\n"},
    {"HeadScriptAndStyleLeaveNothing",
     "<html><head><title>T</title><style>p > b {}</style></head><body>a<script>x();</script>b</body>",
     "ab\n"},
    {"DeclarationsLeaveNothing", "<?xml version=\"1.0\"?><!DOCTYPE html>a", "a\n"},
    {"QuotedGreaterThanInsideATag", "<p title=\"a > b\" class='c>d'>text</p>", "text\n"},
    {"PageBreakAndRule", "a<mbp:pagebreak/>b<hr>c", "a\n---\nb\n---\nc\n"},
    {"Images", "<p>x <img recindex=\"00012\"/> <IMG src=\"kindle:embed:000C?mime=image/gif\"></p><img>",
     "x [image:9] [image:9]\n[image:0]"},
    {"OtherTagsLeaveTheirText", "<a filepos=12>link</a> <font size=2>small</font> <span>s</span>",
     "link small s\n"},
    {"TableCells", "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", "a b\nc\n"},
    {"TagThatNeverEnds", "a<p " + std::string(20000, 'x'), "a<p " + std::string(20000, 'x') + "\n"},
    {"ZeroPaddingIsNothing", std::string("a\0\0b", 4), "ab\n"},
    // Words longer than eight bytes, two spaces, a tab, a reference and a tag at every offset of a word.
    {"LongWordsAndWhiteSpace",
     "Anfangsbuchstaben  zusammen\tgeschrieben &amp; w\xC3\xB6rtlich<b>fett</b>  zw\xC3\xB6lf x&lt;y abcdefg  h ",
     "Anfangsbuchstaben zusammen geschrieben & w\xC3\xB6rtlich<B>fett</> zw\xC3\xB6lf x<y abcdefg h\n"},
};

class HtmlTextRows : public testing::TestWithParam<HtmlRow> {};

TEST_P(HtmlTextRows, ReadsAsAPersonReadsIt) {
    const HtmlRow& row = GetParam();
    EXPECT_EQ(Read({row.markup}), row.shown);
    // Cut at every place into two pieces, and into pieces of one byte: the same.
    for (size_t at = 0; at <= row.markup.size() && row.markup.size() < 300; ++at) {
        SCOPED_TRACE(at);
        ASSERT_EQ(Read({row.markup.substr(0, at), row.markup.substr(at)}), row.shown);
    }
    std::vector<std::string> bytes;
    for (char c : row.markup) bytes.push_back(std::string(1, c));
    EXPECT_EQ(Read(bytes), row.shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, HtmlTextRows, testing::ValuesIn(kRows), [](const auto& info) { return info.param.name; });

}  // namespace
