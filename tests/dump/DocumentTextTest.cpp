// A document's text as the Text page and `--export text` get it: joined
// across records before conversion, with LF line ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standards/CodePage.h"
#include "formats/DocumentText.h"
#include "formats/FormatTable.h"
#include "tools/fixtures/PalmWriter.h"

using namespace corvelle;

namespace {

class Collected final : public DocumentSink {
public:
    void Text(std::string_view utf8, unsigned) override { text.append(utf8.data(), utf8.size()); }
    void Heading(std::string_view utf8) override { text += "[" + std::string(utf8) + "]\n"; }
    void Image(const ByteSpan&) override { text += "[image]"; }
    void Rule() override { text += "----\n"; }
    void Note(std::string line) override { notes.push_back(std::move(line)); }
    std::string text;
    std::vector<std::string> notes;
};

std::string Be16(unsigned v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }
std::string Be32(uint32_t v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

// A PalmDOC file of uncompressed text records (compression 1).
std::string PalmDoc(const std::vector<std::string>& texts, uint16_t compression = 1) {
    samples::PalmDatabase doc;
    doc.type = "TEXt";
    doc.creator = "REAd";
    size_t length = 0;
    for (const std::string& text : texts) length += text.size();
    doc.records.push_back({0, 1,
                           Be16(compression) + Be16(0) + Be32(static_cast<uint32_t>(length)) +
                               Be16(static_cast<unsigned>(texts.size())) + Be16(4096) + Be32(0)});
    for (const std::string& text : texts) doc.records.push_back({0, 2, text});
    return samples::SerializePalmDatabase(doc);
}

Collected Read(const std::string& file, const char* encoding) {
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const DecodedDatabase database(model);
    TextDecoder decoder(*FindCodePage(encoding));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    Collected sink;
    std::unique_ptr<DocumentReader> document = database.Reader().OpenDocument(options);
    EXPECT_NE(document, nullptr);
    if (document == nullptr) return sink;
    for (int pieces = 0; document->Next(sink); ++pieces) EXPECT_LT(pieces, 100);
    return sink;
}

TEST(DocumentText, PalmDocJoinsRecordsBeforeConvertingAndEndsLinesInLf) {
    const struct {
        const char* name;
        std::vector<std::string> records;
        uint16_t compression;
        const char* encoding;
        std::string text;
        size_t notes;
    } cases[] = {
        {"CrLfBecomesLf", {"one\r\ntwo\r", "\nthree\rfour"}, 1, "cp1252", "one\ntwo\nthree\nfour", 0},
        {"Cp1252", {"caf\xE9\n"}, 1, "cp1252", "caf\xC3\xA9\n", 0},
        // "あい" in Shift_JIS, the first character cut between two records.
        {"ShiftJisAcrossRecords", {"x\x82", "\xA0\x82\xA2\n"}, 1, "shift_jis", "x\xE3\x81\x82\xE3\x81\x84\n", 0},
        {"Compressed", {std::string("\x05" "abcde\x80\x2A", 8)}, 2, "cp1252", "abcdeabcde", 0},
        {"BadReferenceIsNoted", {std::string("ab\x80\x30", 4)}, 2, "cp1252", "ab", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Collected read = Read(PalmDoc(c.records, c.compression), c.encoding);
        EXPECT_EQ(read.text, c.text);
        EXPECT_EQ(read.notes.size(), c.notes);
    }
}

// UTF-8 in pieces cut anywhere, with and without line feeds (a Mobipocket book's markup is one long
// line): every character whole, however the pieces fall, and CR LF one LF across two pieces.
TEST(DocumentText, DeviceTextJoinsCharactersWhereverThePiecesFall) {
    std::string greek;
    while (greek.size() < 200000) greek += "\xCE\xB1\xCE\xB2\xE3\x81\x82 ";
    const struct {
        const char* name;
        std::string text;
        size_t piece;
    } cases[] = {
        {"LinesOfUtf8", "a\xCE\xB1\nb\xE3\x81\x82\r\nc\n", 3},
        {"CrLfAcrossPieces", "a\r\nb\rc", 2},
        {"OneLongLine", greek, 4093},
        {"OneLongLineInSmallPieces", greek, 1000},
    };
    TextDecoder decoder(*FindCodePage("utf-8"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceText text(decoder);
        std::string out;
        for (size_t at = 0; at < c.text.size(); at += c.piece) out += text.Add(std::string_view(c.text).substr(at, c.piece));
        out += text.Finish();
        std::string want = c.text;
        for (size_t at; (at = want.find('\r')) != std::string::npos;)
            want.replace(at, want.compare(at, 2, "\r\n") == 0 ? 2 : 1, "\n");
        EXPECT_EQ(out, want);
    }
}

}  // namespace
