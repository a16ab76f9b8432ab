// The database model, the record decoders and the entries' text: the model's ranges and counts on
// databases built to reach every rule; each decoder on records whole and cut; the cells; every
// prefix of the samples and of files written by independent writers (the sanitizer build catches
// any read past the end). The decoders' values are checked against Debian's Palm modules and
// txt2pdbdoc by tools/perl/check-record-decoders.sh; corvelle-dump --records / --record N in DumpTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TestFolder.h"
#include "dump/DatabaseModel.h"
#include "formats/EntryText.h"
#include "dump/records/PalmDocRecord.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

using namespace corvelle;

namespace {

// A file's bytes kept at exactly their length on the heap, so that a read past the end is caught.
struct File {
    std::vector<uint8_t> bytes;
    explicit File(const std::string& text) : bytes(text.begin(), text.end()) {}
    DatabaseModel Model() const { return DatabaseModel(bytes.empty() ? nullptr : bytes.data(), bytes.size()); }
};

std::string Put32(uint32_t value) {
    std::string out;
    samples::Put32(out, value);
    return out;
}
std::string Patch(std::string file, size_t at, const std::string& part) { return file.replace(at, part.size(), part); }

samples::PalmDatabase Records(const std::string& creator, const std::vector<std::string>& data,
                              const std::string& appInfo = "", const std::string& type = "DATA") {
    samples::PalmDatabase db;
    db.name = "Test";
    db.type = type;
    db.creator = creator;
    db.appInfo = appInfo;
    for (size_t i = 0; i < data.size(); ++i)
        db.records.push_back({static_cast<uint8_t>(0x40 | i), static_cast<uint32_t>(0xAB0000 + i), data[i]});
    return db;
}
std::string RecordFile(const std::string& creator, const std::vector<std::string>& data,
                       const std::string& appInfo = "", const std::string& type = "DATA") {
    return samples::SerializePalmDatabase(Records(creator, data, appInfo, type));
}
constexpr size_t kFirstOffset = 78;  // of record entry 0's data offset; entry i's is 8 * i later

// --- The model --------------------------------------------------------------------------------

struct ModelCase {
    const char* name;
    std::string bytes;
    size_t count;
    uint32_t announced;
    bool resources;
    std::vector<int64_t> sizes;  // -1: no data
};

TEST(DatabaseModel, RangesCountsAndKind) {
    const std::string three = RecordFile("test", {"abc", "defgh", "ij"});  // data at 104, 107, 112; 114 bytes
    samples::PalmDatabase typedAppl = Records("test", {"x"}, "", "appl");
    samples::PalmDatabase flaggedData = samples::ApplicationSample();
    flaggedData.type = "DATA";
    samples::PalmDatabase unflagged = flaggedData;
    unflagged.attributes = 0;
    const ModelCase cases[] = {
        {"LastEntryRunsToTheEndOfTheFile", three, 3, 3, false, {3, 5, 2}},
        {"ReversedRangeHasNoData", Patch(three, kFirstOffset + 8, Put32(100)), 3, 3, false, {-1, 12, 2}},
        {"EmptyRangeIsData", Patch(three, kFirstOffset + 8, Put32(104)), 3, 3, false, {0, 8, 2}},
        {"RangeLeavingTheFileHasNoData", Patch(three, kFirstOffset + 16, Put32(200)), 3, 3, false, {3, -1, -1}},
        {"LastEntryAtTheEndIsEmpty", Patch(three, kFirstOffset + 16, Put32(114)), 3, 3, false, {3, 7, 0}},
        {"ListCutShort", three.substr(0, kFirstOffset + 8 * 2 + 7), 2, 3, false, {-1, -1}},
        {"HeaderCutShort", three.substr(0, 77), 0, 0, false, {}},
        {"ResourceFlagDecidesNotTheType", samples::SerializePalmDatabase(flaggedData), 12, 12, true, {}},
        {"ApplTypeWithoutTheFlagHoldsRecords", samples::SerializePalmDatabase(typedAppl), 1, 1, false, {1}},
        {"NoResourceFlagReadsRecordEntries", samples::SerializePalmDatabase(unflagged), 12, 12, false, {}},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.name);
        const File file(c.bytes);
        const DatabaseModel model = file.Model();
        EXPECT_EQ(model.Count(), c.count);
        EXPECT_EQ(model.AnnouncedCount(), c.announced);
        EXPECT_EQ(model.HoldsResources(), c.resources);
        for (size_t i = 0; i < c.sizes.size() && i < model.Count(); ++i) {
            const ByteSpan data = model.Data(i);
            EXPECT_EQ(model.Entry(i).hasData, c.sizes[i] >= 0) << i;
            EXPECT_EQ(static_cast<int64_t>(data.size), c.sizes[i] < 0 ? 0 : c.sizes[i]) << i;
            if (c.sizes[i] >= 0) {
                EXPECT_EQ(data.data, file.bytes.data() + model.Entry(i).offset) << i;
            }
        }
    }
}

TEST(DatabaseModel, FormatCategoryLabelsAndResources) {
    const std::string cats = samples::CategoryAppInfo({"Unfiled", "Business", "", "0123456789abcde"});
    const struct {
        const char* name;
        std::string bytes;
        const char* format;  // the table of formats' choice
        bool labels;
    } cases[] = {
        {"Memo", RecordFile("memo", {"a"}, cats), "memo", true},
        {"ToDo", RecordFile("todo", {"a"}, cats), "todo", true},
        {"Address", RecordFile("addr", {"a"}, cats), "address", true},
        {"DateBook", RecordFile("date", {"a"}, cats), "datebook", true},
        {"PalmDocOfAnyCreator", RecordFile("REAd", {"a"}, cats, "TEXt"), "palmdoc", true},
        {"CreatorComparedByteForByte", RecordFile("Memo", {"a"}, cats), "other", true},
        {"NoAppInfo", RecordFile("memo", {"a"}), "memo", false},
        {"PqaHasNoCategories", RecordFile("clpr", {"a"}, cats, "pqa "), "other", false},
        // The block's 275 bytes must lie in the file: here only 274 do.
        {"BlockLeavesTheFile", RecordFile("memo", {}, cats.substr(0, 274)), "memo", false},
        {"BlockJustInside", RecordFile("memo", {}, cats.substr(0, 273)) + std::string(2, '\0'), "memo", true},
        {"BlockOffsetPastTheEnd", Patch(RecordFile("memo", {"a"}, cats), 52, Put32(0x7FFFFFFF)),
         "memo", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const File file(c.bytes);
        const DatabaseModel model = file.Model();
        const Format* format = FindFormat(model);
        EXPECT_STREQ(format != nullptr ? format->name : "other", c.format);
        EXPECT_EQ(model.HasCategoryLabels(), c.labels);
        EXPECT_EQ(model.CategoryLabel(1), c.labels ? "Business" : "");
        EXPECT_EQ(model.CategoryLabel(2), "");
        EXPECT_EQ(model.CategoryLabel(3), c.labels ? "0123456789abcde" : "");
        EXPECT_EQ(model.CategoryLabel(16), "");
    }
    const File app(samples::SerializePalmDatabase(samples::ApplicationSample()));
    const DatabaseModel model = app.Model();
    EXPECT_FALSE(model.HasCategoryLabels());
    EXPECT_EQ(model.FindResource("tver", 1).size, 4u);
    EXPECT_EQ(model.FindResource("tver", 2).data, nullptr);
    EXPECT_EQ(model.FindResource("tAIB", 1000).data, app.bytes.data() + 0xFC);
}

// --- Decoders and the entry text ----------------------------------------------------------------

// The fields of --record N: the lines between the attribute lines and the hex dump.
std::string FieldsOf(const std::string& file, size_t index = 0) {
    const File bytes(file);
    return EntryFieldsText(bytes.Model(), index);
}
std::string CellOf(const std::string& file, size_t index, size_t column) {
    const File bytes(file);
    std::string cell = "[";
    AppendCell(DecodedDatabase(bytes.Model()), index, column, cell);
    return cell.substr(1);
}

std::string AddressAppInfo(const std::vector<std::string>& labels) {
    std::string block = samples::CategoryAppInfo({"Unfiled"}).substr(0, 276) + std::string(6, '\0');
    for (size_t i = 0; i < 22; ++i) {
        std::string label = i < labels.size() ? labels[i] : "";
        label.resize(16, '\0');
        block += label;
    }
    return block + std::string(4, '\0');
}

const std::string kEvent = std::string("\x09\x1E\x0A\x2D\xC9\x85\x7C\x00", 8) +  // 09:30-10:45, 2004-12-05, all flags
                           std::string("\x05\x01", 2) +                          // 5 hours
                           std::string("\x02\x00\xFF\xFF\x02\x22\x00\x00", 8) +  // weekly, every 2, Mon Fri
                           std::string("\x00\x02\xC9\x86\xCA\x21", 6) +          // 2004-12-06, 2005-01-01
                           std::string("Dentist\0Bring\nthe card\0", 23);

// Whole records of every format are checked against Debian's Palm modules (the
// record-decoders test); these are the records cut short and the edges they miss.
TEST(RecordDecoders, FieldsOfWholeAndCutRecords) {
    const std::string labels = AddressAppInfo({"", "", "", "Office", "", "", "", "", "", "", "", "", "", "", "",
                                               "", "", "", "", "", "Beeper", ""});
    // Phones 1-5 of label index 0, 1, 5, 7 and 9; phone 3 shown. Last name, company, phones, note.
    const std::string contact = std::string("\x00\x29\x75\x10\x00\x04\x00\xFD\x05", 9) +
                                std::string("Doe\0Acme\0p1\0p2\0p3\0p4\0p5\0hi\0", 27);
    const struct {
        const char* name;
        std::string file;
        std::string fields;
    } cases[] = {
        {"Memo", RecordFile("memo", {std::string("Two\nlines\n\0", 11)}), "Memo:\tTwo\n\tlines\n\t\n"},
        {"MemoWithoutZero", RecordFile("memo", {"abc"}), "Memo:\tabc\nThe record ends at byte 3, inside the memo.\n"},
        {"EmptyRecord", RecordFile("memo", {""}), "Memo:\t\nThe record ends at byte 0, inside the memo.\n"},
        {"ToDoNoDueEmptyNote", RecordFile("todo", {std::string("\xFF\xFF\x01" "Call\0\0", 9)}),
         "Due:\tnone\nPriority:\t1\nCompleted:\tno\nDescription:\tCall\n"},
        {"ToDoCutInTheDate", RecordFile("todo", {"\xC9"}), "The record ends at byte 1, inside the due date.\n"},
        {"ToDoCutInTheDescription", RecordFile("todo", {"\xC9\x85\x03" "Ca"}),
         "Due:\t2004-12-05\nPriority:\t3\nCompleted:\tno\nDescription:\tCa\n"
         "The record ends at byte 5, inside the description.\n"},
        {"ContactCutInAField", RecordFile("addr", {contact.substr(0, 19)}, labels),
         "Last name:\tDoe\nCompany:\tAcme\nOffice:\tp\nThe record ends at byte 19, inside phone 1.\n"},
        {"ContactCutInTheFlags", RecordFile("addr", {contact.substr(0, 6)}),
         "The record ends at byte 6, inside the field flags.\n"},
        {"ContactCutBeforeTheCompanyOffset", RecordFile("addr", {contact.substr(0, 8)}),
         "The record ends at byte 8, inside the company offset.\n"},
        {"AppointmentCutInTheExceptions", RecordFile("date", {kEvent.substr(0, 22)}),
         "Date:\t2004-12-05\nTime:\t09:30-10:45\nAlarm:\t5 hours before\nRepeat:\tweekly, every 2, no end, on Mon Fri\n"
         "Exceptions:\t2004-12-06\nThe record ends at byte 22, inside the exceptions.\n"},
        {"AppointmentCutInTheRepeat", RecordFile("date", {kEvent.substr(0, 12)}),
         "Date:\t2004-12-05\nTime:\t09:30-10:45\nAlarm:\t5 hours before\n"
         "The record ends at byte 12, inside the repeat.\n"},
        {"PalmDocHeader", RecordFile("REAd", {std::string("\0\2\0\0\0\0\x12\x34\0\3\x10\0\0\0\0\7", 16)}, "", "TEXt"),
         "Compression:\tPalmDOC\nText length:\t4660\nText records:\t3\nRecord size:\t4096\nPosition:\t7\n"},
        {"PalmDocHeaderCut", RecordFile("REAd", {std::string("\0\7\0\0\0\0\x12", 7)}, "", "TEXt"),
         "Compression:\t7\nThe record ends at byte 7, inside the text length.\n"},
        // A 16-byte record 0's last four bytes are a position, whatever bytes 12-13 hold; a longer one of
        // a REAd book with 1 there is Mobipocket's old encryption.
        {"PalmDocPositionPast65535",
         RecordFile("REAd", {std::string("\0\1\0\0\0\0\0\3\0\1\x10\0\0\1\0\5", 16)}, "", "TEXt"),
         "Compression:\tnone\nText length:\t3\nText records:\t1\nRecord size:\t4096\nPosition:\t65541\n"},
        {"OldMobipocketEncryption",
         RecordFile("REAd", {std::string("\0\2\0\0\0\0\0\3\0\1\x10\0\0\1\0\5key data", 24), "\xA7\x01"}, "", "TEXt"),
         "Format:\tMobipocket\nTitle:\tTest\nCompression:\tPalmDOC\nText length:\t3\nText records:\t1\n"
         "Record size:\t4096\nEncryption:\t1 (encrypted: the text is not shown)\n"},
        {"PalmDocWithAnHtmlText",
         RecordFile("REAd", {std::string("\0\1\0\0\0\0\0\3\0\1\x10\0\0\0\0\0", 16),
                             " <Html><HEAD><dc:Title>A &amp;\n B &eacute;</dc:Title><dc:Creator role=\"aut\">C<i>D</i>"
                             "</dc:Creator><dc:Creator/><dc:creator>E</dc:creator></HEAD><body><dc:Title>F"},
                    "", "TEXt"),
         "Format:\tPalmDOC (HTML)\nTitle:\tA & B &eacute;\nAuthor:\tC D\nAuthor:\tE\nCompression:\tnone\n"
         "Text length:\t3\nText records:\t1\nRecord size:\t4096\nPosition:\t0\n"},
        // A Japanese Palm's reading after 01h in the same field, shown apart; 93 63 92 86 is 田中.
        {"ContactNamesWithTheirReading",
         RecordFile("addr", {std::string("\0\0\0\0\0\0\0\x07\0\x93\x63\x92\x86\x01\x82\xBD\0Ann\0Co\x01ko\0", 27)}),
         "Last name:\t\x93\x63\x92\x86 (\x82\xBD)\nFirst name:\tAnn\nCompany:\tCo (ko)\n"},
        {"TextRecordsAfterTheCountHaveNoFormat",
         RecordFile("REAd", {std::string("\0\1\0\0\0\0\0\3\0\1\x10\0\0\0\0\0", 16), "abc", "def"}, "", "TEXt"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FieldsOf(c.file, std::string(c.name).rfind("TextRecordsAfter", 0) == 0 ? 2 : 0), c.fields);
    }
}

TEST(RecordDecoders, PalmDocDecompression) {
    const auto decode = [](const std::string& bytes) {
        const std::vector<uint8_t> copy(bytes.begin(), bytes.end());
        return DecodePalmDocText(ByteSpan{copy.data(), copy.size()}, kPalmDocCompressed);
    };
    // Literals, a run of 01h-08h bytes, a space pair, and back-references (one overlapping itself).
    PalmDocText text = decode(std::string("ab\x03\x80\xC3\x09" "c\xE4\x80\x1A\x80\x09", 12));
    EXPECT_EQ(text.text, std::string("ab\x80\xC3\x09", 5) + "c d" + "c dc " + "    ");
    EXPECT_FALSE(text.badReference);
    EXPECT_FALSE(text.cut.cut);
    // A back-reference before the start of the text stops it, with where it stood.
    text = decode("abc\x80\x20xyz");
    EXPECT_EQ(text.text, "abc");
    EXPECT_TRUE(text.badReference);
    EXPECT_EQ(text.stoppedAt, 3u);
    // Cut inside a literal run and inside a back-reference: as far as the bytes go.
    text = decode("ab\x05xy");
    EXPECT_EQ(text.text, "abxy");
    EXPECT_STREQ(text.cut.inside, "a run of literal bytes");
    text = decode("ab\x80");
    EXPECT_EQ(text.text, "ab");
    EXPECT_EQ(text.cut.at, 3u);
    // The text record's field says where a bad reference stopped it.
    const std::string doc = RecordFile("REAd", {std::string("\0\2\0\0\0\0\0\3\0\1\x10\0\0\0\0\0", 16), "x\x80\x50"},
                                       "", "TEXt");
    EXPECT_EQ(FieldsOf(doc, 1), "Text:\tx\nThe text stops at byte 1 of the record: a back-reference there reaches "
                                "before the start of the text.\n");
    EXPECT_EQ(CellOf(doc, 0, 6), "PalmDOC: 3 bytes in 1 records, compressed");
    EXPECT_EQ(CellOf(doc, 1, 6), "x");
}

TEST(EntryText, CellsOfRecordsAndResources) {
    samples::PalmDatabase db = Records("memo", {std::string("Tab\there\r\nand a long line ") + std::string(80, 'x'),
                                               "\x01\x7F\xE9"},
                                       samples::CategoryAppInfo({"Unfiled", "Bus\tiness"}));
    db.records[0].attributes = 0x51;  // dirty, private, category 1
    db.records[1].attributes = 0xFF;  // every flag: archive shown, no category
    const std::string file = samples::SerializePalmDatabase(db);
    EXPECT_EQ(CellOf(file, 0, 1), "00000175h");
    EXPECT_EQ(CellOf(file, 0, 3), "dirty, private");
    EXPECT_EQ(CellOf(file, 0, 4), "1 (Bus iness)");
    EXPECT_EQ(CellOf(file, 0, 5), "AB0000h");
    EXPECT_EQ(CellOf(file, 0, 6), "Tab here  and a long line " + std::string(54, 'x'));
    EXPECT_EQ(CellOf(file, 1, 3), "expunged, dirty, deleted, private, archive");
    EXPECT_EQ(CellOf(file, 1, 4), "");
    EXPECT_EQ(CellOf(file, 1, 6), " \x7F\xE9");
    // A date book line; a record outside the file; an entry without a format.
    EXPECT_EQ(CellOf(RecordFile("date", {kEvent}), 0, 6), "2004-12-05 09:30 Dentist");
    const std::string outside = Patch(RecordFile("test", {"abc"}), kFirstOffset, Put32(0x10000));
    EXPECT_EQ(CellOf(outside, 0, 2), "?");
    EXPECT_EQ(CellOf(outside, 0, 6), "(outside the file)");
    EXPECT_EQ(CellOf(RecordFile("test", {std::string(60, '\x01')}), 0, 6), std::string(48, '.'));
    // Resources: type bytes outside 20h-7Eh as dots, decimal IDs, strings and bitmaps.
    samples::PalmDatabase app = samples::ApplicationSample();
    app.resources.push_back({std::string("t\x01\xFFZ", 4), 65535, "raw"});
    const std::string prc = samples::SerializePalmDatabase(app);
    const File appFile(prc);
    std::string lines;
    AppendHeaderLine(appFile.Model(), lines);
    const DatabaseModel appModel = appFile.Model();
    const DecodedDatabase appDatabase(appModel);
    for (size_t i : {5, 9, 12}) AppendEntryLine(appDatabase, i, lines);
    EXPECT_EQ(lines, "#\toffset\tsize\ttype\tID\tcontents\n"
                     "5\t000000EAh\t13\ttSTR\t1000\tHello, Palm!\n"
                     "9\t00000106h\t4236\ttAIB\t1000\tbitmap 22x22x1 22x22x8 44x44x16\n"
                     "12\t0000119Ch\t3\tt..Z\t65535\traw\n");
    EXPECT_EQ(EntryCountText(appFile.Model()), "The file holds 13 of 13 announced resources.");
    EXPECT_EQ(EntryCountText(File(prc.substr(0, 85)).Model()), "The file holds 0 of 13 announced resources.");
    EXPECT_EQ(EntryCountText(File(prc.substr(0, 40)).Model()),
              "The file ends at byte 40, inside its header: it announces no entries.");
    EXPECT_EQ(EntryCountText(File(RecordFile("memo", {"a"})).Model()), "The file holds 1 of 1 announced record.");
    EXPECT_EQ(EntryFieldsText(appFile.Model(), 9),
              "Bitmap:\t22x22, 1 bit per pixel, density 72, uncompressed\n"
              "\t22x22, 8 bits per pixel, density 72, scan-line compressed\n"
              "\t44x44, 16 bits per pixel, density 144, uncompressed\n");
}

TEST(EntryText, TitleAttributesFieldsAndHexDump) {
    const File file(RecordFile("memo", {std::string("Hello\0", 6) + std::string(20, 'z')},
                               samples::CategoryAppInfo({"Unfiled", "Work"})));
    const DatabaseModel model = file.Model();
    const std::string hex = "00000000  48 65 6c 6c 6f 00 7a 7a  7a 7a 7a 7a 7a 7a 7a 7a  |Hello.zzzzzzzzzz|\n"
                            "00000010  7a 7a 7a 7a 7a 7a 7a 7a  7a 7a                    |zzzzzzzzzz|\n";
    const std::string head = "Record 0: offset 0000016Dh, 26 bytes\nAttributes:\tdirty\nCategory:\t0 (Unfiled)\n"
                             "Unique ID:\tAB0000h\n\nMemo:\tHello\n\n";
    EXPECT_EQ(EntryText(model, 0), head + hex + "0000001a\n");
    EXPECT_EQ(EntryText(model, 0, 16), head + hex.substr(0, 79) + "... 10 more bytes: corvelle-dump --record 0 prints them.\n");
    std::string empty;
    AppendHexDump(nullptr, 0, empty);
    EXPECT_EQ(empty, "");  // hexdump -v -C prints nothing for no bytes
    const File outside(Patch(RecordFile("test", {"abc"}), kFirstOffset, Put32(0x10000)));
    EXPECT_EQ(EntryText(outside.Model(), 0), "Record 0: offset 00010000h, no data (outside the file)\n"
                                             "Attributes:\tdirty\nCategory:\t0\nUnique ID:\tAB0000h\n\n");
}

// --- Every prefix ---------------------------------------------------------------------------------

// Every line of --records and every --record N of every prefix of the file: nothing is read past
// its end (the sanitizer build checks), a row keeps its cells on one line, and the text of an
// entry begins with its title.
void ExpectEveryPrefixSafe(const std::string& name, const std::string& bytes) {
    for (size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE(name + " cut at " + std::to_string(length));
        const File file(bytes.substr(0, length));
        const DatabaseModel model = file.Model();
        ASSERT_LE(model.Count(), model.AnnouncedCount());
        std::string line;
        AppendHeaderLine(model, line);
        const size_t tabs = ColumnCount(model) - 1;
        const DecodedDatabase database(model);
        for (size_t i = 0; i < model.Count(); ++i) {
            line.clear();
            AppendEntryLine(database, i, line);
            ASSERT_EQ(static_cast<size_t>(std::count(line.begin(), line.end(), '\t')), tabs) << line;
            ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
            const std::string text = EntryText(model, i);
            ASSERT_EQ(text.rfind(model.HoldsResources() ? "Resource " : "Record ", 0), 0u);
            ASSERT_EQ(text.back(), '\n');
        }
    }
}

TEST(EntryText, EveryPrefixOfTheSamples) {
    ExpectEveryPrefixSafe("Memos.pdb", samples::SerializePalmDatabase(samples::MemoSample()));
    ExpectEveryPrefixSafe("Hello.prc", samples::SerializePalmDatabase(samples::ApplicationSample()));
    ExpectEveryPrefixSafe("Query.pqa", samples::SerializePalmDatabase(samples::QuerySample()));
    ExpectEveryPrefixSafe("appointment", RecordFile("date", {kEvent, kEvent.substr(0, 30)}));
}

// The databases of the independent writers: Debian's Palm modules and txt2pdbdoc (which
// tools/setup.sh installs).
TEST(EntryText, EveryPrefixOfTheIndependentWritersFiles) {
    const TemporaryFolder folder;
    ASSERT_EQ(folder.Run("perl " CORVELLE_SOURCE_DIR "/tools/perl/write-record-databases.pl ."), 0);
    std::string text;
    for (int i = 0; i < 60; ++i) text += "Line " + std::to_string(i) + " of a short document, said twice. said twice.\n";
    folder.Write("doc.txt", text);
    ASSERT_EQ(folder.Run("txt2pdbdoc Doc doc.txt doc.pdb >/dev/null && txt2pdbdoc -c Doc doc.txt plain.pdb >/dev/null"), 0);
    for (const char* name : {"memo.pdb", "todo.pdb", "address.pdb", "datebook.pdb", "doc.pdb", "plain.pdb"}) {
        const std::string bytes = folder.Read(name);
        ASSERT_GT(bytes.size(), 500u) << name;
        ExpectEveryPrefixSafe(name, bytes);
    }
}

}  // namespace
