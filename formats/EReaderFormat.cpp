// eReader books (PNRd/PPrs, PNPd/PPrs): the header says where each kind of
// record lies; text, footnote and sidebar records show their decoded PML,
// the metadata record its five texts, index records where they point, image
// records their PNG. Texts are cp1252 whatever the user's code page.
#include "dump/TextAppend.h"
#include "dump/records/EReaderRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/EReaderDocument.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/PmlText.h"

namespace corvelle {
namespace {

enum class Kind {
    kNone,
    kHeader,
    kText,
    kMetadata,
    kFootnoteIds,
    kFootnote,
    kSidebarIds,
    kSidebar,
    kChapter,
    kLink,
    kImage
};

const char* CompressionName(const EReaderHeader& header) {
    switch (header.Compression()) {
        case EReaderCompression::kPalmDoc: return "PalmDOC";
        case EReaderCompression::kZlib: return "zlib";
        case EReaderCompression::kXoredPalmDoc: return "PalmDOC, its bytes XORed with A5h";
        case EReaderCompression::kProtected: return "protected";
        case EReaderCompression::kUnknown: return nullptr;
    }
    return nullptr;
}

std::string Utf8(std::string_view cp1252) {
    std::string utf8;
    AppendCp1252(cp1252, utf8);
    return utf8;
}

void TextMember(JsonFields& json, const char* key, std::string_view cp1252) {
    json.Json().Key(key);
    json.Json().String(Utf8(cp1252));
}

void SectionFields(std::string& out, const char* label, const EReaderSection& section) {
    std::string value = Number(section.count);
    if (section.count > 0) value += ", from record " + Number(section.first);
    AppendField(out, label, value);
}

class EReaderReader final : public FormatReader {
public:
    // The header and the metadata are read once: every entry's kind and the
    // header's line need them.
    explicit EReaderReader(const DatabaseModel& model) : m_model(model) {
        if (model.Count() > 0 && model.Entry(0).hasData) m_header = DecodeEReaderHeader(model.Data(0));
        const size_t metadata = m_header.metadataRecord;
        m_hasMetadata =
            m_header.hasMetadata && metadata > 0 && metadata < model.Count() && model.Entry(metadata).hasData;
        if (m_hasMetadata) m_metadata = DecodeEReaderMetadata(model.Data(metadata));
    }

    bool Decodes(size_t index) const override { return KindOf(index) != Kind::kNone; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        switch (KindOf(index)) {
            case Kind::kHeader: cell.Add(Summary()); return;
            case Kind::kText:
            case Kind::kFootnote:
            case Kind::kSidebar: cell.Add(Text(index, ContentsCell::kLimit).text); return;
            case Kind::kMetadata: cell.Add("Metadata: " + Joined(m_metadata)); return;
            case Kind::kFootnoteIds:
            case Kind::kSidebarIds: cell.Add(NoteWord(index) + " ids: " + Ids(index)); return;
            case Kind::kChapter:
            case Kind::kLink: {
                const EReaderIndexEntry entry = DecodeEReaderIndexEntry(m_model.Data(index));
                cell.Add(KindOf(index) == Kind::kChapter ? "Chapter: " : "Link anchor: ");
                cell.Add(entry.name);
                return;
            }
            case Kind::kImage: {
                const EReaderImage image = DecodeEReaderImage(m_model.Data(index));
                cell.Add("PNG image ");
                cell.Add(image.name);
                cell.Add(", " + Number(image.width) + " x " + Number(image.height) + ", " + Number(image.png.size) +
                         " bytes");
                return;
            }
            case Kind::kNone: return;
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        switch (KindOf(index)) {
            case Kind::kHeader: HeaderFields(out); return;
            case Kind::kText:
            case Kind::kFootnote:
            case Kind::kSidebar: {
                const EReaderText text = Text(index);
                if (KindOf(index) != Kind::kText) AppendField(out, NoteWord(index), std::string(NoteId(index)));
                AppendField(out, "Text", text.text);
                if (const char* stop = EReaderStopText(text.stop)) {
                    out += "The text stops here: ";
                    out += stop;
                    out += ".\n";
                }
                return;
            }
            case Kind::kMetadata:
                AppendField(out, "Title", m_metadata.title);
                AppendField(out, "Author", m_metadata.author);
                AppendField(out, "Copyright", m_metadata.copyright);
                AppendField(out, "Publisher", m_metadata.publisher);
                AppendField(out, "ISBN", m_metadata.isbn);
                AppendCutLine(m_model, m_metadata.cut, out);
                return;
            case Kind::kFootnoteIds:
            case Kind::kSidebarIds: AppendField(out, NoteWord(index) + " ids", Ids(index)); return;
            case Kind::kChapter:
            case Kind::kLink: {
                const EReaderIndexEntry entry = DecodeEReaderIndexEntry(m_model.Data(index));
                if (entry.cut.Whole(EReaderIndexPart::kOffset)) AppendField(out, "Offset", Number(entry.offset));
                if (entry.cut.Begun(EReaderIndexPart::kName))
                    AppendField(out, KindOf(index) == Kind::kChapter ? "Chapter" : "Link anchor", entry.name);
                AppendCutLine(m_model, entry.cut, out);
                return;
            }
            case Kind::kImage: {
                const EReaderImage image = DecodeEReaderImage(m_model.Data(index));
                AppendField(out, "Image", "PNG");
                if (image.cut.Begun(EReaderImagePart::kName)) AppendField(out, "Name", image.name);
                if (image.cut.Whole(EReaderImagePart::kSize)) {
                    AppendField(out, "Width", Number(image.width));
                    AppendField(out, "Height", Number(image.height));
                }
                AppendField(out, "Size", Number(image.png.size) + " bytes");
                AppendCutLine(m_model, image.cut, out);
                return;
            }
            case Kind::kNone: return;
        }
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        switch (KindOf(index)) {
            case Kind::kHeader: HeaderJson(json); return;
            case Kind::kText:
            case Kind::kFootnote:
            case Kind::kSidebar: {
                const EReaderText text = Text(index);
                if (KindOf(index) != Kind::kText) TextMember(json, "id", NoteId(index));
                TextMember(json, "text", text.text);
                if (const char* stop = EReaderStopText(text.stop)) TextMember(json, "stop", stop);
                return;
            }
            case Kind::kMetadata: {
                MetadataJson(json);
                json.Cut(m_metadata.cut);
                return;
            }
            case Kind::kFootnoteIds:
            case Kind::kSidebarIds: {
                json.Json().Key("ids");
                json.Json().OpenArray();
                for (std::string_view id : DecodeEReaderNoteIds(m_model.Data(index))) json.Json().String(Utf8(id));
                json.Json().CloseArray();
                return;
            }
            case Kind::kChapter:
            case Kind::kLink: {
                const EReaderIndexEntry entry = DecodeEReaderIndexEntry(m_model.Data(index));
                json.Number("offset", entry.offset);
                TextMember(json, "name", entry.name);
                json.Cut(entry.cut);
                return;
            }
            case Kind::kImage: {
                const EReaderImage image = DecodeEReaderImage(m_model.Data(index));
                TextMember(json, "image", "png");
                TextMember(json, "name", image.name);
                json.Number("width", image.width);
                json.Number("height", image.height);
                json.Number("size", image.png.size);
                json.Cut(image.cut);
                return;
            }
            case Kind::kNone: return;
        }
    }

    EntryPicture Picture(size_t index) const override {
        if (KindOf(index) != Kind::kImage) return {};
        const EReaderImage image = DecodeEReaderImage(m_model.Data(index));
        if (image.png.size == 0) return {};
        return {EntryPicture::Kind::kImageFile, image.png};
    }

    // A chosen text record's text with its markup read, in cp1252 as the
    // writer expects a device's text (a character cp1252 lacks becomes '?').
    // The whole book's text is the document's (OpenDocument).
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (KindOf(index) != Kind::kText) return;
        feed.Document(Utf8ToCp1252(EReaderRecordPlainText(m_model, m_header, index)));
        if (const char* stop = EReaderStopText(Text(index).stop))
            feed.Warn("record " + std::to_string(index) + ": its text stops, " + stop);
    }

    std::unique_ptr<DocumentReader> OpenDocument(const TextOptions&) const override {
        return OpenEReaderDocument(m_model, m_header);
    }

private:
    Kind KindOf(size_t index) const {
        if (index == 0) return Kind::kHeader;
        const EReaderCompression compression = m_header.Compression();
        const bool readable =
            compression != EReaderCompression::kProtected && compression != EReaderCompression::kUnknown;
        if (m_header.IsTextRecord(index)) return readable ? Kind::kText : Kind::kNone;
        if (m_hasMetadata && index == m_header.metadataRecord) return Kind::kMetadata;
        if (m_header.footnotes.Holds(index)) {
            if (index == m_header.footnotes.first) return Kind::kFootnoteIds;
            return readable ? Kind::kFootnote : Kind::kNone;
        }
        if (m_header.sidebars.Holds(index)) {
            if (index == m_header.sidebars.first) return Kind::kSidebarIds;
            return readable ? Kind::kSidebar : Kind::kNone;
        }
        if (m_header.chapters.Holds(index)) return Kind::kChapter;
        if (m_header.links.Holds(index)) return Kind::kLink;
        if (IsEReaderImage(m_model.Data(index))) return Kind::kImage;
        return Kind::kNone;
    }

    EReaderText Text(size_t index, uint64_t limit = kEReaderRecordBound) const {
        return DecodeEReaderText(m_model.Data(index), m_header.Compression(), limit);
    }

    std::string NoteWord(size_t index) const {
        const Kind kind = KindOf(index);
        return kind == Kind::kFootnote || kind == Kind::kFootnoteIds ? "Footnote" : "Sidebar";
    }

    // A note's id: the first record of its run names the notes in order.
    std::string_view NoteId(size_t index) const {
        const EReaderSection& section = KindOf(index) == Kind::kFootnote ? m_header.footnotes : m_header.sidebars;
        if (section.first >= m_model.Count()) return {};
        const std::vector<std::string_view> ids = DecodeEReaderNoteIds(m_model.Data(section.first));
        const size_t position = index - section.first - 1;
        return position < ids.size() ? ids[position] : std::string_view{};
    }

    std::string Ids(size_t index) const {
        std::string joined;
        for (std::string_view id : DecodeEReaderNoteIds(m_model.Data(index))) {
            if (!joined.empty()) joined += ", ";
            joined.append(id.data(), id.size());
        }
        return joined;
    }

    static std::string Joined(const EReaderMetadata& metadata) {
        std::string joined(metadata.title);
        if (!metadata.author.empty()) joined += " by " + std::string(metadata.author);
        return joined;
    }

    std::string Summary() const {
        std::string summary = "eReader";
        if (m_hasMetadata && !m_metadata.title.empty()) summary += ": " + Joined(m_metadata);
        const char* compression = CompressionName(m_header);
        summary += "; ";
        summary += compression != nullptr ? compression : "compression " + Number(m_header.compression);
        summary += ", " + Number(m_header.nonTextStart > 1 ? m_header.nonTextStart - 1u : 0u) + " text records";
        return summary;
    }

    void HeaderFields(std::string& out) const {
        const EReaderHeader& header = m_header;
        const RecordCut& read = header.cut;
        AppendField(out, "Format",
                    header.older ? "eReader, older header of " + Number(m_model.Data(0).size) + " bytes"
                                 : std::string("eReader"));
        if (m_hasMetadata) {
            AppendField(out, "Title", m_metadata.title);
            AppendField(out, "Author", m_metadata.author);
        }
        if (read.Whole(EReaderHeaderPart::kCompression)) {
            if (header.older) AppendField(out, "Version", Number(header.compression));
            const char* name = CompressionName(header);
            std::string value = name != nullptr ? name : "unknown (" + Number(header.compression) + ")";
            if (header.Compression() == EReaderCompression::kProtected)
                value += " (" + Number(header.compression) + "): the text is not shown";
            AppendField(out, "Compression", value);
        }
        if (header.older || read.Whole(EReaderHeaderPart::kEncoding))
            AppendField(out, "Encoding",
                        header.older || header.encoding == 25152
                            ? std::string("cp1252")
                            : "cp1252 (the header says " + Number(header.encoding) + ")");
        if (read.Whole(EReaderHeaderPart::kNonText)) {
            const size_t count = header.nonTextStart > 1 ? header.nonTextStart - 1u : 0u;
            AppendField(out, "Text records", count > 0 ? Number(count) + ", records 1 to " + Number(count) : "none");
            if (count > 0 && Decodes(1)) AppendField(out, "Text length", Number(TextLength()) + " bytes of PML");
        }
        if (!header.older && read.Whole(EReaderHeaderPart::kCounts) && read.Whole(EReaderHeaderPart::kFirstRecords)) {
            SectionFields(out, "Chapters", header.chapters);
            SectionFields(out, "Images", header.images);
            SectionFields(out, "Links", header.links);
            SectionFields(out, "Footnotes", header.footnotes);
            SectionFields(out, "Sidebars", header.sidebars);
            AppendField(out, "Metadata", header.hasMetadata ? "record " + Number(header.metadataRecord) : "none");
        }
        AppendCutLine(m_model, header.cut, out);
    }

    // The decoded size of the whole text, each record within its bound.
    uint64_t TextLength() const {
        uint64_t length = 0;
        const size_t end = m_header.nonTextStart < m_model.Count() ? m_header.nonTextStart : m_model.Count();
        for (size_t index = 1; index < end; ++index)
            if (m_model.Entry(index).hasData) length += Text(index).text.size();
        return length;
    }

    void MetadataJson(JsonFields& json) const {
        TextMember(json, "title", m_metadata.title);
        TextMember(json, "author", m_metadata.author);
        TextMember(json, "copyright", m_metadata.copyright);
        TextMember(json, "publisher", m_metadata.publisher);
        TextMember(json, "isbn", m_metadata.isbn);
    }

    void HeaderJson(JsonFields& json) const {
        const EReaderHeader& header = m_header;
        TextMember(json, "format", "eReader");
        json.Bool("olderHeader", header.older);
        json.Number(header.older ? "version" : "compression", header.compression);
        const char* name = CompressionName(header);
        if (name != nullptr) {
            TextMember(json, "compressionName", name);
        } else {
            json.Null("compressionName");
        }
        json.Bool("protected", header.Compression() == EReaderCompression::kProtected);
        TextMember(json, "encoding", "cp1252");
        json.Number("firstNonTextRecord", header.nonTextStart);
        if (!header.older) {
            const struct {
                const char* count;
                const char* first;
                const EReaderSection& section;
            } sections[] = {
                {"chapterCount", "firstChapterRecord", header.chapters},
                {"imageCount", "firstImageRecord", header.images},
                {"linkCount", "firstLinkRecord", header.links},
                {"footnoteCount", "firstFootnoteRecord", header.footnotes},
                {"sidebarCount", "firstSidebarRecord", header.sidebars},
            };
            for (const auto& section : sections) {
                json.Number(section.count, section.section.count);
                json.Number(section.first, section.section.first);
            }
        }
        if (m_hasMetadata) {
            json.Number("metadataRecord", header.metadataRecord);
            MetadataJson(json);
        } else {
            json.Null("metadataRecord");
        }
        json.Cut(header.cut);
    }

    const DatabaseModel& m_model;
    EReaderHeader m_header;
    bool m_hasMetadata = false;
    EReaderMetadata m_metadata;
};

bool IsEReader(const DatabaseModel& model) {
    return IsRecordDatabase(model, "PNRd", "PPrs") || IsRecordDatabase(model, "PNPd", "PPrs");
}

std::unique_ptr<FormatReader> OpenEReader(const DatabaseModel& model) { return std::make_unique<EReaderReader>(model); }

}  // namespace

extern const Format kEReaderFormat = {"ereader", "eReader", ExportBit(ExportType::kText), IsEReader, OpenEReader, true};

}  // namespace corvelle
