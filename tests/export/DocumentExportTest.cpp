// A document's text export: the whole text through the format's document
// reader, a selection of its records through the same conversion, and the
// plain-text rules for what a book holds beyond running text.
#include <functional>

#include "ExportFixture.h"
#include "export/PlainDocument.h"
#include "tools/fixtures/MobiWriter.h"

namespace corvelle {
namespace {

// An uncompressed PalmDOC document (compression 1) of these text records,
// followed by a bookmark record that is never text.
samples::PalmDatabase Document(const std::vector<std::string>& texts, uint16_t compression = 1) {
    size_t length = 0;
    for (const std::string& text : texts) length += text.size();
    std::vector<samples::PalmRecord> records = {
        {0, 1, Be16(compression) + Be16(0) + Be32(static_cast<uint32_t>(length)) +
                   Be16(static_cast<unsigned>(texts.size())) + Be16(4096) + Be32(0)}};
    for (const std::string& text : texts) records.push_back({0, 2, text});
    records.push_back({0, 3, std::string("bookmark\0\0\0\0\0\0\0\0\0\0\0\0", 20)});
    return Records("TEXt", "REAd", records);
}

struct DocumentRow {
    const char* name;
    std::vector<std::string> records;
    uint16_t compression;
    std::vector<size_t> selection;  // empty: the whole document
    std::string text;
    std::vector<std::string> warnings;
};

class DocumentText : public testing::TestWithParam<DocumentRow> {};

TEST_P(DocumentText, IsTheTextWithLfLineEndsAndWarnsOfWhatIsMissing) {
    const DocumentRow& row = GetParam();
    std::vector<std::string> warnings;
    ExportOptions options;
    options.warnings = &warnings;
    if (!row.selection.empty()) options.selection = &row.selection;
    EXPECT_EQ(Exported(Document(row.records, row.compression), ExportType::kText, options), row.text);
    EXPECT_EQ(warnings, row.warnings);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DocumentText,
    testing::Values(
        DocumentRow{"CrLfBecomesLf", {"one\r\ntwo\r", "\nthree\r\n"}, 1, {}, "one\ntwo\nthree\n", {}},
        DocumentRow{"BookmarksAreNoText", {"text"}, 1, {}, "text", {}},
        DocumentRow{"BadReferenceIsAWarning", {std::string("ab\x80\x30", 4), "cd"}, 2, {}, "abcd",
                    {"record 1: its text stops at byte 2, at a reference before the start of the text"}},
        DocumentRow{"SelectedRecordsInTheirOrder", {"one\r\n", "two\r\n", "three\r\n"}, 1, {3, 0, 1},
                    "three\none\n", {}},
        DocumentRow{"SelectionKeepsACrLfAcrossRecords", {"one\r", "\ntwo"}, 1, {1, 2}, "one\ntwo", {}},
        // Mobipocket's first books: an HTML document told by its start alone, its markup read across records.
        DocumentRow{"HtmlTextIsRead", {"\r\n <HTML><HEAD><dc:Title>T</dc:Title></HEAD><BODY><h2>One</h2><p>a &am",
                                       "p; b<p><img recindex=\"1\">c</BODY></HTML>"},
                    1, {}, "One\na & b\n[image]c\n", {}},
        DocumentRow{"HtmlSelectionIsReadToo", {"<html><p>a</p>", "<p>b</p>", "<p>c</p></html>"}, 1, {3, 2},
                    "c\nb\n", {}},
        DocumentRow{"DoctypeInAnyLetterCase", {"<!doctype HTML><p>x</p>"}, 1, {}, "x\n", {}},
        DocumentRow{"XmlDeclaration", {"<?XML version=\"1.0\"?><html><body>y</body></html>"}, 1, {}, "y\n", {}},
        DocumentRow{"MarkupFurtherOnIsText", {"Use <string> &nbsp; a < b\n", "<html> here\n"}, 1, {},
                    "Use <string> &nbsp; a < b\n<html> here\n", {}},
        DocumentRow{"AnotherElementIsText", {"<htmlish>z</htmlish>"}, 1, {}, "<htmlish>z</htmlish>", {}}),
    [](const auto& info) { return info.param.name; });

// A selection that holds a Mobipocket book's record 0 is the whole book's
// text, an image and a rule as the whole export gives them.
TEST(DocumentText, MobipocketSelectionIsTheWholeExport) {
    const std::string html = "<p>see <img recindex=\"00001\"> here</p><hr/><p>end</p>";
    samples::MobiHeaderParts parts;
    parts.textLength = static_cast<uint32_t>(html.size());
    parts.textRecords = 1;
    parts.fullName = "Book";
    const samples::PalmDatabase book = Records("BOOK", "MOBI", {{0, 1, samples::MobiRecord0(parts)}, {0, 2, html}});
    const std::vector<size_t> first = {0};
    ExportOptions selected;
    selected.selection = &first;
    const std::string whole = Exported(book, ExportType::kText);
    EXPECT_NE(whole.find("see [image] here"), std::string::npos) << whole;
    EXPECT_EQ(Exported(book, ExportType::kText, selected), whole);
}

// What a format may give beyond running text, and what plain text makes of it.
struct SinkRow {
    const char* name;
    std::function<void(DocumentSink&)> pieces;
    std::string text;
    std::vector<std::string> warnings;
};

void PrintTo(const SinkRow& row, std::ostream* out) { *out << row.name; }

class PlainText : public testing::TestWithParam<SinkRow> {};

// Hands each piece to the sink and then passes on what is ready, as the
// streamed export does after each record.
class PassingOn final : public DocumentSink {
public:
    PassingOn(PlainTextSink& sink, std::string& passed)
        : m_sink(sink), m_flush([&passed](std::string& out) {
              passed += out;
              out.clear();
              return true;
          }) {}
    void Text(std::string_view utf8, unsigned style) override { m_sink.Text(utf8, style); Pass(); }
    void Heading(std::string_view utf8) override { m_sink.Heading(utf8); Pass(); }
    void Image(const ByteSpan& file) override { m_sink.Image(file); Pass(); }
    void Rule() override { m_sink.Rule(); Pass(); }
    void Note(std::string text) override { m_sink.Note(std::move(text)); }

private:
    void Pass() { EXPECT_TRUE(m_sink.PassOn(m_flush)); }
    PlainTextSink& m_sink;
    TextFlush m_flush;
};

TEST_P(PlainText, GivesEachPieceItsLine) {
    std::string out;
    std::vector<std::string> warnings;
    PlainTextSink sink(out, [&warnings](std::string text) { warnings.push_back(std::move(text)); });
    GetParam().pieces(sink);
    EXPECT_EQ(out, GetParam().text);
    EXPECT_EQ(warnings, GetParam().warnings);

    // Passed on as it fills, the text must read the same: a line's end
    // that has gone out is still known.
    std::string rest, passed;
    PlainTextSink streamed(rest, nullptr);
    PassingOn passing(streamed, passed);
    GetParam().pieces(passing);
    EXPECT_EQ(passed + rest, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlainText,
    testing::Values(
        SinkRow{"StylesLeaveNoTrace",
                [](DocumentSink& s) { s.Text("a "); s.Text("bold", text_style::kBold); s.Text(" word\n"); },
                "a bold word\n", {}},
        SinkRow{"HeadingInsideAParagraphGetsItsOwnLine",
                [](DocumentSink& s) { s.Text("before"); s.Heading("Chapter\n1"); s.Text("after\n"); },
                "before\nChapter 1\nafter\n", {}},
        SinkRow{"HeadingFirst", [](DocumentSink& s) { s.Heading("Title"); s.Text("text"); }, "Title\ntext", {}},
        SinkRow{"RuleIsAnEmptyLine",
                [](DocumentSink& s) { s.Text("end"); s.Rule(); s.Text("next\n"); s.Rule(); },
                "end\n\nnext\n\n", {}},
        SinkRow{"ImageWhereItStands",
                [](DocumentSink& s) { s.Text("see "); s.Image({}); s.Text(" here"); }, "see [image] here", {}},
        SinkRow{"HeadingAfterALineThatWentOut",
                [](DocumentSink& s) { s.Text(std::string(kExportPieceSize, 'a') + "\n"); s.Heading("Title"); },
                std::string(kExportPieceSize, 'a') + "\nTitle\n", {}},
        SinkRow{"RuleAfterAnUnendedLineThatWentOut",
                [](DocumentSink& s) { s.Text(std::string(kExportPieceSize, 'a')); s.Rule(); s.Text("b"); },
                std::string(kExportPieceSize, 'a') + "\n\nb", {}},
        SinkRow{"CrThatWentOutBeforeItsLf",
                [](DocumentSink& s) { s.Text(std::string(kExportPieceSize, 'a') + "\r"); s.Text("\nb"); },
                std::string(kExportPieceSize, 'a') + "\nb", {}},
        SinkRow{"NotesAreWarningsOnly",
                [](DocumentSink& s) { s.Text("a"); s.Note("record 3 is cut"); s.Text("b"); }, "ab",
                {"record 3 is cut"}}),
    [](const auto& info) { return info.param.name; });

// A document of megabytes goes out in pieces as it is made: together they
// are what ExportToText makes, each within the bound, and a piece that
// cannot be written stops the export. The same for the JSON of its records.
struct StreamRow {
    const char* name;
    ExportType type;
    size_t refusedPiece;  // the write that fails, counted from 1; 0: none
};
void PrintTo(const StreamRow& row, std::ostream* out) { *out << row.name; }

class StreamedExport : public testing::TestWithParam<StreamRow> {};

TEST_P(StreamedExport, IsTheWholeExportInBoundedPieces) {
    // Records of 4001 bytes, so that the pieces' ends fall anywhere in the
    // two bytes of an e acute and between the CR and LF of a line end.
    std::vector<std::string> records;
    for (size_t i = 0; i < 50; ++i) {
        std::string text = "line " + std::to_string(i) + ": ";
        while (text.size() < 3997) text += "caf\xE9 ";
        records.push_back(text.substr(0, 3997) + "\xE9\r\n\xE9");
    }
    const Database file(Document(records));
    const DecodedDatabase database(file.model);
    std::string whole, error;
    ASSERT_TRUE(ExportToText(database, GetParam().type, {}, whole, error)) << error;

    std::vector<std::string> pieces;
    const auto write = [&pieces](std::string_view piece) {
        pieces.emplace_back(piece);
        return pieces.size() != GetParam().refusedPiece;
    };
    const bool made = ExportToOutput(database, GetParam().type, {}, write, error);
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_LE(piece.size(), kExportPieceSize);
        joined += piece;
    }
    if (GetParam().refusedPiece == 0) {
        EXPECT_TRUE(made) << error;
        EXPECT_GT(pieces.size(), 2u);
        EXPECT_EQ(joined, whole);
    } else {
        EXPECT_FALSE(made);
        EXPECT_EQ(error, "cannot write");
        EXPECT_EQ(pieces.size(), GetParam().refusedPiece) << "written on after a failed write";
        EXPECT_EQ(joined, whole.substr(0, joined.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StreamedExport,
                         testing::Values(StreamRow{"AllWritten", ExportType::kText, 0},
                                         StreamRow{"FirstPieceRefused", ExportType::kText, 1},
                                         StreamRow{"ThirdPieceRefused", ExportType::kText, 3},
                                         StreamRow{"JsonAllWritten", ExportType::kJson, 0},
                                         StreamRow{"JsonSecondPieceRefused", ExportType::kJson, 2}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
