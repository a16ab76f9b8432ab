// Plucker books (Data/Plkr): record 0 is the index, every other record a
// page of text, an image, a table, the metadata or data about links, each
// saying its own type (formats/PluckerBook.h). The fields and cells show a
// text in the bytes of the book's character set, functions off; the JSON
// and the document convert it (formats/PluckerDocument.h). A book keyed to
// an owner ID says so and shows no text.
#include <cstdio>

#include "dump/PalmBitmap.h"
#include "dump/PalmDate.h"
#include "dump/TextAppend.h"
#include "standards/CodePage.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/PluckerDocument.h"

namespace corvelle {
namespace {

constexpr const char* kProtectedText = "(keyed to an owner ID: not shown)";

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*Xh", digits, static_cast<unsigned>(value));
    return text;
}

std::string TypeText(uint8_t type) {
    const char* name = PluckerTypeName(type);
    return name != nullptr ? name : "type " + Number(type);
}

const char* CompressionName(uint16_t compression) {
    return compression == kPluckerZlib ? "zlib" : compression == kPluckerPalmDoc ? "PalmDOC" : nullptr;
}

bool IsImage(uint8_t type) { return type == plucker_type::kImage || type == plucker_type::kImageCompressed; }
bool IsTable(uint8_t type) { return type == plucker_type::kTable || type == plucker_type::kTableCompressed; }

uint32_t U32(const ByteSpan& data) {
    if (data.size < 4) return 0;
    return (uint32_t{data.data[0]} << 24) | (data.data[1] << 16) | (data.data[2] << 8) | data.data[3];
}

// A Palm bitmap's first rendition in words: "Palm bitmap, 8x8 pixels, 1 bit".
std::string ImageText(const ByteSpan& bytes) {
    const std::vector<BitmapRendition> renditions = ListRenditions(bytes.data, bytes.size);
    if (renditions.empty()) return "not a Palm bitmap, " + Number(bytes.size) + " bytes";
    const BitmapRendition& first = renditions.front();
    return "Palm bitmap, " + Number(first.width) + "x" + Number(first.height) + " pixels, " + Number(first.depth) +
           (first.depth == 1 ? " bit" : " bits");
}

class PluckerReader final : public FormatReader {
public:
    explicit PluckerReader(const DatabaseModel& model) : m_book(model) {}

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        if (index == 0) {
            cell.Add(Summary());
            return;
        }
        const PluckerRecord record = Record(index);
        if (record.IsText() || IsTable(record.type)) {
            if (record.IsText() && m_book.Protected()) {
                cell.Add(kProtectedText);
                return;
            }
            if (IsTable(record.type)) cell.Add("table: ");
            PluckerData data;
            m_book.Data(record, data);
            cell.Add(PluckerRecordBytes(record, data.bytes));
        } else if (IsImage(record.type)) {
            PluckerData data;
            m_book.Data(record, data);
            cell.Add(ImageText(data.bytes));
        } else if (index == m_book.MetadataRecord()) {
            cell.Add("metadata: " + MetadataLine());
        } else {
            cell.Add(TypeText(record.type));
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        if (index == 0) {
            AppendIndexFields(out);
            return;
        }
        const PluckerRecord record = Record(index);
        const RecordCut& read = record.cut;
        if (read.Whole(PluckerRecordPart::kUid)) AppendField(out, "Record ID", Number(record.uid));
        if (read.Whole(PluckerRecordPart::kType)) AppendField(out, "Type", TypeText(record.type));
        if (record.IsText() && read.Whole(PluckerRecordPart::kParagraphCount))
            AppendField(out, "Paragraphs", Number(record.paragraphCount));
        if (read.Whole(PluckerRecordPart::kSize)) AppendField(out, "Size", Number(record.size) + " bytes uncompressed");
        if (read.Whole(PluckerRecordPart::kFlags) && record.flags != 0)
            AppendField(out, "Flags", FlagsText(record.flags));
        if (read.Whole(PluckerRecordPart::kFlags)) AppendBodyFields(index, record, out);
        AppendCutLine(m_book.Model(), record.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        if (index == 0) {
            WriteIndexJson(json);
            return;
        }
        const PluckerRecord record = Record(index);
        json.Number("uid", record.uid);
        json.Number("type", record.type);
        if (PluckerTypeName(record.type) != nullptr) {
            json.Json().Key("typeName");
            json.Json().String(PluckerTypeName(record.type));
        }
        json.Number("paragraphs", record.paragraphCount);
        json.Number("size", record.size);
        json.Number("flags", record.flags);
        WriteBodyJson(index, record, json);
        json.Cut(record.cut);
    }

    EntryPicture Picture(size_t index) const override {
        if (index == 0) return {};
        const PluckerRecord record = Record(index);
        if (!IsImage(record.type)) return {};
        PluckerData data;
        m_book.Data(record, data);
        if (data.owned.empty()) return {EntryPicture::Kind::kPalmBitmap, data.bytes};
        // Kept until the next picture is asked for: the page decodes it at once.
        m_picture = std::move(data.owned);
        const ByteSpan kept{reinterpret_cast<const uint8_t*>(m_picture.data()), m_picture.size()};
        return {EntryPicture::Kind::kPalmBitmap, kept};
    }

    // A selection of text records, each as its fields show it.
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (index == 0) return;
        const PluckerRecord record = Record(index);
        if (!record.IsText()) return;
        if (m_book.Protected()) {
            feed.Warn("record " + std::to_string(index) + ": the book is keyed to an owner ID: its text is left out");
            return;
        }
        PluckerData data;
        m_book.Data(record, data);
        feed.Document(PluckerRecordBytes(record, data.bytes) + "\n");
        if (data.stop != PluckerData::Stop::kNone)
            feed.Warn("record " + std::to_string(index) + ": " + PluckerStopText(data.stop));
    }

    std::unique_ptr<DocumentReader> OpenDocument(const TextOptions& options) const override {
        if (options.fallbackDecoder == nullptr) return nullptr;
        return OpenPluckerDocument(m_book, *options.fallbackDecoder);
    }

private:
    PluckerRecord Record(size_t index) const { return DecodePluckerRecord(m_book.Model().Data(index)); }

    std::string Summary() const {
        const char* compression = CompressionName(m_book.Index().compression);
        std::string line = "Plucker, ";
        line += compression != nullptr ? compression : "compression " + Number(m_book.Index().compression);
        line += ", " + Number(m_book.TextLength()) + " bytes in " + Number(m_book.TextRecords()) + " text records";
        if (m_book.Protected()) line += ", keyed to an owner ID";
        line += ": ";
        line += m_book.Title();
        if (!m_book.Author().empty()) line += " by " + std::string(m_book.Author());
        return line;
    }

    std::string EncodingText() const {
        const uint16_t charset = m_book.Charset();
        if (charset == 0) return "none named: the code page of Encoding= or --encoding";
        if (PluckerCodePage(charset) == nullptr)
            return PluckerCharsetText(charset) + ", not converted: read in the code page of Encoding=";
        return PluckerCharsetText(charset);
    }

    void AppendIndexFields(std::string& out) const {
        const PluckerIndex& index = m_book.Index();
        AppendField(out, "Format", "Plucker");
        AppendField(out, "Title", m_book.Title());
        if (!m_book.Author().empty()) AppendField(out, "Author", m_book.Author());
        if (index.cut.Whole(PluckerIndexPart::kCompression)) {
            const char* name = CompressionName(index.compression);
            AppendField(out, "Compression", name != nullptr ? name : Number(index.compression) + " (not Plucker's)");
        }
        AppendField(out, "Text length", Number(m_book.TextLength()));
        AppendField(out, "Text records", Number(m_book.TextRecords()));
        AppendField(out, "Encoding", EncodingText());
        if (m_book.Protected()) AppendField(out, "Protection", "keyed to an owner ID: the text is not shown");
        for (const PluckerReserved& pair : index.reserved) {
            const size_t at = m_book.Find(pair.uid);
            AppendField(out, "Reserved " + ReservedName(pair.name),
                        "record ID " + Number(pair.uid) +
                            (at != PluckerBook::kNoRecord ? " (record " + Number(at) + ")" : " (not in the book)"));
        }
        AppendCutLine(m_book.Model(), index.cut, out);
    }

    static std::string ReservedName(uint16_t name) {
        static const char* const kNames[] = {"home page",          "external bookmarks", "URL handling",
                                             "default category",   "metadata",           "page list metadata",
                                             "sorted URL names",   "external anchor names"};
        return name < 8 ? kNames[name] : Number(name);
    }

    static std::string FlagsText(uint8_t flags) {
        std::string text = Hex(flags, 2);
        if ((flags & kPluckerContinued) != 0) text += ", continued in the next record";
        if ((flags & kPluckerNavigation) != 0) text += ", navigation data follows";
        return text;
    }

    void AppendBodyFields(size_t index, const PluckerRecord& record, std::string& out) const {
        if (index == m_book.MetadataRecord()) {
            AppendMetadataFields(out);
            return;
        }
        if (record.IsText() && m_book.Protected()) {
            AppendField(out, "Text", kProtectedText);
            return;
        }
        if (!record.IsText() && !IsTable(record.type) && !IsImage(record.type) &&
            record.type != plucker_type::kCompositeImage)
            return;
        PluckerData data;
        m_book.Data(record, data);
        if (IsImage(record.type)) {
            AppendField(out, "Image", ImageText(data.bytes));
        } else if (record.type == plucker_type::kCompositeImage) {
            AppendField(out, "Composite image", CompositeText(data.bytes));
        } else {
            if (IsTable(record.type)) AppendField(out, "Table", TableText(data.bytes));
            AppendField(out, "Text", PluckerRecordBytes(record, data.bytes));
        }
        if (data.stop != PluckerData::Stop::kNone)
            out += std::string("The data stops: ") + PluckerStopText(data.stop) + ".\n";
    }

    static std::string TableText(const ByteSpan& data) {
        const PluckerTable table = DecodePluckerTable(data);
        return Number(table.columns) + " columns, " + Number(table.rows) + " rows";
    }

    static std::string CompositeText(const ByteSpan& data) {
        const PluckerComposite composite = DecodePluckerComposite(data);
        std::string text = Number(composite.columns) + " columns, " + Number(composite.rows) + " rows of record IDs";
        for (size_t i = 0; i < composite.parts.size(); ++i) text += (i == 0 ? " " : ", ") + Number(composite.parts[i]);
        return text;
    }

    std::string MetadataLine() const {
        std::string line = m_book.Charset() != 0 ? PluckerCharsetText(m_book.Charset()) : "no character set";
        if (!m_book.Author().empty()) line += ", " + std::string(m_book.Author());
        if (m_book.Title() != m_book.Model().Header().name) line += ", " + std::string(m_book.Title());
        return line;
    }

    void AppendMetadataFields(std::string& out) const {
        const PluckerMetadata& metadata = m_book.Metadata();
        for (const PluckerItem& item : metadata.items) {
            switch (item.type) {
                case plucker_item::kCharset:
                    if (item.data.size >= 2) AppendField(out, "Character set", PluckerCharsetText(m_book.Charset()));
                    break;
                case plucker_item::kExceptionalCharsets:
                    for (size_t at = 0; at + 4 <= item.data.size; at += 4) {
                        const uint8_t* pair = item.data.data + at;
                        AppendField(out, "Record ID " + Number((pair[0] << 8) | pair[1]),
                                    "in " + PluckerCharsetText(static_cast<uint16_t>((pair[2] << 8) | pair[3])));
                    }
                    break;
                case plucker_item::kOwnerId:
                    AppendField(out, "Owner ID", "CRC-32 " + Hex(U32(item.data), 8) + ": the text is not shown");
                    break;
                case plucker_item::kAuthor: AppendField(out, "Author", PluckerItemText(item)); break;
                case plucker_item::kTitle: AppendField(out, "Title", PluckerItemText(item)); break;
                case plucker_item::kPublicationDate:
                    AppendField(out, "Publication date", PalmDateText(U32(item.data)));
                    break;
                case plucker_item::kLinkedDocuments: AppendField(out, "Linked documents", LinkedDocuments(item)); break;
                default: AppendField(out, "Item " + Number(item.type), Number(item.data.size) + " bytes"); break;
            }
        }
        AppendCutLine(m_book.Model(), metadata.cut, out);
    }

    static std::string LinkedDocuments(const PluckerItem& item) {
        std::string names;
        std::string_view rest = item.data.Chars();
        while (!rest.empty()) {
            const std::string_view name = rest.substr(0, rest.find('\0'));
            if (!name.empty()) names += (names.empty() ? "" : "; ") + std::string(name);
            rest.remove_prefix(name.size() < rest.size() ? name.size() + 1 : rest.size());
        }
        return names;
    }

    void WriteIndexJson(JsonFields& json) const {
        const PluckerIndex& index = m_book.Index();
        JsonOut& out = json.Json();
        out.Key("format");
        out.String("Plucker");
        BookText(json, "title", m_book.Title());
        if (!m_book.Author().empty()) BookText(json, "author", m_book.Author());
        json.Number("compression", index.compression);
        json.Number("textRecords", m_book.TextRecords());
        json.Number("textLength", m_book.TextLength());
        if (m_book.Charset() != 0) json.Number("charset", m_book.Charset());
        const CodePageInfo* page = PluckerCodePage(m_book.Charset());
        out.Key("encoding");
        if (page != nullptr) {
            out.String(page->name);
        } else {
            out.Null();  // the user's code page
        }
        json.Bool("protected", m_book.Protected());
        out.Key("reserved");
        out.OpenArray();
        for (const PluckerReserved& pair : index.reserved) {
            out.OpenObject();
            json.Number("name", pair.name);
            json.Number("uid", pair.uid);
            out.CloseObject();
        }
        out.CloseArray();
        json.Cut(index.cut);
    }

    void WriteBodyJson(size_t index, const PluckerRecord& record, JsonFields& json) const {
        JsonOut& out = json.Json();
        if (index == m_book.MetadataRecord()) {
            WriteMetadataJson(json);
            return;
        }
        if (record.IsText() && m_book.Protected()) {
            json.Bool("protected", true);
            return;
        }
        if (record.IsText() || IsTable(record.type)) {
            std::string notes;
            out.Key("text");
            out.String(PluckerRecordReadable(m_book, index, json.Decoder(), &notes));
            if (!notes.empty()) {
                out.Key("stopped");
                out.String(notes);
            }
        } else if (IsImage(record.type)) {
            PluckerData data;
            m_book.Data(record, data);
            const std::vector<BitmapRendition> renditions = ListRenditions(data.bytes.data, data.bytes.size);
            out.Key("image");
            out.String(renditions.empty() ? "unknown" : "Palm bitmap");
            if (!renditions.empty()) {
                json.Number("width", renditions.front().width);
                json.Number("height", renditions.front().height);
                json.Number("depth", renditions.front().depth);
            }
        }
    }

    void WriteMetadataJson(JsonFields& json) const {
        JsonOut& out = json.Json();
        for (const PluckerItem& item : m_book.Metadata().items) {
            switch (item.type) {
                case plucker_item::kCharset: json.Number("charset", m_book.Charset()); break;
                case plucker_item::kOwnerId: json.Number("ownerIdCrc", U32(item.data)); break;
                case plucker_item::kAuthor: BookText(json, "author", PluckerItemText(item)); break;
                case plucker_item::kTitle: BookText(json, "title", PluckerItemText(item)); break;
                case plucker_item::kPublicationDate: json.Number("publicationDate", U32(item.data)); break;
                case plucker_item::kLinkedDocuments: json.Text("linkedDocuments", LinkedDocuments(item)); break;
                default: break;
            }
        }
        out.Key("itemTypes");
        out.OpenArray();
        for (const PluckerItem& item : m_book.Metadata().items) out.Number(item.type);
        out.CloseArray();
        json.Cut(m_book.Metadata().cut);
    }

    // A text of the metadata, in the book's character set where we convert
    // it, else in the user's code page.
    void BookText(JsonFields& json, const char* key, std::string_view bytes) const {
        const CodePageInfo* page = PluckerCodePage(m_book.Charset());
        if (page != nullptr && !m_bookDecoder) m_bookDecoder = std::make_unique<TextDecoder>(*page);
        json.Json().Key(key);
        json.Json().String(page != nullptr && m_bookDecoder->Ok() ? m_bookDecoder->ToUtf8(bytes) : json.Utf8(bytes));
    }

    PluckerBook m_book;
    mutable std::string m_picture;
    mutable std::unique_ptr<TextDecoder> m_bookDecoder;
};

bool IsPlucker(const DatabaseModel& model) { return IsRecordDatabase(model, "Data", "Plkr"); }

std::unique_ptr<FormatReader> OpenPlucker(const DatabaseModel& model) { return std::make_unique<PluckerReader>(model); }

}  // namespace

extern const Format kPluckerFormat = {"plucker", "Plucker", ExportBit(ExportType::kText), IsPlucker, OpenPlucker,
                                      true};

}  // namespace corvelle
