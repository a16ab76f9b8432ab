// eReader books: the kinds of header, a text record's faults (a zlib bomb, a damaged or cut
// stream, a bad back-reference), the records of the fixture that holds every kind of record,
// and the book read through its document. calibre's reading of the fixtures is compared in
// tools/books/check-books.py; every prefix of every book is in BookPrefixTest.cpp.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "HeapFile.h"
#include "ShownText.h"
#include "TestFolder.h"
#include "dump/records/EReaderRecord.h"
#include "export/Export.h"
#include "formats/EntryText.h"
#include "formats/FormatTable.h"
#include "tools/fixtures/BookWriter.h"

using namespace corvelle;

namespace {

struct Book {
    explicit Book(std::string fileBytes)
        : bytes(std::move(fileBytes)),
          model(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
          database(model) {}
    explicit Book(const samples::EReaderBook& book)
        : Book(samples::SerializePalmDatabase(samples::EReaderDatabase(book))) {}

    ShownText Read(bool styles = true) const { return ReadDocument(database, styles); }
    std::string Fields(size_t index) const { return EntryFieldsText(database, index); }

    std::string bytes;
    DatabaseModel model;
    DecodedDatabase database;
};

std::string Fixture(const char* name) { return ReadAll(std::string(CORVELLE_TEST_DATA "/books/") + name); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct HeaderCase {
    const char* name;
    uint16_t compression;
    bool older;
    size_t headerSize;  // 0: as written
    const char* compressionLine;
    const char* shown;  // the document's text
    const char* note;   // the document's one note, or ""
};

void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }

const HeaderCase kHeaderCases[] = {
    {"Zlib", 10, false, 0, "Compression:\tzlib\n", "<B>Hello</> world", ""},
    {"PalmDoc", 2, false, 0, "Compression:\tPalmDOC\n", "<B>Hello</> world", ""},
    {"Protected260", 260, false, 0, "Compression:\tprotected (260): the text is not shown\n", "", "protected"},
    {"Protected272", 272, false, 0, "Compression:\tprotected (272): the text is not shown\n", "", "protected"},
    {"UnknownCompression", 7, false, 0, "Compression:\tunknown (7)\n", "", "compression 7"},
    {"Older202", 2, true, 0, "Compression:\tPalmDOC, its bytes XORed with A5h\n", "<B>Hello</> world", ""},
    {"Older116", 2, true, 116, "Compression:\tPalmDOC, its bytes XORed with A5h\n", "<B>Hello</> world", ""},
    {"CutBeforeTheFirstNonTextRecord", 10, false, 13, "Compression:\tzlib\n", "", "no text records"},
};

class EReaderHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(EReaderHeaderTest, SaysWhatTheBookIsAndReadsTheTextItCan) {
    const HeaderCase& c = GetParam();
    samples::EReaderBook book;
    book.compression = c.compression;
    book.older = c.older;
    book.texts = {"\\BHello\\B world"};
    samples::PalmDatabase db = samples::EReaderDatabase(book);
    if (c.headerSize != 0) db.records[0].data.resize(c.headerSize);
    const Book file(samples::SerializePalmDatabase(db));
    ASSERT_NE(file.database.GetFormat(), nullptr);
    EXPECT_STREQ(file.database.GetFormat()->name, "ereader");
    const std::string header = file.Fields(0);
    EXPECT_TRUE(Has(header, c.compressionLine)) << header;
    EXPECT_TRUE(Has(header, c.older ? "Version:\t2\n" : "Encoding:\tcp1252\n")) << header;
    if (c.headerSize == 13) {
        EXPECT_TRUE(Has(header, "The record ends at byte 13, inside the first non-text record.\n"));
    }
    const ShownText read = file.Read();
    EXPECT_EQ(read.out, c.shown);
    if (*c.note == '\0') {
        EXPECT_TRUE(read.notes.empty()) << read.notes.front();
    } else {
        ASSERT_EQ(read.notes.size(), 1u);
        EXPECT_TRUE(Has(read.notes[0], c.note)) << read.notes[0];
    }
    // A text record of a book we cannot read is shown as bytes.
    EXPECT_EQ(file.database.Decodes(1), *c.shown != '\0');
}

INSTANTIATE_TEST_SUITE_P(Kinds, EReaderHeaderTest, testing::ValuesIn(kHeaderCases),
                         [](const testing::TestParamInfo<HeaderCase>& info) { return info.param.name; });

TEST(EReaderText, FaultsStopTheRecordWithANote) {
    const std::string bomb = samples::ZlibCompress(std::string(1 << 20, 'a'));
    const std::string whole = samples::ZlibCompress("some text");
    std::string notZlib = whole, wrongChecksum = whole;
    notZlib[0] = 0x79;
    wrongChecksum.back() = static_cast<char>(wrongChecksum.back() ^ 1);
    const struct {
        const char* name;
        EReaderCompression compression;
        std::string record;
        EReaderText::Stop stop;
        size_t size;
    } cases[] = {
        {"Whole", EReaderCompression::kZlib, whole, EReaderText::Stop::kNone, 9},
        {"BombStopsAtTheRecordsBound", EReaderCompression::kZlib, bomb, EReaderText::Stop::kBound, 65535},
        {"NotZlib", EReaderCompression::kZlib, notZlib, EReaderText::Stop::kBroken, 0},
        {"WrongChecksum", EReaderCompression::kZlib, wrongChecksum, EReaderText::Stop::kBroken, 9},
        {"CutStream", EReaderCompression::kZlib, whole.substr(0, whole.size() - 5), EReaderText::Stop::kCut, 9},
        {"BadBackReference", EReaderCompression::kPalmDoc, std::string("ab\x80\x30", 4),
         EReaderText::Stop::kBadReference, 2},
        {"PalmDocCut", EReaderCompression::kPalmDoc, std::string("ab\x05xy", 5), EReaderText::Stop::kCut, 4},
        {"Protected", EReaderCompression::kProtected, whole, EReaderText::Stop::kNotDecoded, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const EReaderText text =
            DecodeEReaderText(Span(c.record), c.compression);
        EXPECT_EQ(text.stop, c.stop);
        if (c.stop != EReaderText::Stop::kCut) {
            EXPECT_EQ(text.text.size(), c.size);
        }
        EXPECT_LE(text.text.size(), c.size);
        EXPECT_EQ(EReaderStopText(text.stop) == nullptr, c.stop == EReaderText::Stop::kNone);
    }
    // A list cell asks for a little: that is no bomb.
    const EReaderText cell = DecodeEReaderText(Span(bomb), EReaderCompression::kZlib, 80);
    EXPECT_EQ(cell.text.size(), 80u);
    EXPECT_EQ(cell.stop, EReaderText::Stop::kNone);
}

// Each record within its bound, yet many of them: the book stops at 64 times its file's size.
TEST(EReaderDocument, ManySmallBombsStopTheBook) {
    samples::EReaderBook book;
    book.texts.assign(60, std::string(65535, 'a'));
    const Book file(book);
    ASSERT_LT(file.bytes.size() * 64, 60u * 65535u);
    const ShownText read = file.Read();
    EXPECT_EQ(read.out.size(), file.bytes.size() * 64);
    ASSERT_FALSE(read.notes.empty());
    EXPECT_TRUE(Has(read.notes.back(), "64 times the size of its file")) << read.notes.back();
}

TEST(EReaderFormat, TheFixtureOfEveryKindOfRecord) {
    const Book file(Fixture("ereader-palmdoc.pdb"));
    ASSERT_EQ(file.model.Count(), 28u);
    const struct {
        size_t index;
        const char* fields;
    } cases[] = {
        {0,
         "Format:\teReader\nTitle:\tEvery Command\nAuthor:\tTest Author\nCompression:\tPalmDOC\n"
         "Encoding:\tcp1252\nText records:\t16, records 1 to 16\nText length:\t1523 bytes of PML\n"
         "Chapters:\t2, from record 17\nImages:\t1, from record 20\nLinks:\t1, from record 19\n"
         "Footnotes:\t3, from record 24\nSidebars:\t2, from record 22\nMetadata:\trecord 21\n"},
        {1,
         "Text:\t\\vTITLE=\"Every Command\" AUTHOR=\"Test Author\"\\v\\p\\x\\BChapter One\\B\\x\n\tIt was a "
         "\\idark\\i and \\bstorm\n"},
        {17, "Offset:\t49\nChapter:\tChapter One\n"},
        {19, "Offset:\t800\nLink anchor:\there\n"},
        {20, "Image:\tPNG\nName:\tdot.png\nWidth:\t2\nHeight:\t2\nSize:\t87 bytes\n"},
        {21,
         "Title:\tEvery Command\nAuthor:\tTest Author\nCopyright:\tCopyright 2024\nPublisher:\tTest House\n"
         "ISBN:\t0-00-000000-0\n"},
        {22, "Sidebar ids:\tmore\n"},
        {23, "Sidebar:\tmore\nText:\tA sidebar in \\Bbold\\B.\n"},
        {24, "Footnote ids:\temerson, other\n"},
        {26, "Footnote:\tother\nText:\tThe second footnote.\n"},
        {27, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(file.Fields(c.index), c.fields);
    }
    const EntryPicture picture = file.database.Reader().Picture(20);
    EXPECT_EQ(picture.kind, EntryPicture::Kind::kImageFile);
    ASSERT_EQ(picture.bytes.size, 87u);
    EXPECT_EQ(std::string(picture.bytes.Chars().substr(0, 4)), "\x89PNG");

    ExportOptions options;
    std::string json, error;
    ASSERT_TRUE(ExportToText(file.database, ExportType::kJson, options, json, error)) << error;
    for (const char* member :
         {"\"contents\": \"ereader\"", "\"title\": \"Every Command\"", "\"author\": \"Test Author\"",
          "\"publisher\": \"Test House\"", "\"isbn\": \"0-00-000000-0\"", "\"compressionName\": \"PalmDOC\"",
          "\"footnoteCount\": 3", "\"ids\": [\n", "\"image\": \"png\""})
        EXPECT_TRUE(Has(json, member)) << member;
}

// The text, then the footnotes and sidebars under headings of their own, each with its id.
TEST(EReaderDocument, FootnotesAndSidebarsFollowTheText) {
    samples::EReaderBook book;
    book.texts = {"Text\\Fn=\"a\"[1]\\Fn and \\m=\"dot.png\".\n"};
    book.footnotes = {{"a", "First \\inote\\i."}, {"b", "Second."}};
    book.sidebars = {{"s", "Aside\n"}};
    book.images = {{"dot.png", "\x89PNG-bytes"}};
    const ShownText read = Book(book).Read();
    EXPECT_EQ(read.out, "Text[1] and [image:10].\n#Footnotes\n<B>a</> First <I>note</>.\n<B>b</> Second.\n#Sidebars\n<B>s</> Aside\n");
    EXPECT_TRUE(read.notes.empty());
}

// The text export holds the document's words, footnotes and sidebars included, so that the
// oracle's check of the one is a check of the other.
TEST(EReaderDocument, TheTextExportHoldsTheDocumentsWords) {
    for (const char* name : {"calibre-long.pdb", "calibre-rich.pdb", "ereader-palmdoc.pdb", "ereader-older.pdb"}) {
        SCOPED_TRACE(name);
        const Book file(Fixture(name));
        ASSERT_FALSE(file.bytes.empty());
        std::string exported, error;
        ASSERT_TRUE(ExportToText(file.database, ExportType::kText, ExportOptions{}, exported, error)) << error;
        std::string document = file.Read(false).out;
        for (size_t at; (at = document.find("[image:")) != std::string::npos;)
            document.replace(at, document.find(']', at) - at + 1, "[image]");
        std::vector<std::string> ours, theirs;
        for (const auto& [text, words] : {std::pair{document, &ours}, std::pair{exported, &theirs}}) {
            std::string word;
            for (const char c : text + " ") {
                if (c == ' ' || c == '\n' || c == '\t') {
                    if (!word.empty() && word != "---") words->push_back(word);
                    word.clear();
                } else if (c != '#' && c != '*') {
                    word += c;
                }
            }
        }
        // The export writes what cp1252 lacks as '?'.
        ASSERT_EQ(ours.size(), theirs.size());
        for (size_t i = 0; i < ours.size(); ++i) {
            if (theirs[i].find('?') == std::string::npos) {
                EXPECT_EQ(ours[i], theirs[i]) << "word " << i;
            }
        }
    }
}

}  // namespace
