// The Text page's text: what a document's pieces become on the page (the
// plain-text export's text, with its looks), where a piece of it may be cut,
// and the document read only as far as the page asks.
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

// A run as "style:text", for readable failures.
std::vector<std::string> Runs(const PageText& page, size_t from, size_t to) {
    std::vector<std::string> runs;
    for (const StyledRun& run : page.RunsIn(from, to))
        runs.push_back(std::to_string(run.style) + ":" + page.Utf8().substr(run.start, run.end - run.start));
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

// Without its notes, the page's text is the export's.
TEST_P(Page, HoldsTheExportsTextAndItsLooks) {
    const PageRow& row = GetParam();
    PageText page;
    row.pieces(page);
    EXPECT_EQ(page.Utf8(), row.text);
    EXPECT_EQ(Runs(page, 0, page.Size()), row.runs);
    std::string exported;
    std::vector<std::string> notes;
    PlainTextSink plain(exported, [&notes](std::string note) { notes.push_back(note); });
    row.pieces(plain);
    if (notes.empty() && row.asExported) {
        EXPECT_EQ(row.text, exported);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Page,
    testing::Values(
        PageRow{"LineFeedsEndParagraphs", [](DocumentSink& s) { s.Text("one\ntwo\n"); }, "one\ntwo\n",
                {"0:one\ntwo\n"}},
        PageRow{"StylesAreRunsAndLineEndsStayPlain",
                [](DocumentSink& s) { s.Text("a "); s.Text("bold\nmore", kBold); s.Text(" it", kItalic); },
                "a bold\nmore it", {"0:a ", "1:bold", "0:\n", "1:more", "2: it"}},
        PageRow{"SameStyleRunsJoin", [](DocumentSink& s) { s.Text("x", kBold); s.Text("y", kBold); }, "xy", {"1:xy"}},
        PageRow{"HeadingOnItsOwnLine",
                [](DocumentSink& s) { s.Text("end"); s.Heading("Chapter\r\n2"); s.Text("text"); },
                "end\nChapter 2\ntext", {"0:end\n", "256:Chapter 2", "0:\ntext"}},
        PageRow{"RuleAndImage", [](DocumentSink& s) { s.Text("a"); s.Rule(); s.Image({}); },
                "a\n\n[image]", {"0:a\n\n", "512:[image]"}},
        PageRow{"NoteOnALineOfItsOwn", [](DocumentSink& s) { s.Text("cut"); s.Note("record 2 is cut"); s.Text("on"); },
                "cut\n[record 2 is cut]\non", {"0:cut\n", "512:[record 2 is cut]", "0:\non"}},
        PageRow{"CrLfAcrossPiecesIsOneEnd", [](DocumentSink& s) { s.Text("a\r"); s.Text("\nb\rc"); }, "a\nb\nc",
                {"0:a\nb\nc"}},
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
}

TEST(TextPieceEnd, CutsAtParagraphsThenSpacesNeverInsideACharacter) {
    // "\xE2\x82\xAC" is the euro sign, "\xF0\x9F\x93\x96" a book.
    const std::string text = "one two\nthree four five\n\xF0\x9F\x93\x96xy\xE2\x82\xAC";
    const struct { const char* name; size_t start, wanted, end; } kCases[] = {
        {"AfterTheLastParagraphEnd", 0, 20, 8},   {"AfterASpace", 8, 10, 14},
        {"WhereItReaches", 8, 3, 11},             {"BackToTheCharactersStart", 28, 3, 30},
        {"ACharacterGoesWhole", 24, 2, 28},       {"AllThatIsLeft", 24, 99, 33},
        {"AtTheEnd", 33, 10, 33},                 {"NothingWantedIsOneCharacter", 0, 0, 1}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextPieceEnd(text, c.start, c.wanted), c.end);
    }
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
    EXPECT_EQ(document.Size(), 2000u);
    EXPECT_FALSE(document.IsComplete());
    EXPECT_GT(document.ExpectedSize(), 9000u);
    EXPECT_LT(document.ExpectedSize(), 14000u);
    document.PrepareAll();
    EXPECT_TRUE(document.IsComplete());
    EXPECT_EQ(document.ExpectedSize(), document.Size());
    std::string whole;
    for (const std::string& record : records) whole += record.substr(0, 999) + "\n";
    EXPECT_EQ(document.Text().Utf8(), whole);
}

TEST(PageDocument, TakesTheUsersCodePageAndKnowsADatabaseWithoutText) {
    OpenedBook cyrillicBook(PalmDoc({"\xC4\xEE\xEC\n"}), "cp1251");
    PageDocument& cyrillic = cyrillicBook.document;
    cyrillic.PrepareAll();
    EXPECT_EQ(cyrillic.Text().Utf8(), "\xD0\x94\xD0\xBE\xD0\xBC\n");
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
    EXPECT_EQ(document.Text().Utf8(), expected);
}

}  // namespace
}  // namespace corvelle
