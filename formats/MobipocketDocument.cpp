#include "formats/MobipocketDocument.h"

#include "standards/CodePage.h"
#include "formats/HtmlText.h"

namespace corvelle {
namespace {

class MobipocketDocument final : public DocumentReader {
public:
    explicit MobipocketDocument(const MobipocketBook& book)
        : m_book(book),
          m_decoder(book.CodePage()),
          m_text(m_decoder),
          m_html([&book](uint32_t number) { return book.ImageFile(number); }) {}

    bool Next(DocumentSink& sink) override {
        if (m_done) return false;
        if (m_next == 1 && !Readable(sink)) {
            m_done = true;
            return false;
        }
        if (m_next > m_book.LastTextRecord() || m_stopped) {
            m_done = true;
            m_html.Add(m_text.Finish(), sink);
            m_html.Finish(sink);
            return false;
        }
        const size_t index = m_next++;
        MobiRecordText part = m_book.Text(index, UINT64_MAX, m_dictionary);
        if (!part.problem.empty()) sink.Note("record " + std::to_string(index) + ": " + part.problem);
        if (part.text.size() > m_book.ReadableEnd() - m_given) {
            part.text.resize(static_cast<size_t>(m_book.ReadableEnd() - m_given));
            m_stopped = true;  // the rest is the book's style sheets
        }
        const uint64_t room = m_book.BookBound() - m_given;
        if (part.text.size() > room) {
            part.text.resize(static_cast<size_t>(room));
            sink.Note("record " + std::to_string(index) + ": the text runs past the " +
                      std::to_string(m_book.Header().textLength) + " bytes the book announces; the rest is left out");
            m_stopped = true;
        }
        m_given += part.text.size();
        m_html.Add(m_text.Add(part.text), sink);
        return true;
    }

private:
    // Whether the book's text can be read at all; says why not.
    bool Readable(DocumentSink& sink) const {
        if (m_book.Encrypted()) {
            sink.Note("the book is encrypted (encryption " + std::to_string(m_book.Header().encryption) +
                      "): its text is not shown");
            return false;
        }
        if (!m_book.KnownCompression()) {
            sink.Note("the book's compression " + std::to_string(m_book.Header().compression) + " is not known");
            return false;
        }
        if (!m_book.CodePageKnown())
            sink.Note("the book's text encoding " + std::to_string(m_book.Header().encoding) +
                      " is not known: it is read as cp1252");
        return true;
    }

    const MobipocketBook& m_book;
    TextDecoder m_decoder;
    DeviceText m_text;
    HtmlText m_html;
    MobiDictionary m_dictionary;  // its own: the Records page may decode beside it
    size_t m_next = 1;
    uint64_t m_given = 0;
    bool m_stopped = false;
    bool m_done = false;
};

}  // namespace

std::unique_ptr<DocumentReader> OpenMobipocketDocument(const MobipocketBook& book) {
    return std::make_unique<MobipocketDocument>(book);
}

}  // namespace corvelle
