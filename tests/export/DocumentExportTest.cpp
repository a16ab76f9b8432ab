// A document's text export: the whole text through the format's document
// reader, a selection of its records through the same conversion, and the
// plain-text rules for what a book holds beyond running text.
#include <functional>

#include "ExportFixture.h"
#include "export/PlainDocument.h"

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
        DocumentRow{"SelectionKeepsACrLfAcrossRecords", {"one\r", "\ntwo"}, 1, {1, 2}, "one\ntwo", {}}),
    [](const auto& info) { return info.param.name; });

// What a format may give beyond running text, and what plain text makes of it.
struct SinkRow {
    const char* name;
    std::function<void(DocumentSink&)> pieces;
    std::string text;
    std::vector<std::string> warnings;
};

class PlainText : public testing::TestWithParam<SinkRow> {};

TEST_P(PlainText, GivesEachPieceItsLine) {
    std::string out;
    std::vector<std::string> warnings;
    PlainTextSink sink(out, [&warnings](std::string text) { warnings.push_back(std::move(text)); });
    GetParam().pieces(sink);
    EXPECT_EQ(out, GetParam().text);
    EXPECT_EQ(warnings, GetParam().warnings);
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
        SinkRow{"NotesAreWarningsOnly",
                [](DocumentSink& s) { s.Text("a"); s.Note("record 3 is cut"); s.Text("b"); }, "ab",
                {"record 3 is cut"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
