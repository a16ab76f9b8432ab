// Mobipocket books (BOOK/MOBI, and TEXt/REAd databases whose record 0 holds
// a MOBI header): record 0 says what the book is and holds its metadata;
// records 1 to its text record count hold the text, HTML-like markup that
// is compressed record by record; then come the HUFF/CDIC dictionary and
// the images, which the records' own signatures tell apart. A book with a
// KF8 part as well is read as record 0 describes it.
//
// The fields and cells show each record's own bytes (its code page is the
// book's); the JSON and the document convert them.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "dump/TextAppend.h"
#include "dump/records/ImageFile.h"
#include "standards/CodePage.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/DocumentPlainText.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/MobipocketBook.h"
#include "formats/MobipocketDocument.h"
#include "formats/MobipocketExth.h"

namespace corvelle {
namespace {

constexpr uint32_t kExthAuthor = 100, kExthPublisher = 101, kExthIsbn = 104, kExthTitle = 503, kExthLanguage = 524;

std::string CompressionName(uint16_t compression) {
    switch (compression) {
        case kMobiUncompressed: return "none";
        case kMobiPalmDoc: return "PalmDOC";
        case kMobiHuffCdic: return "HUFF/CDIC";
    }
    return Number(compression);
}

std::string EncodingName(uint32_t encoding) {
    if (encoding == kMobiUtf8) return "UTF-8";
    if (encoding == kMobiCp1252) return "cp1252";
    return Number(encoding);
}

const char* BookTypeName(uint32_t type) {
    switch (type) {
        case 2: return "book";
        case 3: return "PalmDOC book";
        case 4: return "audio";
        case 257: return "news";
        case 258: return "news feed";
        case 259: return "news magazine";
        case 513: return "PICS";
        case 514: return "WORD";
        case 515: return "XLS";
        case 516: return "PPT";
        case 517: return "TEXT";
        case 518: return "HTML";
    }
    return nullptr;
}

std::string_view ExthText(const MobipocketBook& book, uint32_t type) {
    const ExthRecord* record = book.Exth(type);
    return record != nullptr ? record->data.Chars() : std::string_view();
}

// The book's title: the EXTH's updated title, else its full name, else the
// database's name (readers show the updated one).
std::string_view Title(const MobipocketBook& book) {
    if (!ExthText(book, kExthTitle).empty()) return ExthText(book, kExthTitle);
    if (!book.Header().fullName.empty()) return book.Header().fullName;
    return book.Model().Header().name;
}

// Every author of the book, as one text: "Jane Doe; John Roe".
std::string Authors(const MobipocketBook& book) {
    std::string authors;
    for (const ExthRecord& record : book.Header().exth) {
        if (record.type != kExthAuthor) continue;
        if (!authors.empty()) authors += "; ";
        authors += record.data.Chars();
    }
    return authors;
}

class MobipocketReader final : public FormatReader {
public:
    explicit MobipocketReader(const DatabaseModel& model) : m_book(model), m_bookText(m_book.CodePage()) {}

    bool Decodes(size_t index) const override { return m_book.KindOf(index) != MobipocketBook::Kind::kOther; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        switch (m_book.KindOf(index)) {
            case MobipocketBook::Kind::kHeader: cell.Add(Summary()); break;
            case MobipocketBook::Kind::kText:
                cell.Add(m_book.Encrypted() ? "(encrypted)"
                                            : m_book.Text(index, ContentsCell::kLimit, m_dictionary).text);
                break;
            case MobipocketBook::Kind::kHuff: cell.Add("HUFF: the Huffman code of the text"); break;
            case MobipocketBook::Kind::kCdic: cell.Add("CDIC: symbols of the text's dictionary"); break;
            case MobipocketBook::Kind::kImage: cell.Add(ImageLine(index)); break;
            case MobipocketBook::Kind::kOther: break;
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        switch (m_book.KindOf(index)) {
            case MobipocketBook::Kind::kHeader: AppendHeaderFields(out); break;
            case MobipocketBook::Kind::kText: {
                if (m_book.Encrypted()) {
                    AppendField(out, "Text", "(encrypted: not shown)");
                    break;
                }
                const MobiRecordText text = m_book.Text(index, UINT64_MAX, m_dictionary);
                AppendField(out, "Text", text.text);
                if (text.trailingBytes > 0) AppendField(out, "Trailing bytes", Number(text.trailingBytes));
                if (!text.problem.empty()) out += "The text stops short: " + text.problem + ".\n";
                break;
            }
            case MobipocketBook::Kind::kHuff: AppendField(out, "HUFF", "the Huffman code of the text"); break;
            case MobipocketBook::Kind::kCdic: AppendField(out, "CDIC", "symbols of the text's dictionary"); break;
            case MobipocketBook::Kind::kImage: AppendField(out, "Image", ImageLine(index)); break;
            case MobipocketBook::Kind::kOther: break;
        }
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        JsonOut& out = json.Json();
        switch (m_book.KindOf(index)) {
            case MobipocketBook::Kind::kHeader: WriteHeaderJson(json); break;
            case MobipocketBook::Kind::kText: {
                if (m_book.Encrypted()) {
                    json.Bool("encrypted", true);
                    break;
                }
                // Whole characters: the one this record ends inside is
                // completed from its overlap, the one it begins inside is the
                // record before's.
                const MobiRecordText text = m_book.Text(index, UINT64_MAX, m_dictionary);
                const size_t carried =
                    static_cast<size_t>(std::min<uint64_t>(m_book.CarriedInto(index), text.text.size()));
                out.Key("text");
                out.String(m_bookText.ToUtf8(text.text.substr(carried) + std::string(text.overlap.Chars())));
                json.Number("trailingBytes", text.trailingBytes);
                if (!text.problem.empty()) {
                    out.Key("stopped");
                    out.String(text.problem);
                }
                break;
            }
            case MobipocketBook::Kind::kImage: {
                const ImageFileInfo image = IdentifyImageFile(m_book.Model().Data(index));
                out.Key("image");
                out.String(ImageFileKindName(image.kind));
                json.Number("width", image.width);
                json.Number("height", image.height);
                break;
            }
            case MobipocketBook::Kind::kHuff: json.Text("table", "HUFF"); break;
            case MobipocketBook::Kind::kCdic: json.Text("table", "CDIC"); break;
            case MobipocketBook::Kind::kOther: break;
        }
    }

    EntryPicture Picture(size_t index) const override {
        if (m_book.KindOf(index) != MobipocketBook::Kind::kImage) return {};
        return {EntryPicture::Kind::kImageFile, m_book.Model().Data(index)};
    }

    // The whole book's text, once, with record 0: its markup and its own
    // code page leave no piece that a record of its own could give.
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (index != 0) return;
        std::vector<std::string> notes;
        const std::unique_ptr<DocumentReader> document = OpenMobipocketDocument(m_book);
        // The announced length, but never more than a text that fills every byte of the file could be.
        const uint64_t expected = std::min<uint64_t>(m_book.Header().textLength, 8 * m_book.Model().Size());
        feed.ReadableText(ReadWholeDocument(*document, notes, static_cast<size_t>(expected)));
        for (std::string& note : notes) feed.Warn(std::move(note));
    }

    std::unique_ptr<DocumentReader> OpenDocument(const TextOptions&) const override {
        return OpenMobipocketDocument(m_book);
    }

private:
    std::string Summary() const {
        const MobiHeader& header = m_book.Header();
        std::string summary = m_book.FormatName() + ", " + CompressionName(header.compression) + ", ";
        AppendDecimal(summary, header.textLength);
        summary += " bytes " + EncodingName(header.encoding);
        if (m_book.Encrypted()) summary += ", encrypted";
        summary += ": ";
        summary += Title(m_book);
        const std::string authors = Authors(m_book);
        if (!authors.empty()) summary += " by " + authors;
        return summary;
    }

    std::string ImageLine(size_t index) const {
        const ByteSpan data = m_book.Model().Data(index);
        const ImageFileInfo image = IdentifyImageFile(data);
        std::string line = ImageFileKindName(image.kind);
        line += ", ";
        if (image.width != 0 || image.height != 0)
            line += Number(image.width) + "x" + Number(image.height) + " pixels, ";
        return line + Number(data.size) + " bytes";
    }

    void AppendHeaderFields(std::string& out) const {
        const MobiHeader& header = m_book.Header();
        const RecordCut& read = header.cut;
        AppendField(out, "Format", m_book.FormatName());
        if (!Title(m_book).empty()) AppendField(out, "Title", Title(m_book));
        if (read.Whole(MobiHeaderPart::kCompression))
            AppendField(out, "Compression", CompressionName(header.compression));
        if (read.Whole(MobiHeaderPart::kTextLength)) AppendField(out, "Text length", Number(header.textLength));
        if (read.Whole(MobiHeaderPart::kTextRecords)) AppendField(out, "Text records", Number(header.textRecords));
        if (read.Whole(MobiHeaderPart::kRecordSize)) AppendField(out, "Record size", Number(header.recordSize));
        if (read.Whole(MobiHeaderPart::kEncryption))
            AppendField(
                out, "Encryption",
                header.encryption == 0 ? "none" : Number(header.encryption) + " (encrypted: the text is not shown)");
        if (MobiHeaderHolds(header, MobiHeaderPart::kEncoding))
            AppendField(out, "Encoding", EncodingName(header.encoding));
        if (MobiHeaderHolds(header, MobiHeaderPart::kBookType)) {
            const char* type = BookTypeName(header.bookType);
            AppendField(out, "Book type",
                        Number(header.bookType) + (type != nullptr ? " (" + std::string(type) + ")" : ""));
        }
        if (MobiHeaderHolds(header, MobiHeaderPart::kVersion)) AppendField(out, "Version", Number(header.version));
        if (header.firstImage != kMobiNoRecord && MobiHeaderHolds(header, MobiHeaderPart::kFirstImage))
            AppendField(out, "First image record", Number(header.firstImage));
        if (header.compression == kMobiHuffCdic && MobiHeaderHolds(header, MobiHeaderPart::kHuffCount))
            AppendField(
                out, "HUFF/CDIC records",
                Number(header.huffRecord) + " to " + Number(uint64_t{header.huffRecord} + header.huffCount - 1));
        if (header.hasExtraFlags) {
            char flags[8];
            std::snprintf(flags, sizeof flags, "%04Xh", header.extraFlags);
            AppendField(out, "Extra data flags", flags);
        }
        if (m_book.Kf8Boundary() != 0 && !m_book.IsKf8())
            AppendField(out, "KF8 part", "from record " + Number(m_book.Kf8Boundary()) + " (not read)");
        AppendExthFields(header, out);
        if (header.exthBroken) out += "The EXTH block stops at a record whose length is below its own 8 bytes.\n";
        AppendCutLine(m_book.Model(), header.cut, out);
    }

    void WriteHeaderJson(JsonFields& json) const {
        const MobiHeader& header = m_book.Header();
        JsonOut& out = json.Json();
        const auto text = [&](const char* key, std::string_view value) {
            if (value.empty()) return;
            out.Key(key);
            out.String(m_bookText.ToUtf8(value));
        };
        out.Key("format");
        out.String(m_book.FormatName());
        text("title", Title(m_book));
        text("author", Authors(m_book));
        text("publisher", ExthText(m_book, kExthPublisher));
        text("isbn", ExthText(m_book, kExthIsbn));
        text("language", ExthText(m_book, kExthLanguage));
        json.Number("compression", header.compression);
        json.Number("textLength", header.textLength);
        json.Number("textRecords", header.textRecords);
        json.Number("recordSize", header.recordSize);
        json.Number("encryption", header.encryption);
        const struct {
            const char* key;
            MobiHeaderPart part;
            uint32_t value;
        } kMembers[] = {
            {"headerLength", MobiHeaderPart::kHeaderLength, header.headerLength},
            {"bookType", MobiHeaderPart::kBookType, header.bookType},
            {"encoding", MobiHeaderPart::kEncoding, header.encoding},
            {"version", MobiHeaderPart::kVersion, header.version},
            {"firstImageRecord", MobiHeaderPart::kFirstImage, header.firstImage},
            {"huffRecord", MobiHeaderPart::kHuffRecord, header.huffRecord},
            {"huffRecordCount", MobiHeaderPart::kHuffCount, header.huffCount},
            {"exthFlags", MobiHeaderPart::kExthFlags, header.exthFlags},
            {"extraDataFlags", MobiHeaderPart::kExtraFlags, header.extraFlags},
        };
        for (const auto& member : kMembers)
            if (MobiHeaderHolds(header, member.part)) json.Number(member.key, member.value);
        if (m_book.Kf8Boundary() != 0) json.Number("kf8Boundary", m_book.Kf8Boundary());
        if (header.hasExth) WriteExthJson(header, m_bookText, out);
        json.Cut(header.cut);
    }

    MobipocketBook m_book;
    mutable TextDecoder m_bookText;
    mutable MobiDictionary m_dictionary;
};

// BOOK/MOBI, and TEXt/REAd whose record 0 holds "MOBI" at byte 16 or the
// old encryption (which PalmDOC, the row after this one, takes otherwise).
bool IsMobipocket(const DatabaseModel& model) {
    if (IsRecordDatabase(model, "BOOK", "MOBI")) return true;
    if (!IsRecordDatabase(model, "TEXt", "REAd") || model.Count() == 0) return false;
    const ByteSpan record0 = model.Data(0);
    return HoldsMobiHeader(record0) || HoldsOldMobiEncryption(record0);
}

std::unique_ptr<FormatReader> OpenMobipocket(const DatabaseModel& model) {
    return std::make_unique<MobipocketReader>(model);
}

}  // namespace

extern const Format kMobipocketFormat = {"mobipocket", "Mobipocket",   ExportBit(ExportType::kText),
                                         IsMobipocket, OpenMobipocket, true};

}  // namespace corvelle
