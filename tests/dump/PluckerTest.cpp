// Plucker books built here: the text's functions and paragraphs as the walker gives them (arguments and
// alternate texts cut by the end, paragraphs whose sizes miss the text), the book as a person reads it
// (headings, styles, breaks, rules, images, Unicode characters, tables and a table in itself, continued
// records, character sets of the book and of one record, an owner ID, a bomb, damaged data, PalmDOC), the
// metadata cut anywhere and a compressed image's picture. calibre's reading of written books is compared
// by tools/books/check-ztxt-plucker.py.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "dump/records/PluckerFunctions.h"
#include "standards/CodePage.h"
#include "standards/Utf8.h"
#include "formats/DocumentText.h"
#include "formats/Format.h"
#include "formats/FormatTable.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmBitmapWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle {
namespace {

using samples::Put16;
using samples::Put32;

ByteSpan Span(const std::string& bytes) { return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}; }

std::string Fn(uint8_t code, const std::string& arguments = "") {
    return std::string(1, '\0') + char(code) + arguments;
}
std::string Word(uint16_t value) {
    std::string out;
    Put16(out, value);
    return out;
}
std::string Font(uint8_t font) { return Fn(0x11, std::string(1, char(font))); }

// --- The walker -----------------------------------------------------------------------------------------

struct Events final : PluckerTextHandler {
    void Text(std::string_view bytes) override { out += "T(" + std::string(bytes) + ")"; }
    void Character(uint32_t code, std::string_view alternate) override {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(code));
        out += "C(" + std::string(hex) + "," + std::string(alternate) + ")";
    }
    void Function(uint8_t code, const uint8_t* arguments) override {
        char text[8];
        std::snprintf(text, sizeof text, "F%02X", code);
        out += text;
        for (unsigned i = 0; i < (code & 7u); ++i) out += std::to_string(arguments[i]) + ";";
    }
    void ParagraphEnd() override { out += "P "; }
    std::string out;
};

TEST(PluckerFunctions, RunsFunctionsAndParagraphEnds) {
    const struct {
        const char* name;
        std::string text;
        std::vector<uint16_t> sizes;
        bool endLast;
        std::string events;
        bool whole;
    } cases[] = {
        {"Paragraphs", "HelloWorld", {5, 5}, true, "T(Hello)P T(World)P ", true},
        {"FunctionsWithArguments", Font(7) + "bold" + Fn(0x48), {}, true, "F117;T(bold)F48P ", true},
        {"Unicode16SkipsItsAlternate", "a" + Fn(0x83, "\3\x20\xac") + "EURb", {}, true, "T(a)C(20AC,EUR)T(b)P ", true},
        {"Unicode32", Fn(0x85, std::string("\1\0\1\xF6\0", 5)) + "?x", {}, true, "C(1F600,?)T(x)P ", true},
        {"AlternatePastTheEnd", Fn(0x83, std::string("\x09\0A", 3)) + "ab", {}, true, "C(41,ab)P ", true},
        {"FunctionAcrossAParagraphEnd", "ab" + Fn(0x0A, Word(3)) + "cd", {3, 5}, true, "T(ab)F0A0;3;P T(cd)P ", true},
        {"SizesPastTheText", "abc", {10, 10}, true, "T(abc)P P ", true},
        {"TextPastTheSizes", "abcdef", {2}, true, "T(abcdef)P ", true},
        {"LastParagraphGoesOn", "ab", {1, 1}, false, "T(a)P T(b)", true},
        {"ArgumentsCut", "ab" + Fn(0x1A).substr(0, 2) + std::string(1, '\0'), {}, true, "T(ab)", false},
        {"ZeroAtTheEnd", std::string("ab\0", 3), {}, true, "T(ab)", false},
        {"Empty", "", {}, true, "P ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<PluckerParagraph> paragraphs;
        for (uint16_t size : c.sizes) paragraphs.push_back({size, 0});
        Events events;
        EXPECT_EQ(WalkPluckerText(Span(c.text), paragraphs, events, c.endLast), c.whole);
        EXPECT_EQ(events.out, c.events);
    }
}

// --- Books ----------------------------------------------------------------------------------------------

std::string Zlib(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()), data.size(), 9);
    out.resize(size);
    return out;
}

// A data record: its header, the paragraph headers of a text record, then `body` as stored.
std::string Record(uint16_t uid, uint8_t type, const std::string& body, uint16_t size,
                   const std::vector<std::string>& paragraphs = {}, uint8_t flags = 0) {
    std::string out = Word(uid) + Word(static_cast<uint16_t>(paragraphs.size())) + Word(size);
    out += char(type);
    out += char(flags);
    for (const std::string& paragraph : paragraphs) out += Word(static_cast<uint16_t>(paragraph.size())) + Word(0);
    return out + body;
}

std::string Joined(const std::vector<std::string>& paragraphs) {
    std::string text;
    for (const std::string& paragraph : paragraphs) text += paragraph;
    return text;
}

std::string Page(uint16_t uid, const std::vector<std::string>& paragraphs, uint8_t flags = 0) {
    const std::string text = Joined(paragraphs);
    return Record(uid, 0, text, static_cast<uint16_t>(text.size()), paragraphs, flags);
}

std::string ZlibPage(uint16_t uid, const std::vector<std::string>& paragraphs, uint16_t size) {
    return Record(uid, 1, Zlib(Joined(paragraphs)), size, paragraphs);
}

std::string Metadata(uint16_t uid, const std::vector<std::pair<uint16_t, std::string>>& items) {
    std::string body = Word(static_cast<uint16_t>(items.size()));
    for (const auto& item : items) {
        std::string data = item.second;
        if (data.size() % 2 != 0) data += '\0';
        body += Word(item.first) + Word(static_cast<uint16_t>(data.size() / 2)) + data;
    }
    return Record(uid, 10, body, static_cast<uint16_t>(body.size()));
}

std::string Table(uint16_t uid, const std::vector<std::vector<std::string>>& rows) {
    std::string cells;
    for (const auto& row : rows) {
        cells += Fn(0x90);
        for (const std::string& cell : row)
            cells += Fn(0x97, std::string(3, '\0') + "\1\1" + Word(static_cast<uint16_t>(cell.size()))) + cell;
    }
    const std::string header = Word(static_cast<uint16_t>(cells.size())) + Word(2) + Word(2) + std::string(10, '\0');
    return Record(uid, 13, header + cells, static_cast<uint16_t>(header.size() + cells.size()));
}

std::string Book(uint16_t compression, const std::vector<std::string>& records, uint16_t metadataUid = 0) {
    samples::PalmDatabase db;
    db.name = "Book";
    db.type = "Data";
    db.creator = "Plkr";
    std::string index = Word(1) + Word(compression) + Word(metadataUid != 0 ? 1 : 0);
    if (metadataUid != 0) index += Word(4) + Word(metadataUid);
    db.records.push_back({0, 0, index});
    for (const std::string& record : records) db.records.push_back({0, 0, record});
    return samples::SerializePalmDatabase(db);
}

// The pieces as a plain text shows them, with the styles and notes marked.
struct MarkedSink final : DocumentSink {
    void Text(std::string_view utf8, unsigned style) override {
        out += style != 0 ? "{" + std::to_string(style) + ":" + std::string(utf8) + "}" : std::string(utf8);
    }
    void Heading(std::string_view utf8) override {
        EndLine();
        out += "#" + std::string(utf8) + "\n";
    }
    void Image(const ByteSpan& file) override { out += file.size == 0 ? "[image]" : "[file]"; }
    void Rule() override {
        EndLine();
        out += "---\n";
    }
    void Note(std::string note) override { out += "!" + note + "!"; }
    void EndLine() {
        if (!out.empty() && out.back() != '\n') out += '\n';
    }
    std::string out;
};

std::string Read(const std::string& file) {
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const DecodedDatabase database(model);
    TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    const auto document = database.Reader().OpenDocument(options);
    MarkedSink sink;
    if (document)
        while (document->Next(sink)) {
        }
    return sink.out;
}

TEST(PluckerDocument, ReadsAsAPersonReads) {
    const std::string italic = Fn(0x40), italicEnd = Fn(0x48), rule = Fn(0x33, std::string("\2\0\x64", 3));
    const std::string euro = Fn(0x83, "\3\x20\xac") + "EUR";
    const std::string hundredA(100, 'A');
    const struct {
        const char* name;
        std::string file;
        std::string read;
    } cases[] = {
        {"HeadingBoldItalicUnderlineStrike",
         Book(2, {Page(2, {Font(1) + "Title" + Font(0), "a " + Font(7) + "bold" + Font(0) + " " + italic + "it" +
                                                           italicEnd + Fn(0x60) + "u" + Fn(0x68) + Fn(0x70) + "s"})}),
         "#Title\na {1:bold} {2:it}{4:u}{8:s}\n"},
        {"BreaksRulesImagesAndLinks",
         Book(2, {Page(2, {"x" + Fn(0x38) + "y" + rule + "img " + Fn(0x1A, Word(9)) + Fn(0x0A, Word(2)) + "link" +
                           Fn(0x08) + Fn(0x53, "abc")})}),
         "x\ny\n---\nimg [image]link\n"},
        {"UnicodeInsteadOfItsAlternate",
         Book(2, {Page(2, {"5" + euro + Fn(0x85, std::string("\1\0\1\xF6\0", 5)) + "?"})}),
         "5\xE2\x82\xAC\xF0\x9F\x98\x80\n"},
        {"TableRowsAsLines",
         Book(2, {Page(2, {"T:" + Fn(0x92, Word(3)) + "after"}), Table(3, {{"a", "b"}, {"c", "d"}})}),
         "T:\na\tb\nc\td\nafter\n"},
        {"TableInItself", Book(2, {Page(2, {Fn(0x92, Word(3))}), Table(3, {{"x" + Fn(0x92, Word(3))}})}),
         "x\nx\nx!a table inside 3 others (or inside itself) is not shown!\n"},
        {"TableNotInTheBook", Book(2, {Page(2, {"t" + Fn(0x92, Word(7))})}),
         "t!the table of record ID 7 is not in the book!\n"},
        {"PagesOnLinesOfTheirOwn", Book(2, {Page(2, {"one"}), Page(3, {"two"})}), "one\ntwo\n"},
        {"ContinuedRecordGoesOn", Book(2, {Page(2, {"para", "one "}, 1), Page(3, {"goes on"})}), "para\none goes on\n"},
        {"BookCharsetAndARecordOfItsOwn",
         Book(2, {Page(2, {"\xcf\xf0\xe8"}), Page(3, {"caf\xe9"}),
                  Metadata(4, {{1, Word(2251)}, {2, Word(3) + Word(2252)}})}, 4),
         "\xD0\x9F\xD1\x80\xD0\xB8\ncaf\xC3\xA9\n"},
        {"CharsetNotConverted", Book(2, {Page(2, {"caf\xe9"}), Metadata(3, {{1, Word(9999)}})}, 3),
         "!the character set MIBenum 9999 is not one this build converts: its text is read in the code page of "
         "Encoding=!caf\xC3\xA9\n"},
        {"OwnerId", Book(2, {Page(2, {"secret"}), Metadata(3, {{3, std::string(4, '\1')}})}, 3),
         "!the book is keyed to an owner ID: its text is not shown!"},
        {"ZlibRecord", Book(2, {ZlibPage(2, {"zipped ", "text"}, 11)}), "zipped \ntext\n"},
        {"BombStopsAtItsSize", Book(2, {ZlibPage(2, {hundredA}, 10)}),
         "AAAAAAAAAA\n!record 1: it decompresses to more than its stated size: the rest is not read!"},
        {"DamagedZlib", Book(2, {Record(2, 1, "not zlib at all", 20, {std::string(20, ' ')})}),
         "!record 1: its compressed data is damaged or cut short!"},
        {"PalmDocBackReference", Book(1, {Record(2, 1, "abc\x80\x18!", 7, {"abcabc!"})}), "abcabc!\n"},
        {"UnknownCompression", Book(7, {Record(2, 1, "abc", 3, {"abc"})}),
         "!record 1: the book's compression is not one Plucker names!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.file), c.read);
    }
}

TEST(PluckerDocument, TablesOfTablesStopAtTheirBudget) {
    std::string refs;
    for (int i = 0; i < 2000; ++i) refs += Fn(0x92, Word(4));
    const std::string read = Read(Book(2, {Page(2, {Fn(0x92, Word(3))}), Table(3, {{refs}}),
                                           Table(4, {{std::string(1000, 'w')}})}));
    EXPECT_LT(read.size(), (1u << 20) + 4096);
    EXPECT_GT(read.size(), 1000u * 1000);
    EXPECT_NE(read.find("!the tables past 1 MB of one record are not shown!"), std::string::npos);
}

// UTF-8 is a code page of this build only where it names one.
TEST(PluckerDocument, Utf8Books) {
    const std::string read = Read(Book(2, {Page(2, {"\xd0\x9f!"}), Metadata(3, {{1, Word(106)}})}, 3));
    if (FindCodePage("utf-8") != nullptr) {
        EXPECT_EQ(read, "\xd0\x9f!\n");
    } else {
        EXPECT_EQ(read.rfind("!the character set utf-8 (106) is not one this build converts", 0), 0u) << read;
    }
}

TEST(PluckerRecords, MetadataCutAnywhere) {
    const std::string record = Metadata(3, {{1, Word(2252)}, {4, "Ann"}, {5, "Title!"}});
    const PluckerMetadata whole = DecodePluckerMetadata(Span(record));
    ASSERT_EQ(whole.items.size(), 3u);
    EXPECT_EQ(whole.items[1].type, plucker_item::kAuthor);
    EXPECT_EQ(whole.items[1].data.Chars(), std::string("Ann\0", 4));
    EXPECT_FALSE(whole.cut.cut);
    const struct {
        size_t length;
        size_t items;
        PluckerMetadataPart part;
    } cuts[] = {
        {5, 0, PluckerMetadataPart::kHeader},    {9, 0, PluckerMetadataPart::kCount},
        {11, 0, PluckerMetadataPart::kItemType}, {13, 0, PluckerMetadataPart::kItemLength},
        {15, 0, PluckerMetadataPart::kItemData}, {16, 1, PluckerMetadataPart::kItemType},
        {record.size() - 1, 2, PluckerMetadataPart::kItemData},
    };
    for (const auto& c : cuts) {
        SCOPED_TRACE(c.length);
        const PluckerMetadata cut = DecodePluckerMetadata(Span(record.substr(0, c.length)));
        EXPECT_EQ(cut.items.size(), c.items);
        EXPECT_TRUE(cut.cut.cut);
        EXPECT_EQ(cut.cut.part, static_cast<unsigned>(c.part));
    }
    // A count past what the record holds reads what is there.
    std::string more = record;
    more[9] = '\x7F';
    EXPECT_EQ(DecodePluckerMetadata(Span(more)).items.size(), 3u);
}

TEST(PluckerRecords, CompressedImageGivesItsBitmap) {
    samples::BitmapPicture frame;
    frame.width = frame.height = 8;
    frame.pixels.assign(64, 1);
    const std::string bitmap = samples::BitmapFamily({frame});
    const std::string file = Book(2, {Record(2, 3, Zlib(bitmap), static_cast<uint16_t>(bitmap.size())),
                                      Record(3, 2, bitmap, static_cast<uint16_t>(bitmap.size()))});
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const DecodedDatabase database(model);
    for (size_t index : {1, 2}) {
        const EntryPicture picture = database.Reader().Picture(index);
        EXPECT_EQ(picture.kind, EntryPicture::Kind::kPalmBitmap);
        EXPECT_EQ(picture.bytes.Chars(), bitmap) << index;
    }
    EXPECT_EQ(database.Reader().Picture(0).kind, EntryPicture::Kind::kNone);
}

}  // namespace
}  // namespace corvelle
