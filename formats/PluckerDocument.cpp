#include "formats/PluckerDocument.h"

#include <utility>
#include <vector>

#include "dump/records/PluckerFunctions.h"
#include "formats/DocumentPlainText.h"
#include "standards/CodePage.h"
#include "standards/Utf8.h"

namespace corvelle {
namespace {

// A table inside a table inside a table is shown; deeper ones (a table that
// holds itself) are not.
constexpr unsigned kMaxTableDepth = 3;
// The table data one record may show, its tables' tables included: a page
// of table functions whose tables are pages of table functions would
// otherwise multiply past any memory.
constexpr uint64_t kTableBudget = 1 << 20;

std::string RecordName(size_t index) { return "record " + std::to_string(index); }

// LF for CR LF and a lone CR in what `text` holds from `from` on: a sink
// takes LF alone.
void LineFeeds(std::string& text, size_t from) {
    if (text.find('\r', from) == std::string::npos) return;
    size_t out = from;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] != '\r') {
            text[out++] = text[i];
            continue;
        }
        text[out++] = '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    text.resize(out);
}

uint16_t Uid(const uint8_t* arguments) { return static_cast<uint16_t>((arguments[0] << 8) | arguments[1]); }

// The decoders of the book's character sets, each made when a record first
// needs it; a set we do not convert is read in the user's code page.
class Decoders {
public:
    explicit Decoders(TextDecoder& fallback) : m_fallback(fallback) {}

    TextDecoder& For(uint16_t mibEnum, DocumentSink& sink) {
        if (mibEnum == 0) return m_fallback;
        for (auto& made : m_made)
            if (made.first == mibEnum) return made.second ? *made.second : m_fallback;
        const CodePageInfo* page = PluckerCodePage(mibEnum);
        std::unique_ptr<TextDecoder> decoder;
        if (page != nullptr) decoder = std::make_unique<TextDecoder>(*page);
        if (decoder && !decoder->Ok()) decoder.reset();
        if (!decoder)
            sink.Note("the character set " + PluckerCharsetText(mibEnum) +
                      " is not one this build converts: its text is read in the code page of Encoding=");
        m_made.emplace_back(mibEnum, std::move(decoder));
        return For(mibEnum, sink);
    }

private:
    TextDecoder& m_fallback;
    std::vector<std::pair<uint16_t, std::unique_ptr<TextDecoder>>> m_made;
};

// What the tables of one record have taken, shared by their pages.
struct TableState {
    uint64_t budget = kTableBudget;
    bool deepNoted = false;
};

// One record's functions given to the sink: runs of one style go out
// whole, a heading once its line ends.
class PluckerPage final : public PluckerTextHandler {
public:
    PluckerPage(const PluckerBook& book, DocumentSink& sink, TextDecoder& decoder, bool& atLineStart,
                unsigned depth = 0, TableState* tables = nullptr)
        : m_book(book),
          m_sink(sink),
          m_decoder(decoder),
          m_atLineStart(atLineStart),
          m_depth(depth),
          m_tables(tables != nullptr ? tables : &m_ownTables) {}

    void Text(std::string_view bytes) override {
        std::string& to = Target();
        const size_t from = to.size();
        m_decoder.AppendUtf8(bytes, to);
        LineFeeds(to, from);
    }
    void Character(uint32_t codePoint, std::string_view) override { AppendCodePoint(codePoint, Target()); }

    void Function(uint8_t code, const uint8_t* arguments) override {
        namespace f = plucker_function;
        switch (code) {
            case f::kFont: SetFont(arguments[0]); break;
            case f::kItalic: SetStyle(text_style::kItalic, true); break;
            case f::kItalicEnd: SetStyle(text_style::kItalic, false); break;
            case f::kUnderline: SetStyle(text_style::kUnderline, true); break;
            case f::kUnderlineEnd: SetStyle(text_style::kUnderline, false); break;
            case f::kStrike: SetStyle(text_style::kStrike, true); break;
            case f::kStrikeEnd: SetStyle(text_style::kStrike, false); break;
            case f::kNewLine:
                if (m_inHeading) {
                    EmitHeading();
                } else {
                    m_run += '\n';
                }
                break;
            case f::kRule:
                Flush();
                m_sink.Rule();
                m_atLineStart = true;
                break;
            case f::kImage:
            case f::kMultipleImage:
                Flush();
                m_sink.Image({});
                m_atLineStart = false;
                break;
            case f::kTable: ShowTable(m_book.Find(Uid(arguments)), Uid(arguments)); break;
            case f::kTableRow:
                if (m_rows++ > 0) EndLine();
                m_cells = 0;
                break;
            case f::kTableCell:
                if (m_cells++ > 0) Target() += '\t';
                break;
            default: break;  // links leave their text; margins, colours and the like nothing
        }
    }

    void ParagraphEnd() override {
        EmitHeading();
        EndLine();
    }

    void Finish() {
        EmitHeading();
        Flush();
    }

    // A table record's rows as lines, on lines of their own.
    void ShowTable(size_t index, uint16_t uid) {
        EmitHeading();
        Flush();
        if (m_tables->budget == 0) return;  // said once already
        if (m_depth >= kMaxTableDepth) {
            if (!m_tables->deepNoted)
                m_sink.Note("a table inside " + std::to_string(kMaxTableDepth) +
                            " others (or inside itself) is not shown");
            m_tables->deepNoted = true;
            return;
        }
        const PluckerRecord record = index != PluckerBook::kNoRecord
                                         ? DecodePluckerRecord(m_book.Model().Data(index))
                                         : PluckerRecord();
        if (record.type != plucker_type::kTable && record.type != plucker_type::kTableCompressed) {
            m_sink.Note("the table of record ID " + std::to_string(uid) + " is not in the book");
            return;
        }
        PluckerData data;
        m_book.Data(record, data);
        const PluckerTable table = DecodePluckerTable(data.bytes);
        if (table.cells.size > m_tables->budget) {
            m_sink.Note("the tables past 1 MB of one record are not shown");
            m_tables->budget = 0;
            return;
        }
        m_tables->budget -= table.cells.size;
        if (!m_atLineStart) {
            m_sink.Text("\n");
            m_atLineStart = true;
        }
        PluckerPage cells(m_book, m_sink, m_decoder, m_atLineStart, m_depth + 1, m_tables);
        const bool whole = WalkPluckerText(table.cells, {}, cells);
        cells.Finish();
        if (data.stop != PluckerData::Stop::kNone) m_sink.Note(RecordName(index) + ": " + PluckerStopText(data.stop));
        if (!whole) m_sink.Note(RecordName(index) + ": the table stops inside a function");
    }

private:
    std::string& Target() { return m_inHeading ? m_heading : m_run; }

    bool AtLineStart() const {
        if (!m_run.empty()) return m_run.back() == '\n';
        return m_atLineStart;
    }
    // A line's end carries no style: a struck-through or underlined line
    // end would show as a mark past the text.
    void EndLine() {
        if (AtLineStart()) return;
        if (Style() != 0) {
            Flush();
            m_sink.Text("\n");
            m_atLineStart = true;
            return;
        }
        m_run += '\n';
    }

    unsigned Style() const { return m_style | (m_bold ? text_style::kBold : 0u); }

    void Flush() {
        if (m_run.empty()) return;
        m_sink.Text(m_run, Style());
        m_atLineStart = m_run.back() == '\n';
        m_run.clear();
    }

    void SetStyle(unsigned bit, bool on) {
        const unsigned style = on ? (m_style | bit) : (m_style & ~bit);
        if (style == m_style) return;
        Flush();
        m_style = style;
    }

    // Fonts 1 to 6 make headings, 7 bold text; the others are regular text.
    void SetFont(uint8_t font) {
        const bool heading = font >= kPluckerFirstHeadingFont && font <= kPluckerLastHeadingFont;
        if (heading && !m_inHeading) Flush();
        if (!heading && m_inHeading) EmitHeading();
        m_inHeading = heading;
        const bool bold = font == kPluckerBoldFont;
        if (bold != m_bold) {
            Flush();
            m_bold = bold;
        }
    }

    void EmitHeading() {
        if (m_heading.find_first_not_of(" \t\n") == std::string::npos) {
            m_heading.clear();
            return;
        }
        Flush();
        m_sink.Heading(m_heading);
        m_heading.clear();
        m_atLineStart = true;
    }

    const PluckerBook& m_book;
    DocumentSink& m_sink;
    TextDecoder& m_decoder;
    bool& m_atLineStart;  // the document's, shared by a table's page
    const unsigned m_depth;
    TableState m_ownTables;
    TableState* const m_tables;  // the record's, shared by its tables' pages
    std::string m_run, m_heading;
    unsigned m_style = 0;
    bool m_bold = false;
    bool m_inHeading = false;
    unsigned m_rows = 0, m_cells = 0;
};

// Gives text record `index` to the sink, on a line of its own unless the
// record before goes on in it.
void RenderText(const PluckerBook& book, size_t index, const PluckerRecord& record, TextDecoder& decoder,
                DocumentSink& sink, bool& atLineStart, bool continued) {
    PluckerData data;
    book.Data(record, data);
    if (!continued && !atLineStart) {
        sink.Text("\n");
        atLineStart = true;
    }
    PluckerPage page(book, sink, decoder, atLineStart);
    const bool whole = WalkPluckerText(data.bytes, record.paragraphs, page, (record.flags & kPluckerContinued) == 0);
    page.Finish();
    if (record.cut.cut) sink.Note(RecordName(index) + ": the record ends inside " + record.cut.inside);
    if (data.stop != PluckerData::Stop::kNone) sink.Note(RecordName(index) + ": " + PluckerStopText(data.stop));
    if (!whole) sink.Note(RecordName(index) + ": its text stops inside a function");
}

class PluckerDocument final : public DocumentReader {
public:
    PluckerDocument(const PluckerBook& book, TextDecoder& fallback) : m_book(book), m_decoders(fallback) {}

    bool Next(DocumentSink& sink) override {
        if (m_done) return false;
        if (m_book.Protected()) {
            sink.Note("the book is keyed to an owner ID: its text is not shown");
            m_done = true;
            return false;
        }
        const DatabaseModel& model = m_book.Model();
        while (m_next < model.Count()) {
            const size_t index = m_next++;
            if (!model.Entry(index).hasData) {
                sink.Note(RecordName(index) + " lies outside the file");
                return true;
            }
            const PluckerRecord record = DecodePluckerRecord(model.Data(index));
            if (!record.IsText()) continue;
            TextDecoder& decoder = m_decoders.For(m_book.CharsetOf(record.uid), sink);
            RenderText(m_book, index, record, decoder, sink, m_atLineStart, m_continued);
            m_continued = (record.flags & kPluckerContinued) != 0;
            return true;
        }
        m_done = true;
        return false;
    }

private:
    const PluckerBook& m_book;
    Decoders m_decoders;
    size_t m_next = 1;
    bool m_atLineStart = true;
    bool m_continued = false;
    bool m_done = false;
};

// The bytes of a record's text, functions off.
class BytesText final : public PluckerTextHandler {
public:
    void Text(std::string_view bytes) override { out.append(bytes.data(), bytes.size()); }
    void Character(uint32_t, std::string_view alternate) override { out.append(alternate.data(), alternate.size()); }
    void Function(uint8_t code, const uint8_t*) override {
        if (code == plucker_function::kNewLine || (code == plucker_function::kTableRow && m_rows++ > 0)) EndLine();
        if (code == plucker_function::kTableRow) m_cells = 0;
        if (code == plucker_function::kTableCell && m_cells++ > 0) out += '\t';
    }
    void ParagraphEnd() override { EndLine(); }
    std::string out;

private:
    void EndLine() {
        if (!out.empty() && out.back() != '\n') out += '\n';
    }
    unsigned m_rows = 0, m_cells = 0;
};

}  // namespace

std::unique_ptr<DocumentReader> OpenPluckerDocument(const PluckerBook& book, TextDecoder& fallback) {
    return std::make_unique<PluckerDocument>(book, fallback);
}

std::string PluckerRecordReadable(const PluckerBook& book, size_t index, TextDecoder& fallback, std::string* notes) {
    std::string text, collected;
    PlainTextSink sink(text, [&collected](std::string note) {
        if (!collected.empty()) collected += '\n';
        collected += note;
    });
    Decoders decoders(fallback);
    const PluckerRecord record = DecodePluckerRecord(book.Model().Data(index));
    TextDecoder& decoder = decoders.For(book.CharsetOf(record.uid), sink);
    bool atLineStart = true;
    if (record.IsText()) {
        RenderText(book, index, record, decoder, sink, atLineStart, true);
    } else {
        PluckerPage page(book, sink, decoder, atLineStart);
        page.ShowTable(index, record.uid);
    }
    if (notes != nullptr) *notes = std::move(collected);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

std::string PluckerRecordBytes(const PluckerRecord& record, const ByteSpan& text) {
    BytesText bytes;
    if (record.IsText()) {
        WalkPluckerText(text, record.paragraphs, bytes);
    } else {
        WalkPluckerText(DecodePluckerTable(text).cells, {}, bytes);
    }
    while (!bytes.out.empty() && bytes.out.back() == '\n') bytes.out.pop_back();
    return std::move(bytes.out);
}

}  // namespace corvelle
