// zTXT books (zTXT/GPlm): record 0 says what the book is, the data records
// hold its text as one zlib stream (formats/ZtxtBook.h), and the bookmark
// record, the annotation index and the annotations' own records show on the
// Records page, never in the text. zTXT names no code page: the text is the
// user's (Encoding=, --encoding).
#include <cstdio>
#include <optional>

#include "dump/TextAppend.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/DocumentText.h"
#include "formats/FieldLines.h"
#include "formats/Format.h"
#include "formats/ZtxtBook.h"

namespace corvelle {
namespace {

enum class Kind { kNone, kHeader, kData, kBookmarks, kAnnotationIndex, kAnnotation };

std::string VersionText(uint16_t version) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", static_cast<unsigned>(version >> 8), version & 0xFFu);
    return text;
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*Xh", digits, static_cast<unsigned>(value));
    return text;
}

// An annotation's text: up to its zero byte.
std::string_view AnnotationText(const ByteSpan& record) {
    const std::string_view bytes = record.Chars();
    return bytes.substr(0, bytes.find('\0'));
}

// The whole book in order through one stream; a stop that leaves the rest
// of the stream unreadable ends it with one note.
class ZtxtDocument final : public DocumentReader {
public:
    ZtxtDocument(const DatabaseModel& model, const ZtxtHeader& header, TextDecoder& decoder)
        : m_header(header), m_stream(model, header), m_text(decoder) {}

    bool Next(DocumentSink& sink) override {
        if (m_done) return false;
        if (!m_header.cut.Whole(ZtxtHeaderPart::kRecordSize)) {
            sink.Note("record 0, the book's header, is missing or cut short: the text cannot be read");
            m_done = true;
            return false;
        }
        if (m_stream.AtEnd()) return Finish(sink);
        const ZtxtPiece piece = m_stream.Next();
        const std::string ready = m_text.Add(piece.text);
        if (!ready.empty()) sink.Text(ready);
        if (piece.stop == ZtxtStop::kNone) return true;
        m_stopped = true;
        const bool rest = piece.stop == ZtxtStop::kFirstBroken || piece.stop == ZtxtStop::kStreamLost ||
                          piece.stop == ZtxtStop::kOverBook;
        sink.Note("record " + std::to_string(piece.index) + ": " + ZtxtStopText(piece.stop) +
                  (rest ? "; the rest of the book is not read" : ""));
        if (rest) return Finish(sink);
        return true;
    }

private:
    bool Finish(DocumentSink& sink) {
        m_done = true;
        const std::string last = m_text.Finish();
        if (!last.empty()) sink.Text(last);
        if (!m_stopped && m_stream.Produced() < m_header.textLength)
            sink.Note("the text ends after " + std::to_string(m_stream.Produced()) + " of the " +
                      std::to_string(m_header.textLength) + " bytes its header announces");
        return false;
    }

    const ZtxtHeader m_header;
    ZtxtStream m_stream;
    DeviceText m_text;
    bool m_stopped = false;
    bool m_done = false;
};

class ZtxtReader final : public FormatReader {
public:
    explicit ZtxtReader(const DatabaseModel& model)
        : m_model(model), m_header(ReadHeader(model)), m_stream(model, m_header) {}

    bool Decodes(size_t index) const override { return KindOf(index) != Kind::kNone; }

    void AppendContents(size_t index, ContentsCell& cell) const override {
        switch (KindOf(index)) {
            case Kind::kHeader: cell.Add(Summary()); break;
            case Kind::kData: cell.Add(RecordText(index, ContentsCell::kLimit).text); break;
            case Kind::kBookmarks: cell.Add(MarksLine(index, m_header.bookmarkCount, "bookmark")); break;
            case Kind::kAnnotationIndex: cell.Add(MarksLine(index, m_header.annotationCount, "annotation")); break;
            case Kind::kAnnotation: cell.Add(AnnotationText(m_model.Data(index))); break;
            case Kind::kNone: break;
        }
    }

    void AppendFields(size_t index, std::string& out) const override {
        switch (KindOf(index)) {
            case Kind::kHeader: AppendHeaderFields(out); break;
            case Kind::kData: {
                const ZtxtPiece piece = RecordText(index);
                AppendField(out, "Text", piece.text);
                if (piece.stop != ZtxtStop::kNone)
                    out += std::string("The text stops: ") + ZtxtStopText(piece.stop) + ".\n";
                break;
            }
            case Kind::kBookmarks: AppendMarkFields(index, m_header.bookmarkCount, "Bookmark", out); break;
            case Kind::kAnnotationIndex: AppendMarkFields(index, m_header.annotationCount, "Annotation", out); break;
            case Kind::kAnnotation: {
                const std::optional<ZtxtMark> mark = AnnotationMark(index);
                if (mark) {
                    AppendField(out, "Title", mark->title);
                    AppendField(out, "Offset", Number(mark->offset));
                }
                AppendField(out, "Text", AnnotationText(m_model.Data(index)));
                break;
            }
            case Kind::kNone: break;
        }
    }

    void WriteJsonFields(size_t index, JsonFields& json) const override {
        switch (KindOf(index)) {
            case Kind::kHeader: WriteHeaderJson(json); break;
            case Kind::kData: {
                const ZtxtPiece piece = RecordText(index);
                json.Text("text", piece.text);
                if (piece.stop != ZtxtStop::kNone) {
                    json.Json().Key("stopped");
                    json.Json().String(ZtxtStopText(piece.stop));
                }
                break;
            }
            case Kind::kBookmarks: WriteMarksJson(index, m_header.bookmarkCount, "bookmarks", json); break;
            case Kind::kAnnotationIndex: WriteMarksJson(index, m_header.annotationCount, "annotations", json); break;
            case Kind::kAnnotation: {
                const std::optional<ZtxtMark> mark = AnnotationMark(index);
                if (mark) {
                    json.Text("title", mark->title);
                    json.Number("offset", mark->offset);
                }
                json.Text("text", AnnotationText(m_model.Data(index)));
                break;
            }
            case Kind::kNone: break;
        }
    }

    // A selection of data records, each inflated as the Records page shows it.
    void Feed(size_t index, ExportType, ExportFeed& feed) const override {
        if (KindOf(index) != Kind::kData) return;
        const ZtxtPiece piece = RecordText(index);
        feed.Document(piece.text);
        if (piece.stop != ZtxtStop::kNone)
            feed.Warn("record " + std::to_string(index) + ": " + ZtxtStopText(piece.stop));
    }

    std::unique_ptr<DocumentReader> OpenDocument(const TextOptions& options) const override {
        if (options.fallbackDecoder == nullptr) return nullptr;
        return std::make_unique<ZtxtDocument>(m_model, m_header, *options.fallbackDecoder);
    }

private:
    static ZtxtHeader ReadHeader(const DatabaseModel& model) {
        if (model.Count() > 0 && model.Entry(0).hasData) return DecodeZtxtHeader(model.Data(0));
        ZtxtHeader none;
        none.cut.Mark(0, ZtxtHeaderPart::kVersion, "the version");
        return none;
    }

    Kind KindOf(size_t index) const {
        if (index == 0) return Kind::kHeader;
        if (index <= m_header.dataRecords) return Kind::kData;
        if (m_header.bookmarkCount > 0 && index == m_header.bookmarkRecord) return Kind::kBookmarks;
        const size_t annotations = m_header.annotationRecord;
        if (m_header.annotationCount == 0 || annotations == 0) return Kind::kNone;
        if (index == annotations) return Kind::kAnnotationIndex;
        if (index > annotations && index - annotations <= m_header.annotationCount) return Kind::kAnnotation;
        return Kind::kNone;
    }

    // A data record's text, through the one stream kept between calls: the
    // list asks for its rows in order, and a one-stream book's record N
    // needs all those before it.
    ZtxtPiece RecordText(size_t index, uint64_t limit = UINT64_MAX) const {
        m_stream.MoveTo(index);
        return m_stream.Next(limit);
    }

    ZtxtMarks Marks(size_t index, uint16_t count) const { return DecodeZtxtMarks(m_model.Data(index), count); }

    // The annotation index's entry for an annotation's own record.
    std::optional<ZtxtMark> AnnotationMark(size_t index) const {
        if (m_header.annotationRecord >= m_model.Count() || !m_model.Entry(m_header.annotationRecord).hasData)
            return std::nullopt;
        const ZtxtMarks marks = Marks(m_header.annotationRecord, m_header.annotationCount);
        const size_t position = index - m_header.annotationRecord - 1;
        if (position >= marks.marks.size()) return std::nullopt;
        return marks.marks[position];
    }

    std::string Summary() const {
        std::string line = "zTXT " + VersionText(m_header.version) + ": ";
        AppendDecimal(line, m_header.textLength);
        line += " bytes in ";
        AppendDecimal(line, m_header.dataRecords);
        line += m_header.RandomAccess() ? " records, random access" : " records, one stream";
        if (m_header.bookmarkCount > 0) line += ", " + Number(m_header.bookmarkCount) + " bookmarks";
        if (m_header.annotationCount > 0) line += ", " + Number(m_header.annotationCount) + " annotations";
        return line;
    }

    std::string MarksLine(size_t index, uint16_t count, const char* what) const {
        const ZtxtMarks marks = Marks(index, count);
        std::string line = Number(count) + " " + what + (count == 1 ? "" : "s");
        for (size_t i = 0; i < marks.marks.size() && line.size() < ContentsCell::kLimit; ++i) {
            line += i == 0 ? ": " : "; ";
            line += marks.marks[i].title;
        }
        return line;
    }

    void AppendHeaderFields(std::string& out) const {
        const ZtxtHeader& header = m_header;
        const RecordCut& read = header.cut;
        AppendField(out, "Format", "zTXT");
        AppendField(out, "Title", m_model.Header().name);
        if (read.Whole(ZtxtHeaderPart::kVersion)) AppendField(out, "Version", VersionText(header.version));
        if (read.Whole(ZtxtHeaderPart::kFlags))
            AppendField(out, "Compression", header.RandomAccess() ? "zlib, random access" : "zlib, one stream");
        if (read.Whole(ZtxtHeaderPart::kTextLength)) AppendField(out, "Text length", Number(header.textLength));
        if (read.Whole(ZtxtHeaderPart::kDataRecords)) {
            std::string records = Number(header.dataRecords);
            const size_t held = ZtxtLastDataRecord(m_model, header);
            if (held < header.dataRecords) records += " (the file holds " + Number(held) + ")";
            AppendField(out, "Data records", records);
        }
        if (read.Whole(ZtxtHeaderPart::kRecordSize)) AppendField(out, "Record size", Number(header.recordSize));
        if (read.Whole(ZtxtHeaderPart::kBookmarkRecord))
            AppendField(out, "Bookmarks", Number(header.bookmarkCount) + " in record " + Number(header.bookmarkRecord));
        if (read.Whole(ZtxtHeaderPart::kAnnotationRecord))
            AppendField(out, "Annotations",
                        Number(header.annotationCount) + ", indexed in record " + Number(header.annotationRecord));
        if (read.Whole(ZtxtHeaderPart::kFlags)) AppendField(out, "Flags", FlagsText(header.flags));
        if (read.Whole(ZtxtHeaderPart::kCrc)) AppendField(out, "CRC-32", CrcText());
        AppendField(out, "Encoding", "none named: the code page of Encoding= or --encoding");
        AppendCutLine(m_model, header.cut, out);
    }

    static std::string FlagsText(uint8_t flags) {
        std::string text = Hex(flags, 2);
        if ((flags & kZtxtRandomAccess) != 0) text += ", random access";
        if ((flags & kZtxtNonUniform) != 0) text += ", records of differing text lengths";
        return text;
    }

    // Whether the data records' bytes are those the writer stored.
    bool DataCrc(uint32_t& crc) const {
        crc = 0;
        const size_t last = ZtxtLastDataRecord(m_model, m_header);
        if (last < m_header.dataRecords) return false;
        for (size_t index = 1; index <= last; ++index) {
            if (!m_model.Entry(index).hasData) return false;
            crc = ZtxtCrc(crc, m_model.Data(index));
        }
        return true;
    }

    std::string CrcText() const {
        std::string text = Hex(m_header.crc, 8);
        uint32_t crc = 0;
        if (!DataCrc(crc)) return text + " (not all data records are in the file)";
        if (crc == m_header.crc) return text + " (the data records match it)";
        return text + " (the data records give " + Hex(crc, 8) + ")";
    }

    void AppendMarkFields(size_t index, uint16_t count, const char* label, std::string& out) const {
        const ZtxtMarks marks = Marks(index, count);
        for (size_t i = 0; i < marks.marks.size(); ++i) {
            const ZtxtMark& mark = marks.marks[i];
            AppendField(out, std::string(label) + " " + Number(i + 1),
                        "at byte " + Number(mark.offset) + ": " + std::string(mark.title));
        }
        AppendCutLine(m_model, marks.cut, out);
    }

    void WriteHeaderJson(JsonFields& json) const {
        const ZtxtHeader& header = m_header;
        JsonOut& out = json.Json();
        out.Key("format");
        out.String("zTXT");
        json.Text("title", m_model.Header().name);
        out.Key("version");
        out.String(VersionText(header.version));
        json.Number("textLength", header.textLength);
        json.Number("dataRecords", header.dataRecords);
        json.Number("recordSize", header.recordSize);
        json.Number("bookmarkCount", header.bookmarkCount);
        json.Number("bookmarkRecord", header.bookmarkRecord);
        json.Number("annotationCount", header.annotationCount);
        json.Number("annotationRecord", header.annotationRecord);
        json.Number("flags", header.flags);
        json.Bool("randomAccess", header.RandomAccess());
        json.Number("crc32", header.crc);
        uint32_t crc = 0;
        if (DataCrc(crc)) json.Bool("crcMatches", crc == header.crc);
        json.Cut(header.cut);
    }

    void WriteMarksJson(size_t index, uint16_t count, const char* key, JsonFields& json) const {
        const ZtxtMarks marks = Marks(index, count);
        JsonOut& out = json.Json();
        out.Key(key);
        out.OpenArray();
        for (const ZtxtMark& mark : marks.marks) {
            out.OpenObject();
            json.Number("offset", mark.offset);
            json.Text("title", mark.title);
            out.CloseObject();
        }
        out.CloseArray();
        json.Cut(marks.cut);
    }

    const DatabaseModel& m_model;
    const ZtxtHeader m_header;
    mutable ZtxtStream m_stream;
};

bool IsZtxt(const DatabaseModel& model) { return IsRecordDatabase(model, "zTXT", "GPlm"); }

std::unique_ptr<FormatReader> OpenZtxt(const DatabaseModel& model) { return std::make_unique<ZtxtReader>(model); }

}  // namespace

extern const Format kZtxtFormat = {"ztxt", "zTXT", ExportBit(ExportType::kText), IsZtxt, OpenZtxt, true};

}  // namespace corvelle
