// zTXT books built here with zlib: the data records' stream read in order and each record alone (random
// access and one stream; a bomb in a record and in the book; a damaged record first, in the middle and in a
// one-stream book; records outside the file), record 0 and the marks cut anywhere, and the book through its
// format: the document's notes and the fields of the header, the bookmarks and the annotations. calibre's
// reading of written books is compared by tools/books/check-ztxt-plucker.py.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "formats/Format.h"
#include "formats/ZtxtBook.h"
#include "standards/CodePage.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle {
namespace {

using samples::Put16;
using samples::Put32;

constexpr uint16_t kRecordSize = 1024;

std::string Text(size_t size) {
    std::string text;
    for (size_t i = 0; text.size() < size; ++i)
        text += "word" + std::to_string(i * 7919 % 1000) + (i % 9 ? " " : ".\n");
    return text.substr(0, size);
}

// `texts` deflated as one stream, with a full flush after each but the last.
std::vector<std::string> Flushed(const std::vector<std::string>& texts) {
    z_stream z{};
    deflateInit(&z, 9);
    std::vector<std::string> records;
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string out(deflateBound(&z, texts[i].size()) + 64, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(texts[i].data()));
        z.avail_in = static_cast<uInt>(texts[i].size());
        z.next_out = reinterpret_cast<Bytef*>(&out[0]);
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, i + 1 == texts.size() ? Z_FINISH : Z_FULL_FLUSH);
        out.resize(out.size() - z.avail_out);
        records.push_back(out);
    }
    deflateEnd(&z);
    return records;
}

std::vector<std::string> Chunks(const std::string& text, size_t size) {
    std::vector<std::string> chunks;
    for (size_t at = 0; at < text.size(); at += size) chunks.push_back(text.substr(at, size));
    return chunks;
}

std::string Header(uint16_t records, uint32_t length, uint8_t flags, uint16_t bookmarks = 0,
                   uint16_t bookmarkRecord = 0, uint16_t annotations = 0, uint16_t annotationRecord = 0) {
    std::string header;
    for (uint32_t value : {0x012Cu, uint32_t{records}}) Put16(header, value);
    Put32(header, length);
    for (uint32_t value : {uint32_t{kRecordSize}, uint32_t{bookmarks}, uint32_t{bookmarkRecord}, uint32_t{annotations},
                           uint32_t{annotationRecord}})
        Put16(header, value);
    header += static_cast<char>(flags);
    header += '\0';
    Put32(header, 0);
    return header + std::string(8, '\0');
}

std::string Book(const std::string& header, const std::vector<std::string>& records) {
    samples::PalmDatabase db;
    db.name = "Book";
    db.type = "zTXT";
    db.creator = "GPlm";
    db.records.push_back({0, 0, header});
    for (const std::string& record : records) db.records.push_back({0, 0, record});
    return samples::SerializePalmDatabase(db);
}

std::string Damaged(std::string record) {
    for (size_t i = 4; i < record.size() && i < 40; ++i) record[i] = static_cast<char>(record[i] ^ 0x5A);
    return record;
}

struct Expected {
    ZtxtStop stop;
    std::string text;
};

struct StreamCase {
    const char* name;
    std::string file;
    std::vector<Expected> records;  // from record 1
};

std::vector<StreamCase> StreamCases() {
    const std::string text = Text(3000);
    const std::vector<std::string> chunks = Chunks(text, kRecordSize);
    const std::vector<std::string> records = Flushed(chunks);
    const std::string random = Header(3, 3000, kZtxtRandomAccess);
    const std::vector<Expected> whole = {{ZtxtStop::kNone, chunks[0]}, {ZtxtStop::kNone, chunks[1]},
                                         {ZtxtStop::kNone, chunks[2]}};
    std::vector<std::string> bomb = Flushed({chunks[0], std::string(1 << 20, '\0'), chunks[2]});
    std::vector<std::string> outside = records;
    std::string outsideFile = Book(random, records);
    outsideFile.replace(78 + 3 * 8, 4, std::string("\0\1\0\0", 4));  // record 3 starts past the end
    return {
        {"RandomAccess", Book(random, records), whole},
        {"RecordInflatesPastTheRecordSize", Book(random, bomb),
         {whole[0], {ZtxtStop::kOverRecordSize, std::string(kRecordSize, '\0')}, whole[2]}},
        {"DamagedRecordLosesOnlyItself", Book(random, {records[0], Damaged(records[1]), records[2]}),
         {whole[0], {ZtxtStop::kBroken, ""}, whole[2]}},
        {"DamagedFirstRecordLosesAll", Book(random, {Damaged(records[0]), records[1], records[2]}),
         {{ZtxtStop::kBroken, ""}, {ZtxtStop::kFirstBroken, ""}, {ZtxtStop::kFirstBroken, ""}}},
        {"RecordsOutsideTheFile", outsideFile, {whole[0], {ZtxtStop::kMissing, ""}, {ZtxtStop::kMissing, ""}}},
        {"DamagedOneStream", Book(Header(3, 3000, 0), {records[0], Damaged(records[1]), records[2]}),
         {whole[0], {ZtxtStop::kBroken, ""}, {ZtxtStop::kStreamLost, ""}}},
    };
}

// The records read in order, then each alone (last first): a random-access record needs only record 1, a
// one-stream record all those before it, and both give the same.
TEST(ZtxtStream, RecordsInOrderAndEachAlone) {
    for (const StreamCase& c : StreamCases()) {
        SCOPED_TRACE(c.name);
        const DatabaseModel model(reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size());
        const ZtxtHeader header = DecodeZtxtHeader(model.Data(0));
        ZtxtStream stream(model, header);
        for (size_t i = 0; i < c.records.size(); ++i) {
            const ZtxtPiece piece = stream.Next();
            EXPECT_EQ(piece.index, i + 1);
            EXPECT_EQ(piece.stop, c.records[i].stop) << "in order, record " << i + 1;
            if (c.records[i].stop != ZtxtStop::kBroken) {
                EXPECT_EQ(piece.text, c.records[i].text) << i + 1;
            }
        }
        EXPECT_TRUE(stream.AtEnd());
        for (size_t i = c.records.size(); i-- > 0;) {
            stream.MoveTo(i + 1);
            const ZtxtPiece piece = stream.Next();
            EXPECT_EQ(piece.stop, c.records[i].stop) << "alone, record " << i + 1;
            if (c.records[i].stop != ZtxtStop::kBroken) {
                EXPECT_EQ(piece.text, c.records[i].text) << i + 1;
            }
        }
    }
}

TEST(ZtxtStream, OneStreamCutAnywhereAndItsBombs) {
    const std::string text = Text(20000);
    const std::string stream = Flushed({text})[0];
    const std::vector<std::string> cut = Chunks(stream, 512);
    const std::string huge = Flushed({std::string(4 << 20, 'A')})[0];
    const struct {
        const char* name;
        std::string file;
        uint64_t length;  // of the text read
        ZtxtStop lastStop;
    } cases[] = {
        {"CutEvery512Bytes", Book(Header(static_cast<uint16_t>(cut.size()), 20000, 0), cut), 20000, ZtxtStop::kNone},
        {"TextPastItsLength", Book(Header(3, 100, 0), Chunks(huge, huge.size() / 3 + 1)), 100 + 64 * 1024,
         ZtxtStop::kOverBook},
        {"RandomAccessPastItsLength", Book(Header(1, 100, kZtxtRandomAccess), {huge}), kRecordSize,
         ZtxtStop::kOverRecordSize},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DatabaseModel model(reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size());
        ZtxtStream reader(model, DecodeZtxtHeader(model.Data(0)));
        std::string read;
        ZtxtStop last = ZtxtStop::kNone;
        while (!reader.AtEnd()) {
            const ZtxtPiece piece = reader.Next();
            read += piece.text;
            if (piece.stop != ZtxtStop::kNone) last = piece.stop;
        }
        EXPECT_EQ(read.size(), c.length);
        EXPECT_EQ(last, c.lastStop);
        if (c.lastStop == ZtxtStop::kNone) {
            EXPECT_EQ(read, text);
        }
    }
}

TEST(ZtxtStream, ListCellTakesNoMoreThanItsLimitAndNoStop) {
    const std::vector<std::string> chunks = Chunks(Text(3000), kRecordSize);
    const std::string file = Book(Header(3, 3000, kZtxtRandomAccess), Flushed(chunks));
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    ZtxtStream stream(model, DecodeZtxtHeader(model.Data(0)));
    stream.MoveTo(2);
    const ZtxtPiece cell = stream.Next(80);
    EXPECT_EQ(cell.text, chunks[1].substr(0, 80));
    EXPECT_EQ(cell.stop, ZtxtStop::kNone);
    EXPECT_EQ(stream.Next().text, chunks[2]);  // the inflater stopped inside record 2: primed again
}

TEST(ZtxtRecords, HeaderAndMarksCutAnywhere) {
    const std::string header = Header(3, 3000, 3, 2, 4);
    const size_t ends[] = {2, 4, 8, 10, 12, 14, 16, 18, 19, 20, 24};  // where each part ends
    for (size_t length = 0; length <= 24; ++length) {
        SCOPED_TRACE(length);
        const ZtxtHeader cut = DecodeZtxtHeader({reinterpret_cast<const uint8_t*>(header.data()), length});
        unsigned part = 0;
        while (part < 11 && ends[part] <= length) ++part;
        EXPECT_EQ(cut.cut.cut, part < 11);
        if (part < 11) {
            EXPECT_EQ(cut.cut.part, part);
        }
    }
    const ZtxtHeader whole = DecodeZtxtHeader({reinterpret_cast<const uint8_t*>(header.data()), header.size()});
    EXPECT_EQ(whole.textLength, 3000u);
    EXPECT_TRUE(whole.RandomAccess());
    std::string marks;
    Put32(marks, 77);
    marks += std::string("Chapter one\0\0\0\0\0\0\0\0\0", 20);
    Put32(marks, 999);
    marks += "A title of twenty!!!";  // no zero byte: all 20 are the title
    Put32(marks, 5);
    marks += "cut";
    const ZtxtMarks read = DecodeZtxtMarks({reinterpret_cast<const uint8_t*>(marks.data()), marks.size()}, 60000);
    ASSERT_EQ(read.marks.size(), 2u);
    EXPECT_EQ(read.marks[0].title, "Chapter one");
    EXPECT_EQ(read.marks[1].offset, 999u);
    EXPECT_EQ(read.marks[1].title, "A title of twenty!!!");
    EXPECT_TRUE(read.cut.cut);
    EXPECT_EQ(read.cut.part, static_cast<unsigned>(ZtxtMarkPart::kTitle));
}

struct NoteSink final : DocumentSink {
    void Text(std::string_view utf8, unsigned) override { text.append(utf8.data(), utf8.size()); }
    void Heading(std::string_view utf8) override { text.append(utf8.data(), utf8.size()); }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string note) override { notes += note + "|"; }
    std::string text, notes;
};

TEST(ZtxtFormat, TheBookItsNotesAndItsMarks) {
    const std::vector<std::string> chunks = Chunks(Text(3000), kRecordSize);
    const std::vector<std::string> records = Flushed(chunks);
    std::string marks;
    Put32(marks, 1500);
    marks += std::string("Middle\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20);
    std::vector<std::string> withMarks = records;
    withMarks.insert(withMarks.end(), {marks, marks, std::string("Its note\0", 9)});
    const struct {
        const char* name;
        std::string file;
        std::string text, notes;
    } cases[] = {
        {"Whole", Book(Header(3, 3000, 1, 1, 4, 1, 5), withMarks), chunks[0] + chunks[1] + chunks[2], ""},
        {"ShorterThanAnnounced", Book(Header(3, 3500, 1), records), chunks[0] + chunks[1] + chunks[2],
         "the text ends after 3000 of the 3500 bytes its header announces|"},
        {"DamagedFirstRecord", Book(Header(3, 3000, 1), {Damaged(records[0]), records[1], records[2]}), "",
         "record 1: its bytes are damaged or not the zlib stream's next part|record 2: record 1 does not inflate, "
         "and every other record needs it first; the rest of the book is not read|"},
        {"HeaderCut", Book(Header(3, 3000, 1).substr(0, 9), records), "",
         "record 0, the book's header, is missing or cut short: the text cannot be read|"},
    };
    TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DatabaseModel model(reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size());
        const DecodedDatabase database(model);
        NoteSink sink;
        const auto document = database.Reader().OpenDocument(options);
        ASSERT_NE(document, nullptr);
        while (document->Next(sink)) {
        }
        EXPECT_EQ(sink.text, c.text);
        EXPECT_EQ(sink.notes, c.notes);
    }
    const std::string file = cases[0].file;
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const DecodedDatabase database(model);
    EXPECT_NE(EntryFieldsText(database, 0).find("Bookmarks:\t1 in record 4\n"), std::string::npos);
    EXPECT_EQ(EntryFieldsText(database, 4), "Bookmark 1:\tat byte 1500: Middle\n");
    EXPECT_EQ(EntryFieldsText(database, 5), "Annotation 1:\tat byte 1500: Middle\n");
    EXPECT_EQ(EntryFieldsText(database, 6), "Title:\tMiddle\nOffset:\t1500\nText:\tIts note\n");
    EXPECT_EQ(EntryFieldsText(database, 2).rfind("Text:\t" + chunks[1].substr(0, 40), 0), 0u);
}

}  // namespace
}  // namespace corvelle
