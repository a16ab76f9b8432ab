// The Text page's text: what a document's pieces become in the control (the
// plain-text export's text, with CR LF and looks), where a piece of it may be
// cut, and the document read only as far as the page asks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/PlainDocument.h"
#include "tools/fixtures/PalmDocWriter.h"
#include "tools/fixtures/PalmWriter.h"
#include "model/PageDocument.h"
#include "model/ViewedDatabase.h"
#include "model/PageText.h"

namespace corvelle {
namespace {

constexpr unsigned kBold = text_style::kBold, kItalic = text_style::kItalic;
constexpr unsigned kHeading = page_style::kHeading, kAside = page_style::kAside;

std::string WithoutCr(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// A run as "style:text", for readable failures.
std::vector<std::string> Runs(const PageText& page, size_t from, size_t to) {
    std::vector<std::string> runs;
    for (const StyledRun& run : page.RunsIn(from, to))
        runs.push_back(std::to_string(run.style) + ":" +
                       Utf8FromUnits(std::u16string_view(page.Units()).substr(run.start, run.end - run.start)));
    return runs;
}

struct PageRow {
    const char* name;
    std::function<void(DocumentSink&)> pieces;
    std::string text;               // UTF-8 of the page's text
    std::vector<std::string> runs;  // of the whole text
    // False for bytes that are not UTF-8, which no reader gives: the page
    // must survive them, the export trusts the readers.
    bool asExported = true;
};

class Page : public testing::TestWithParam<PageRow> {};

// A Cyrillic letter, a book emoji (a surrogate pair) and a NUL.
const std::string kEveryScript = "\xD0\x96 \xF0\x9F\x93\x96 xya\xEF\xBF\xBD" "b";

// Without its notes, the page's text is the export's, line ends apart.
TEST_P(Page, HoldsTheExportsTextWithCrLfAndItsLooks) {
    const PageRow& row = GetParam();
    PageText page;
    row.pieces(page);
    EXPECT_EQ(Utf8FromUnits(page.Units()), row.text);
    EXPECT_EQ(Runs(page, 0, page.Size()), row.runs);
    std::string exported;
    std::vector<std::string> notes;
    PlainTextSink plain(exported, [&notes](std::string note) { notes.push_back(note); });
    row.pieces(plain);
    if (notes.empty() && row.asExported) {
        EXPECT_EQ(WithoutCr(row.text), exported);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Page,
    testing::Values(
        PageRow{"LineFeedsEndParagraphs", [](DocumentSink& s) { s.Text("one\ntwo\n"); }, "one\r\ntwo\r\n",
                {"0:one\r\ntwo\r\n"}},
        PageRow{"StylesAreRunsAndLineEndsStayPlain",
                [](DocumentSink& s) { s.Text("a "); s.Text("bold\nmore", kBold); s.Text(" it", kItalic); },
                "a bold\r\nmore it", {"0:a ", "1:bold", "0:\r\n", "1:more", "2: it"}},
        PageRow{"SameStyleRunsJoin", [](DocumentSink& s) { s.Text("x", kBold); s.Text("y", kBold); }, "xy", {"1:xy"}},
        PageRow{"HeadingOnItsOwnLine",
                [](DocumentSink& s) { s.Text("end"); s.Heading("Chapter\r\n2"); s.Text("text"); },
                "end\r\nChapter 2\r\ntext", {"0:end\r\n", "256:Chapter 2", "0:\r\ntext"}},
        PageRow{"RuleAndImage", [](DocumentSink& s) { s.Text("a"); s.Rule(); s.Image({}); },
                "a\r\n\r\n[image]", {"0:a\r\n\r\n", "512:[image]"}},
        PageRow{"NoteOnALineOfItsOwn", [](DocumentSink& s) { s.Text("cut"); s.Note("record 2 is cut"); s.Text("on"); },
                "cut\r\n[record 2 is cut]\r\non", {"0:cut\r\n", "512:[record 2 is cut]", "0:\r\non"}},
        PageRow{"CrLfAcrossPiecesIsOneEnd", [](DocumentSink& s) { s.Text("a\r"); s.Text("\nb\rc"); }, "a\r\nb\r\nc",
                {"0:a\r\nb\r\nc"}},
        PageRow{"EveryScriptAndWhatIsNoText",
                [](DocumentSink& s) { s.Text("\xD0\x96 \xF0\x9F\x93\x96 xy"); s.Text(std::string("a\0b", 3)); },
                kEveryScript, {"0:" + kEveryScript}},
        PageRow{"BytesThatAreNotUtf8", [](DocumentSink& s) { s.Text("x\xFFy\xE2\x82"); },
                "x\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD", {"0:x\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD"}, false}),
    [](const auto& info) { return info.param.name; });

TEST(PageRuns, CoverAnyStretchWhole) {
    PageText page;
    page.Text("ab");
    page.Text("cd", kBold);
    page.Text("ef");
    page.Text("gh", kItalic);
    EXPECT_EQ(Runs(page, 1, 7), (std::vector<std::string>{"0:b", "1:cd", "0:ef", "2:g"}));
    EXPECT_EQ(Runs(page, 3, 3), std::vector<std::string>{});
    EXPECT_EQ(Runs(page, 6, 99), std::vector<std::string>{"2:gh"});
    EXPECT_EQ(page.Units().substr(0, 2), u"ab");
}

TEST(TextPieceEnd, CutsAtParagraphsThenSpacesNeverInsideAPairOrCrLf) {
    const std::u16string text = u"one two\r\nthree four five\r\n\xD83D\xDCD6xyz";
    const struct { const char* name; size_t start, wanted, end; } kCases[] = {
        {"AfterTheLastParagraphEnd", 0, 20, 9},  {"AfterASpace", 9, 10, 15},
        {"WhereItReaches", 9, 3, 12},            {"NotBetweenCrAndLf", 20, 5, 24},
        {"NotInsideASurrogatePair", 26, 1, 28},  {"AllThatIsLeft", 26, 99, 31},
        {"AtTheEnd", 31, 10, 31},                {"NothingWantedIsOneCharacter", 0, 0, 1}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextPieceEnd(text, c.start, c.wanted), c.end);
    }
}

TEST(PageUnits, ConvertBothWaysWithReplacements) {
    EXPECT_EQ(UnitsFromUtf8("\xC3\xA9\xF0\x9F\x93\x96\xE3\x81"), u"\xE9\xD83D\xDCD6\xFFFD\xFFFD");
    EXPECT_EQ(Utf8FromUnits(u"\xE9\xD83D\xDCD6"), "\xC3\xA9\xF0\x9F\x93\x96");
    EXPECT_EQ(Utf8FromUnits(std::u16string(1, char16_t(0xD800)) + u"a"), "\xEF\xBF\xBD" "a");
}

std::string Be16(unsigned v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }
std::string Be32(uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

// A PalmDOC file of uncompressed text records, with a bookmark after them.
std::vector<uint8_t> PalmDoc(const std::vector<std::string>& texts, const char* type = "TEXt") {
    samples::PalmDatabase doc;
    doc.type = type;
    doc.creator = "REAd";
    doc.records.push_back({0, 1, Be16(1) + Be16(0) + Be32(0) + Be16(static_cast<unsigned>(texts.size())) +
                                     Be16(4096) + Be32(0)});
    for (const std::string& text : texts) doc.records.push_back({0, 2, text});
    doc.records.push_back({0, 3, std::string(20, 'b')});
    const std::string bytes = samples::SerializePalmDatabase(doc);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A book opened as a viewer opens it: the database once, its document over it.
struct OpenedBook {
    OpenedBook(std::vector<uint8_t> bytes, const char* encoding)
        : viewed("book.pdb", std::move(bytes), *FindCodePage(encoding)), document(viewed.Database(), viewed.Encoding()) {}
    ViewedDatabase viewed;
    PageDocument document;
};

TEST(PageDocument, ReadsOnlyAsFarAsAskedAndEndsAsTheExportDoes) {
    const std::vector<std::string> records(10, std::string(999, 'w') + "\r\n");
    OpenedBook book(PalmDoc(records), "cp1252");
    PageDocument& document = book.document;
    ASSERT_TRUE(document.HasDocument());
    document.Prepare(1500);
    // Converted up to the last line end of what was read: two records.
    EXPECT_EQ(document.Size(), 2002u);
    EXPECT_FALSE(document.IsComplete());
    EXPECT_GT(document.ExpectedSize(), 9000u);
    EXPECT_LT(document.ExpectedSize(), 14000u);
    document.PrepareAll();
    EXPECT_TRUE(document.IsComplete());
    EXPECT_EQ(document.ExpectedSize(), document.Size());
    std::string whole;
    for (const std::string& record : records) whole += record;
    EXPECT_EQ(Utf8FromUnits(document.Text().Units()), whole);
}

TEST(PageDocument, TakesTheUsersCodePageAndKnowsADatabaseWithoutText) {
    OpenedBook cyrillicBook(PalmDoc({"\xC4\xEE\xEC\n"}), "cp1251");
    PageDocument& cyrillic = cyrillicBook.document;
    cyrillic.PrepareAll();
    EXPECT_EQ(cyrillic.Text().Units(), u"\x0414\x043E\x043C\r\n");
    OpenedBook memosBook(PalmDoc({"not a document"}, "DATA"), "cp1252");
    PageDocument& memos = memosBook.document;
    EXPECT_FALSE(memos.HasDocument());
    EXPECT_TRUE(memos.IsComplete());
    memos.PrepareAll();
    EXPECT_EQ(memos.Size(), 0u);
}

// The book writer of the host tests and the benchmark, read back by the page.
TEST(PageDocument, ReadsTheCompressedBooksTheTestsWrite) {
    const std::string text = samples::SampleBookText(400) + "caf\xE9 \x01\x85 end\n";
    const std::string file = samples::SerializePalmDatabase(samples::PalmDocBook("Book", text));
    EXPECT_LT(file.size(), text.size() * 3 / 4) << "compressed";
    OpenedBook book(std::vector<uint8_t>(file.begin(), file.end()), "cp1252");
    PageDocument& document = book.document;
    document.PrepareAll();
    std::string expected;
    TextDecoder(*FindCodePage("cp1252")).AppendUtf8(text, expected);
    EXPECT_EQ(WithoutCr(Utf8FromUnits(document.Text().Units())), expected);
}

}  // namespace
}  // namespace corvelle
