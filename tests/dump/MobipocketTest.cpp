// Mobipocket books through their format: what record 0 says, an image record, the text a person
// reads (UTF-8 characters cut between records joined), the text export, the books that give no
// text or stop short and say why, and every prefix of every fixture through --records, --record N
// and the exports (the sanitizer build catches any read past the end). Whole books
// are read against mobitool and calibre by tools/books/check-mobipocket.py.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "EveryPrefix.h"
#include "TestFolder.h"
#include "export/Export.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/MobiWriter.h"

using namespace corvelle;

namespace {

struct File {
    std::vector<uint8_t> bytes;
    explicit File(const std::string& text) : bytes(text.begin(), text.end()) {}
    DatabaseModel Model() const { return DatabaseModel(bytes.empty() ? nullptr : bytes.data(), bytes.size()); }
};

class Shown final : public DocumentSink {
public:
    void Text(std::string_view utf8, unsigned) override { text.append(utf8.data(), utf8.size()); }
    void Heading(std::string_view utf8) override { text += "# " + std::string(utf8) + "\n"; }
    void Image(const ByteSpan& file) override { text += "[image " + std::to_string(file.size) + "]"; }
    void Rule() override { text += "---\n"; }
    void Note(std::string line) override { notes.push_back(std::move(line)); }
    std::string text;
    std::vector<std::string> notes;
};

Shown ReadDocument(const DecodedDatabase& database, size_t mostPieces) {
    Shown shown;
    const std::unique_ptr<DocumentReader> document = database.Reader().OpenDocument(TextOptions{});
    if (document == nullptr) return shown;
    for (size_t pieces = 0; document->Next(shown); ++pieces)
        if (pieces > mostPieces) ADD_FAILURE() << "the document never ends";
    return shown;
}

std::string Export(const DecodedDatabase& database, ExportType type, std::vector<std::string>* warnings = nullptr) {
    ExportOptions options;
    options.warnings = warnings;
    std::string out, error;
    EXPECT_TRUE(ExportToText(database, type, options, out, error)) << error;
    return out;
}

// 3x2 pixels: the signature and the IHDR chunk are what the records' kind and size come from.
const std::string kPng = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\3\0\0\0\2\x08\x02\0\0\0\0\0\0\0", 33);

const std::string kMarkup =
    "<html><head><title>Not text</title></head><body><h1>Κεφάλαιο</h1><p>Καλημέρα <b>κόσμε</b> &amp; <i>more</i>"
    "</p><mbp:pagebreak/><p><img recindex=\"00001\"></p><p>Τέλος</p></body></html>";

std::string GreekBook() {
    std::vector<std::string> records = samples::Utf8TextRecords(kMarkup, 25);
    samples::MobiHeaderParts parts;
    parts.textLength = static_cast<uint32_t>(kMarkup.size());
    parts.textRecords = static_cast<uint16_t>(records.size());
    parts.firstImage = parts.textRecords + 1;
    parts.extraFlags = 3;
    parts.exth = {{100, "Jane Doe"}, {503, "Updated"}, {524, "el"}, {201, std::string(4, '\0')}, {999, "\x01\x02"}};
    parts.fullName = "Full";
    records.push_back(kPng);
    return samples::MobiBookFile(parts, records);
}

TEST(MobipocketFormat, WhatTheBookSaysAndHolds) {
    const File file(GreekBook());
    const DatabaseModel model = file.Model();
    const DecodedDatabase database(model);
    ASSERT_NE(database.GetFormat(), nullptr);
    EXPECT_STREQ(database.GetFormat()->name, "mobipocket");
    const size_t image = model.Count() - 1;
    const std::string count = std::to_string(kMarkup.size()), imageIndex = std::to_string(image);
    EXPECT_EQ(EntryFieldsText(database, 0),
              "Format:\tMobipocket 6\nTitle:\tUpdated\nCompression:\tnone\nText length:\t" + count +
                  "\nText records:\t" + std::to_string(image - 1) +
                  "\nRecord size:\t4096\nEncryption:\tnone\nEncoding:\tUTF-8\nBook type:\t2 (book)\nVersion:\t6\n"
                  "First image record:\t" + imageIndex + "\nExtra data flags:\t0003h\nAuthor:\tJane Doe\n"
                  "Updated title:\tUpdated\nLanguage:\tel\nCover:\trecord " + imageIndex + "\nEXTH 999:\t01 02\n");
    std::string cells;
    AppendCellOf(database, 0, ColumnId::kContents, cells);
    cells += "|";
    AppendCellOf(database, image, ColumnId::kContents, cells);
    EXPECT_EQ(cells, "Mobipocket 6, none, " + count + " bytes UTF-8: Updated by Jane Doe|PNG, 3x2 pixels, 33 bytes");
    EXPECT_EQ(database.Reader().Picture(image).kind, EntryPicture::Kind::kImageFile);
    EXPECT_EQ(database.Reader().Picture(image).bytes.size, kPng.size());
    EXPECT_EQ(database.Reader().Picture(1).kind, EntryPicture::Kind::kNone);
    // The text record's field is its own bytes, its trailing entries off.
    EXPECT_EQ(EntryFieldsText(database, 1), "Text:\t" + kMarkup.substr(0, 25) + "\nTrailing bytes:\t7\n");

    const Shown read = ReadDocument(database, model.Count());
    EXPECT_EQ(read.text, "# Κεφάλαιο\nΚαλημέρα κόσμε & more\n---\n[image 33]Τέλος\n");
    EXPECT_TRUE(read.notes.empty());
    EXPECT_EQ(Export(database, ExportType::kText), "Κεφάλαιο\nΚαλημέρα κόσμε & more\n\n[image]Τέλος\n");
    // Each record's JSON text in whole characters: the one a record ends inside is completed from
    // its overlap, and the next record's start is the previous one's.
    const std::string json = Export(database, ExportType::kJson);
    EXPECT_EQ(json.find("\xEF\xBF\xBD"), std::string::npos);
    for (const std::string& member : std::vector<std::string>{"\"title\": \"Updated\"", "\"author\": \"Jane Doe\"", "\"language\": \"el\"",
                                     "\"hex\": \"0102\"", "\"record\": " + imageIndex, "\"image\": \"PNG\""})
        EXPECT_NE(json.find(member), std::string::npos) << member;
}

struct QuietBook {
    const char* name;
    std::string file;
    const char* format;
    std::string text;  // of --export text
    const char* warning;  // a piece of the one warning; "" for none
};

std::string Book(samples::MobiHeaderParts parts, std::vector<std::string> records, const char* type = "BOOK",
                 const char* creator = "MOBI") {
    if (parts.textRecords == 0) parts.textRecords = static_cast<uint16_t>(records.size());
    if (parts.textLength == 0)
        for (const std::string& record : records) parts.textLength += static_cast<uint32_t>(record.size());
    return samples::MobiBookFile(parts, records, type, creator);
}

samples::MobiHeaderParts With(void (*change)(samples::MobiHeaderParts&)) {
    samples::MobiHeaderParts parts;
    change(parts);
    return parts;
}

std::vector<QuietBook> QuietBooks() {
    const std::string big = "<p>" + std::string(70000, 'a') + "</p>";
    std::vector<std::string> bigRecords;
    for (size_t at = 0; at < big.size(); at += 4096) bigRecords.push_back(big.substr(at, 4096));
    samples::MobiHeaderParts small;
    small.textLength = 10;
    const samples::MobiHeaderParts kf8 = With([](samples::MobiHeaderParts& p) {
        p.version = 8;
        p.fdstRecord = 2;
        p.textRecords = 1;
    });
    std::string fdst = "FDST";
    for (uint32_t value : {12, 2, 0, 8}) samples::Put32(fdst, value);  // the first flow: bytes 0 to 8
    const samples::MobiHeaderParts huff = With([](samples::MobiHeaderParts& p) {
        p.compression = 17480;
        p.huffRecord = 2;
        p.huffCount = 2;
        p.textRecords = 1;
    });
    const samples::HuffCode code({1, 0, 0, 0, 0, 0, 0, 0, 256});
    const std::string cdic = samples::CdicRecord({{"<b>"}, {"huff"}, {"</b>"}}, 3, 8);
    return {
        {"Encrypted", Book(With([](samples::MobiHeaderParts& p) { p.encryption = 2; }), {"<p>secret</p>"}),
         "mobipocket", "", "encrypted"},
        {"UnknownCompression", Book(With([](samples::MobiHeaderParts& p) { p.compression = 9; }), {"x"}),
         "mobipocket", "", "compression 9"},
        {"TextPastItsLength", Book(small, bigRecords), "mobipocket", std::string(65546 - 3, 'a') + "\n",
         "runs past the 10 bytes"},
        {"RecordLargerThanItsSize", Book({}, {std::string(5000, 'b')}), "mobipocket", std::string(4096, 'b') + "\n",
         "the most a record may hold"},
        {"HuffRecordMissing", Book(huff, {"\x80"}), "mobipocket", "", "is not in the file"},
        {"Huff", Book(huff, {code.Bits({0, 1, 2}), code.HuffRecord(), cdic}), "mobipocket", "huff\n", ""},
        // The first flow ends at byte 8: the rest is a style sheet.
        {"Kf8StyleSheetsLeftOut", Book(kf8, {"<p>a</p>p { x: y }", fdst}), "mobipocket", "a\n", ""},
        {"TextReadWithMobiHeader", Book({}, {"<p>mobi</p>"}, "TEXt", "REAd"), "mobipocket", "mobi\n", ""},
        {"TextReadWithout", samples::MobiBookFile({}, {"plain"}, "TEXt", "REAd").replace(78 + 16 + 2 + 16, 4, "XXXX"),
         "palmdoc", "", nullptr},
    };
}

TEST(MobipocketFormat, BooksThatGiveNoTextOrStopShortSaySo) {
    for (const QuietBook& book : QuietBooks()) {
        SCOPED_TRACE(book.name);
        const File file(book.file);
        const DatabaseModel model = file.Model();
        const DecodedDatabase database(model);
        ASSERT_NE(database.GetFormat(), nullptr);
        EXPECT_STREQ(database.GetFormat()->name, book.format);
        if (book.warning == nullptr) continue;
        std::vector<std::string> warnings;
        EXPECT_EQ(Export(database, ExportType::kText, &warnings), book.text);
        ASSERT_EQ(warnings.size(), *book.warning != '\0' ? 1u : 0u);
        if (!warnings.empty()) {
            EXPECT_NE(warnings[0].find(book.warning), std::string::npos) << warnings[0];
        }
    }
}

// --- Every prefix -------------------------------------------------------------------------------

TEST(MobipocketFormat, EveryPrefixOfEveryBook) {
    ExpectEveryPrefixSafe("greek", GreekBook());
    for (const QuietBook& book : QuietBooks())
        if (book.file.size() < 20000) ExpectEveryPrefixSafe(book.name, book.file);
    const TemporaryFolder folder;
    const std::string writer = "/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/books/write-mobi-books.py";
    ASSERT_EQ(folder.Run(writer + " . && " + writer + " --bad ."), 0);
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) paths.push_back(entry.path());
    for (const auto& entry : std::filesystem::directory_iterator(CORVELLE_TEST_DATA "/books")) paths.push_back(entry.path());
    size_t books = 0;
    for (const std::string& path : paths) {
        if (path.size() < 5 || (path.substr(path.size() - 5) != ".mobi" && path.substr(path.size() - 4) != ".prc"))
            continue;
        ExpectEveryPrefixSafe(path, ReadAll(path));
        ++books;
    }
    EXPECT_EQ(books, 22u);
}

}  // namespace
