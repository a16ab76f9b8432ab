// PalmDOC documents (TEXt, any creator): record 0 is the header, records 1 to
// its text record count hold the text, compressed or not; records after them
// (bookmarks and the like) are shown as bytes.
#include "dump/TextAppend.h"
#include "dump/records/PalmDocRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/DocumentText.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

void AppendSummary(std::string& out, const PalmDocHeader& header) {
    out += "PalmDOC: ";
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
}

// Text record by text record, in file order: each is decompressed on its
// own, and the code page is the user's, as PalmDOC names none.
class PalmDocDocument final : public DocumentReader {
public:
    PalmDocDocument(const DatabaseModel& model, const PalmDocHeader& header, TextDecoder& decoder)
        : m_model(model), m_header(header), m_text(decoder) {}

    bool Next(DocumentSink& sink) override {
        const size_t last = m_header.textRecords < m_model.Count() ? m_header.textRecords : m_model.Count() - 1;
        if (m_model.Count() == 0 || m_next > last) {
            if (m_done) return false;
            m_done = true;
            const std::string rest = m_text.Finish();
            if (!rest.empty()) sink.Text(rest);
            return false;
        }
        const size_t index = m_next++;
        if (!m_model.Entry(index).hasData) {
            sink.Note("record " + std::to_string(index) + " lies outside the file: its text is missing");
            return true;
        }
        const PalmDocText part = DecodePalmDocText(m_model.Data(index), m_header.compression);
        const std::string ready = m_text.Add(part.text);
        if (!ready.empty()) sink.Text(ready);
        if (part.badReference)
            sink.Note("record " + std::to_string(index) + ": its text stops at byte " + std::to_string(part.stoppedAt) +
                      ", at a reference before the start of the text");
        else if (part.cut.cut)
            sink.Note("record " + std::to_string(index) + ": its text stops where the record ends inside " +
                      part.cut.inside);
        return true;
    }

private:
    const DatabaseModel& m_model;
    const PalmDocHeader m_header;
    DeviceText m_text;
    size_t m_next = 1;
    bool m_done = false;
};

class PalmDocReader final : public FormatReader {
public:
    // The header is read once: every text record needs its compression.
    explicit PalmDocReader(const DatabaseModel& model) : m_model(model) {
        if (model.Count() > 0 && model.Entry(0).hasData) m_header = DecodePalmDocHeader(model.Data(0));
    }

    bool Decodes(size_t index) const override { return index <= m_header.textRecords; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        if (index == 0) {
            std::string summary;
            AppendSummary(summary, m_header);
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
        return std::make_unique<PalmDocDocument>(m_model, m_header, *options.fallbackDecoder);
    }

private:
    PalmDocText Text(size_t index, uint64_t limit = UINT64_MAX) const {
        return DecodePalmDocText(m_model.Data(index), m_header.compression, limit);
    }

    void AppendHeaderFields(std::string& out) const {
        const PalmDocHeader& header = m_header;
        const RecordCut& read = header.cut;
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
};

bool IsPalmDoc(const DatabaseModel& model) { return IsRecordDatabase(model, "TEXt", nullptr); }

std::unique_ptr<FormatReader> OpenPalmDoc(const DatabaseModel& model) { return std::make_unique<PalmDocReader>(model); }

}  // namespace

extern const Format kPalmDocFormat = {"palmdoc", "PalmDOC", ExportBit(ExportType::kText), IsPalmDoc, OpenPalmDoc,
                                     true};

}  // namespace corvelle
