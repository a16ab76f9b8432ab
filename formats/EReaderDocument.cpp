#include "formats/EReaderDocument.h"

#include <vector>

#include "formats/DocumentPlainText.h"

namespace corvelle {
namespace {

std::string RecordName(size_t index) { return "record " + std::to_string(index); }

// Passes everything on and remembers whether the last piece ended a line,
// so that each note ends its paragraph exactly once.
class LineEndWatch final : public DocumentSink {
public:
    explicit LineEndWatch(DocumentSink& sink) : m_sink(sink) {}
    void Text(std::string_view utf8, unsigned style) override {
        if (!utf8.empty()) m_endsLine = utf8.back() == '\n';
        m_sink.Text(utf8, style);
    }
    void Heading(std::string_view utf8) override {
        m_endsLine = true;
        m_sink.Heading(utf8);
    }
    void Image(const ByteSpan& file) override {
        m_endsLine = false;
        m_sink.Image(file);
    }
    void Rule() override {
        m_endsLine = true;
        m_sink.Rule();
    }
    void Note(std::string text) override { m_sink.Note(std::move(text)); }
    bool EndsLine() const { return m_endsLine; }

private:
    DocumentSink& m_sink;
    bool m_endsLine = true;
};

class EReaderDocument final : public DocumentReader {
public:
    EReaderDocument(const DatabaseModel& model, const EReaderHeader& header)
        : m_model(model),
          m_header(header),
          m_images(model, header.nonTextStart),
          m_pml(&m_images),
          m_budget(model.Size() > kEReaderRecordBound / kEReaderMaxExpansion ? model.Size() * kEReaderMaxExpansion
                                                                             : kEReaderRecordBound) {}

    bool Next(DocumentSink& sink) override {
        switch (m_phase) {
            case Phase::kStart: return Start(sink);
            case Phase::kText: return NextText(sink);
            case Phase::kFootnotes: return NextNote(m_header.footnotes, "Footnotes", Phase::kSidebars, sink);
            case Phase::kSidebars: return NextNote(m_header.sidebars, "Sidebars", Phase::kDone, sink);
            case Phase::kDone: return false;
        }
        return false;
    }

private:
    enum class Phase { kStart, kText, kFootnotes, kSidebars, kDone };

    bool Start(DocumentSink& sink) {
        const EReaderCompression compression = m_header.Compression();
        if (compression == EReaderCompression::kProtected || compression == EReaderCompression::kUnknown) {
            sink.Note(compression == EReaderCompression::kProtected
                          ? "the book is protected (compression " + std::to_string(m_header.compression) +
                                "): its text is not shown"
                          : "the book's compression " + std::to_string(m_header.compression) +
                                " is not one we read: its text is not shown");
            m_phase = Phase::kDone;
            return false;
        }
        if (m_header.nonTextStart <= 1) sink.Note("the book's header names no text records");
        m_phase = Phase::kText;
        return true;
    }

    bool NextText(DocumentSink& sink) {
        const size_t end = m_header.nonTextStart < m_model.Count() ? m_header.nonTextStart : m_model.Count();
        if (m_next < end) {
            const size_t index = m_next++;
            EReaderText text;
            if (!Decode(index, text, sink)) return false;
            m_pml.Add(text.text, sink);
            return true;
        }
        m_pml.Finish(sink);
        if (m_header.nonTextStart > m_model.Count() && m_model.Count() > 0)
            sink.Note("records " + std::to_string(m_model.Count()) + " to " +
                      std::to_string(m_header.nonTextStart - 1) + " of the text are not in the file");
        m_phase = Phase::kFootnotes;
        return true;
    }

    // The footnotes or sidebars: the first record of their run names them,
    // each record after it holds one, compressed as the text is.
    bool NextNote(const EReaderSection& section, const char* title, Phase after, DocumentSink& sink) {
        const bool present = section.count >= 2 && section.first < m_model.Count() && section.first > 0 &&
                             m_model.Entry(section.first).hasData;
        if (!present || m_noteIndex >= section.count) {
            m_phase = after;
            m_noteIndex = 0;
            m_ids.clear();
            return after != Phase::kDone;
        }
        if (m_noteIndex == 0) {
            m_ids = DecodeEReaderNoteIds(m_model.Data(section.first));
            sink.Heading(title);
            m_noteIndex = 1;
            return true;
        }
        const size_t index = size_t{section.first} + m_noteIndex;
        const size_t position = m_noteIndex - 1;
        ++m_noteIndex;
        if (index >= m_model.Count()) {
            sink.Note(std::string(title) + ": records " + std::to_string(index) + " to " +
                      std::to_string(size_t{section.first} + section.count - 1) + " are not in the file");
            m_noteIndex = section.count;
            return true;
        }
        EReaderText text;
        if (!Decode(index, text, sink)) return false;
        if (position < m_ids.size() && !m_ids[position].empty()) {
            std::string id;
            AppendCp1252(m_ids[position], id);
            sink.Text(id, text_style::kBold);
            sink.Text(" ");
        }
        // A note has no commands of the text before it to finish.
        PmlText note(&m_images);
        LineEndWatch watch(sink);
        note.Add(text.text, watch);
        note.Finish(watch);
        if (!watch.EndsLine()) sink.Text("\n");
        return true;
    }

    // Record `index`'s text into `text`, with a note where it stops short;
    // false once the book's text has used up its budget.
    bool Decode(size_t index, EReaderText& text, DocumentSink& sink) {
        if (!m_model.Entry(index).hasData) {
            sink.Note(RecordName(index) + " lies outside the file: its text is missing");
            return true;
        }
        text = DecodeEReaderText(m_model.Data(index), m_header.Compression());
        if (const char* stop = EReaderStopText(text.stop)) sink.Note(RecordName(index) + ": its text stops, " + stop);
        if (text.text.size() <= m_budget - m_given) {
            m_given += text.text.size();
            return true;
        }
        text.text.resize(static_cast<size_t>(m_budget - m_given));
        m_pml.Add(text.text, sink);
        m_pml.Finish(sink);
        sink.Note("the book's text stops after " + std::to_string(m_budget) + " bytes, " +
                  std::to_string(kEReaderMaxExpansion) + " times the size of its file: the rest is not read");
        m_phase = Phase::kDone;
        return false;
    }

    const DatabaseModel& m_model;
    const EReaderHeader m_header;
    EReaderImages m_images;
    PmlText m_pml;
    const uint64_t m_budget;
    uint64_t m_given = 0;
    Phase m_phase = Phase::kStart;
    size_t m_next = 1;
    size_t m_noteIndex = 0;
    std::vector<std::string_view> m_ids;
};

class NoSink final : public DocumentSink {
public:
    void Text(std::string_view, unsigned) override {}
    void Heading(std::string_view) override {}
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string) override {}
};

}  // namespace

ByteSpan EReaderImages::Find(std::string_view name) const {
    if (!m_gathered) {
        m_gathered = true;
        for (size_t i = m_first > 0 ? m_first : 1; i < m_model.Count(); ++i) {
            const ByteSpan record = m_model.Data(i);
            if (!IsEReaderImage(record)) continue;
            const EReaderImage image = DecodeEReaderImage(record);
            m_byName.emplace(image.name, image.png);  // the first of a name is the one shown
        }
    }
    const auto found = m_byName.find(name);
    return found != m_byName.end() ? found->second : ByteSpan{};
}

std::unique_ptr<DocumentReader> OpenEReaderDocument(const DatabaseModel& model, const EReaderHeader& header) {
    return std::make_unique<EReaderDocument>(model, header);
}

std::string EReaderRecordPlainText(const DatabaseModel& model, const EReaderHeader& header, size_t index) {
    const EReaderCompression compression = header.Compression();
    if (index >= model.Count() || !model.Entry(index).hasData) return {};
    std::string text;
    if (index > 1 && header.IsTextRecord(index - 1) && model.Entry(index - 1).hasData) {
        PmlText before;
        NoSink none;
        before.Add(DecodeEReaderText(model.Data(index - 1), compression).text, none);
        text = before.Unfinished();
    }
    text += DecodeEReaderText(model.Data(index), compression).text;
    PmlText pml;
    std::string out;
    PlainTextSink plain(out, nullptr);
    pml.Add(text, plain);
    const bool last = index + 1 >= header.nonTextStart || index + 1 >= model.Count();
    if (last) pml.Finish(plain);
    return out;
}

}  // namespace corvelle
