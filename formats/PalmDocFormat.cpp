// PalmDOC documents (TEXt, any creator): record 0 is the header, records 1 to
// its text record count hold the text, compressed or not; records after them
// (bookmarks and the like) are shown as bytes.
//
// Mobipocket's first books are such documents whose text is an HTML document
// (no MOBI header in record 0): the start of the text tells them apart, and
// their text is then read as HTML, as a Mobipocket book's is.
#include "dump/TextAppend.h"
#include "dump/records/ImageFile.h"
#include "dump/records/PalmDocRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/DocumentText.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/HtmlHead.h"
#include "formats/HtmlText.h"

namespace corvelle {
namespace {

// How much of the first text record is read to tell an HTML document and to
// find its metadata: a whole record, as PalmDOC writers make them.
constexpr uint64_t kHeadBytes = 8192;

// The metadata's creators, as one text: "Jane Doe; John Roe".
std::string Creators(const DublinCore& metadata) {
    std::string creators;
    for (const std::string& creator : metadata.creators) {
        if (!creators.empty()) creators += "; ";
        creators += creator;
    }
    return creators;
}

void AppendSummary(std::string& out, const PalmDocHeader& header, const DublinCore* html) {
    out += html != nullptr ? "PalmDOC (HTML): " : "PalmDOC: ";
    AppendDecimal(out, header.textLength);
    out += " bytes in ";
    AppendDecimal(out, header.textRecords);
    out += " records, ";
    if (header.compression == kPalmDocCompressed) {
        out += "compressed";
    } else if (header.compression == kPalmDocUncompressed) {
        out += "uncompressed";
    } else {
        out += "compression ";
        AppendDecimal(out, header.compression);
    }
    if (html == nullptr || html->title.empty()) return;
    out += ": " + html->title;
    if (!html->creators.empty()) out += " by " + Creators(*html);
}

// Text record by text record, in file order: each is decompressed on its
// own, and the code page is the user's, as PalmDOC names none. An HTML
// document's text goes through the HTML reader before the sink.
class PalmDocDocument final : public DocumentReader {
public:
    PalmDocDocument(const DatabaseModel& model, const PalmDocHeader& header, TextDecoder& decoder,
                    std::unique_ptr<HtmlText> html)
        : m_model(model), m_header(header), m_text(decoder), m_html(std::move(html)) {}

    bool Next(DocumentSink& sink) override {
        const size_t last = m_header.textRecords < m_model.Count() ? m_header.textRecords : m_model.Count() - 1;
        if (m_model.Count() == 0 || m_next > last) {
            if (m_done) return false;
            m_done = true;
            Give(m_text.Finish(), sink);
            if (m_html) m_html->Finish(sink);
            return false;
        }
        const size_t index = m_next++;
        if (!m_model.Entry(index).hasData) {
            sink.Note("record " + std::to_string(index) + " lies outside the file: its text is missing");
            return true;
        }
        const PalmDocText part = DecodePalmDocText(m_model.Data(index), m_header.compression);
        Give(m_text.Add(part.text), sink);
        if (part.badReference)
            sink.Note("record " + std::to_string(index) + ": its text stops at byte " + std::to_string(part.stoppedAt) +
                      ", at a reference before the start of the text");
        else if (part.cut.cut)
            sink.Note("record " + std::to_string(index) + ": its text stops where the record ends inside " +
                      part.cut.inside);
        return true;
    }

private:
    void Give(const std::string& utf8, DocumentSink& sink) {
        if (m_html)
            m_html->Add(utf8, sink);
        else if (!utf8.empty())
            sink.Text(utf8);
    }

    const DatabaseModel& m_model;
    const PalmDocHeader m_header;
    DeviceText m_text;
    std::unique_ptr<HtmlText> m_html;
    size_t m_next = 1;
    bool m_done = false;
};

class PalmDocReader final : public FormatReader {
public:
    // The header is read once: every text record needs its compression.
    // An HTML document is told by its first text record's start.
    explicit PalmDocReader(const DatabaseModel& model) : m_model(model) {
        if (model.Count() > 0 && model.Entry(0).hasData) m_header = DecodePalmDocHeader(model.Data(0));
        if (m_header.textRecords == 0 || model.Count() < 2) return;
        const PalmDocText start = Text(1, kHeadBytes);
        m_html = StartsAsHtmlDocument(start.text);
        if (!m_html) return;
        m_metadata = ReadDublinCore(start.text);
        m_firstImage = m_header.textRecords + size_t{1};
        while (m_firstImage < model.Count() && IdentifyImageFile(model.Data(m_firstImage)).kind == ImageFileKind::kNone)
            ++m_firstImage;
    }

    bool Decodes(size_t index) const override { return index <= m_header.textRecords; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        if (index == 0) {
            std::string summary;
            AppendSummary(summary, m_header, m_html ? &m_metadata : nullptr);
            cell.Add(summary);
            return;
        }
        cell.Add(Text(index, ContentsCell::kLimit).text);
    }

    void AppendFields(size_t index, std::string& out) const override {
        if (index == 0) {
            AppendHeaderFields(out);
            return;
        }
        const PalmDocText text = Text(index);
        AppendField(out, "Text", text.text);
        AppendCutLine(m_model, text.cut, out);
        if (text.badReference) {
            out += "The text stops at byte ";
            AppendDecimal(out, text.stoppedAt);
            out += " of the record: a back-reference there reaches before the start of the text.\n";
        }
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        if (index == 0) {
            if (m_html) {
                json.Text("format", "PalmDOC (HTML)");
                // The references that ASCII has no room for are read once the text is UTF-8.
                const auto text = [&json](const char* key, const std::string& value) {
                    if (value.empty()) return;
                    json.Json().Key(key);
                    json.Json().String(ReadReferences(json.Utf8(value), 0x110000));
                };
                text("title", m_metadata.title);
                text("author", Creators(m_metadata));
            }
            json.Number("compression", m_header.compression);
            json.Number("textLength", m_header.textLength);
            json.Number("textRecords", m_header.textRecords);
            json.Number("recordSize", m_header.recordSize);
            json.Number("position", m_header.position);
            json.Cut(m_header.cut);
            return;
        }
        const PalmDocText text = Text(index);
        json.Text("text", text.text);
        if (text.badReference) json.Number("badReferenceAt", text.stoppedAt);
        json.Cut(text.cut);
    }

    // The text records in the order asked, joined before conversion: a
    // two-byte character of Shift_JIS or Big5 may straddle two records.
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (index == 0) return;
        const PalmDocText part = Text(index);
        if (m_html)
            feed.HtmlDocument(part.text);
        else
            feed.Document(part.text);
        const std::string record = "record " + std::to_string(index);
        if (part.badReference)
            feed.Warn(record + ": its text stops at byte " + std::to_string(part.stoppedAt) +
                      ", at a reference before the start of the text");
        else if (part.cut.cut)
            feed.Warn(record + ": its text stops at byte " + std::to_string(part.cut.at) + ", where the record ends inside " +
                      part.cut.inside);
    }

    std::unique_ptr<DocumentReader> OpenDocument(const TextOptions& options) const override {
        if (options.fallbackDecoder == nullptr) return nullptr;
        std::unique_ptr<HtmlText> html;
        if (m_html) html = std::make_unique<HtmlText>([this](uint32_t number) { return ImageFile(number); });
        return std::make_unique<PalmDocDocument>(m_model, m_header, *options.fallbackDecoder, std::move(html));
    }

private:
    PalmDocText Text(size_t index, uint64_t limit = UINT64_MAX) const {
        return DecodePalmDocText(m_model.Data(index), m_header.compression, limit);
    }

    // An <img recindex="N">: N counts the records after the text from the
    // first that holds an image file, as a Mobipocket book counts from its
    // first image record (these books' header names none).
    ByteSpan ImageFile(uint32_t number) const {
        const uint64_t index = uint64_t{m_firstImage} + number - 1;
        if (number == 0 || index >= m_model.Count()) return {};
        const ByteSpan data = m_model.Data(static_cast<size_t>(index));
        return IdentifyImageFile(data).kind != ImageFileKind::kNone ? data : ByteSpan{};
    }

    void AppendHeaderFields(std::string& out) const {
        const PalmDocHeader& header = m_header;
        const RecordCut& read = header.cut;
        if (m_html) {
            AppendField(out, "Format", "PalmDOC (HTML)");
            if (!m_metadata.title.empty()) AppendField(out, "Title", m_metadata.title);
            for (const std::string& creator : m_metadata.creators) AppendField(out, "Author", creator);
        }
        const char* compression = header.compression == kPalmDocUncompressed ? "none"
                                  : header.compression == kPalmDocCompressed ? "PalmDOC"
                                                                              : nullptr;
        if (read.Whole(PalmDocHeaderPart::kCompression))
            AppendField(out, "Compression", compression != nullptr ? compression : Number(header.compression));
        if (read.Whole(PalmDocHeaderPart::kTextLength)) AppendField(out, "Text length", Number(header.textLength));
        if (read.Whole(PalmDocHeaderPart::kTextRecords)) AppendField(out, "Text records", Number(header.textRecords));
        if (read.Whole(PalmDocHeaderPart::kRecordSize)) AppendField(out, "Record size", Number(header.recordSize));
        if (read.Whole(PalmDocHeaderPart::kPosition)) AppendField(out, "Position", Number(header.position));
        AppendCutLine(m_model, header.cut, out);
    }

    const DatabaseModel& m_model;
    PalmDocHeader m_header;
    bool m_html = false;
    DublinCore m_metadata;
    size_t m_firstImage = 0;  // of an HTML document: the first record after the text that holds an image file
};

bool IsPalmDoc(const DatabaseModel& model) { return IsRecordDatabase(model, "TEXt", nullptr); }

std::unique_ptr<FormatReader> OpenPalmDoc(const DatabaseModel& model) { return std::make_unique<PalmDocReader>(model); }

}  // namespace

extern const Format kPalmDocFormat = {"palmdoc", "PalmDOC", ExportBit(ExportType::kText), IsPalmDoc, OpenPalmDoc,
                                     true};

}  // namespace corvelle
