// TealDoc documents (TEXt/TlDc): PalmDOC documents whose text may hold
// TealDoc's tags and whose records after the text are bookmarks. The header
// and the text records show as PalmDOC's do; the document and the text
// export read the tags.
#include "dump/TextAppend.h"
#include "dump/records/PalmDocRecord.h"
#include "dump/records/TealDocRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/TealDocTags.h"

namespace corvelle {

extern const Format kPalmDocFormat;

namespace {

std::string RecordName(size_t index) { return "record " + std::to_string(index); }

// Text record by text record, each decompressed on its own; the tags are
// read across records, the code page is the user's.
class TealDocDocument final : public DocumentReader {
public:
    TealDocDocument(const DatabaseModel& model, const PalmDocHeader& header, TextDecoder& decoder)
        : m_model(model), m_header(header), m_out(decoder) {}

    bool Next(DocumentSink& sink) override {
        m_out.SetSink(sink);
        const size_t end = m_header.textRecords < m_model.Count() ? size_t{m_header.textRecords} + 1 : m_model.Count();
        if (m_next >= end) {
            if (m_done) return false;
            m_done = true;
            m_tags.Finish(m_out);
            m_out.Flush();
            return false;
        }
        const size_t index = m_next++;
        if (!m_model.Entry(index).hasData) {
            sink.Note(RecordName(index) + " lies outside the file: its text is missing");
            return true;
        }
        const PalmDocText part = DecodePalmDocText(m_model.Data(index), m_header.compression);
        m_tags.Add(part.text, m_out);
        if (part.badReference)
            sink.Note(RecordName(index) + ": its text stops at byte " + std::to_string(part.stoppedAt) +
                      ", at a reference before the start of the text");
        else if (part.cut.cut)
            sink.Note(RecordName(index) + ": its text stops where the record ends inside " + part.cut.inside);
        return true;
    }

private:
    const DatabaseModel& m_model;
    const PalmDocHeader m_header;
    TealDocTags m_tags;
    TealDocToSink m_out;
    size_t m_next = 1;
    bool m_done = false;
};

void AppendSummary(std::string& out, const PalmDocHeader& header) {
    out += "TealDoc: ";
    AppendDecimal(out, header.textLength);
    out += " bytes in ";
    AppendDecimal(out, header.textRecords);
    out += " records, ";
    out += header.compression == kPalmDocCompressed     ? "compressed"
           : header.compression == kPalmDocUncompressed ? "uncompressed"
                                                        : "compression " + Number(header.compression);
}

class TealDocReader final : public FormatReader {
public:
    // The header and the text records are PalmDOC's, read by its reader.
    explicit TealDocReader(const DatabaseModel& model) : m_model(model), m_palmDoc(kPalmDocFormat.open(model)) {
        if (model.Count() > 0 && model.Entry(0).hasData) m_header = DecodePalmDocHeader(model.Data(0));
    }

    bool Decodes(size_t) const override { return true; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        if (index == 0) {
            std::string summary;
            AppendSummary(summary, m_header);
            cell.Add(summary);
        } else if (IsBookmark(index)) {
            const TealDocBookmark bookmark = DecodeTealDocBookmark(m_model.Data(index));
            cell.Add("Bookmark ");
            cell.Add(bookmark.name);
            if (bookmark.cut.Whole(TealDocBookmarkPart::kOffset)) cell.Add(" at " + Number(bookmark.offset));
        } else {
            m_palmDoc->AppendContents(index, cell);
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        if (index == 0) {
            AppendField(out, "Format", "TealDoc");
            AppendField(out, "Title", m_model.Header().name);
            AppendField(out, "Encoding", "none named: the user's code page");
        }
        if (!IsBookmark(index)) {
            m_palmDoc->AppendFields(index, out);
            return;
        }
        const TealDocBookmark bookmark = DecodeTealDocBookmark(m_model.Data(index));
        AppendField(out, "Bookmark", bookmark.name);
        if (bookmark.cut.Whole(TealDocBookmarkPart::kOffset)) AppendField(out, "Offset", Number(bookmark.offset));
        AppendCutLine(m_model, bookmark.cut, out);
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        if (index == 0) {
            json.Text("format", "TealDoc");
            json.Text("title", m_model.Header().name);
        }
        if (!IsBookmark(index)) {
            m_palmDoc->WriteJsonFields(index, json);
            return;
        }
        const TealDocBookmark bookmark = DecodeTealDocBookmark(m_model.Data(index));
        json.Text("bookmark", bookmark.name);
        if (bookmark.cut.Whole(TealDocBookmarkPart::kOffset)) {
            json.Number("offset", bookmark.offset);
        } else {
            json.Null("offset");
        }
        json.Cut(bookmark.cut);
    }

    // A chosen text record's text with its tags read on their own (a tag
    // that two records share stays text); the whole book's text is the
    // document's (OpenDocument).
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (index == 0 || IsBookmark(index)) return;
        const PalmDocText part = DecodePalmDocText(m_model.Data(index), m_header.compression);
        TealDocTags tags;
        TealDocBytes bytes;
        tags.Add(part.text, bytes);
        tags.Finish(bytes);
        feed.Document(bytes.out);
    }

    std::unique_ptr<DocumentReader> OpenDocument(const TextOptions& options) const override {
        if (options.fallbackDecoder == nullptr) return nullptr;
        return std::make_unique<TealDocDocument>(m_model, m_header, *options.fallbackDecoder);
    }

private:
    // Every record after the text is a bookmark, never text.
    bool IsBookmark(size_t index) const { return index > m_header.textRecords; }

    const DatabaseModel& m_model;
    std::unique_ptr<FormatReader> m_palmDoc;
    PalmDocHeader m_header;
};

bool IsTealDoc(const DatabaseModel& model) { return IsRecordDatabase(model, "TEXt", "TlDc"); }

std::unique_ptr<FormatReader> OpenTealDoc(const DatabaseModel& model) { return std::make_unique<TealDocReader>(model); }

}  // namespace

extern const Format kTealDocFormat = {"tealdoc", "TealDoc", ExportBit(ExportType::kText), IsTealDoc, OpenTealDoc, true};

}  // namespace corvelle
