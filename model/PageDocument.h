// The document the Text page shows, read as the page needs it: the viewed
// database's document reader with the user's code page, and the text read
// so far. The page asks for the
// first screen's worth at once and for the rest piece by piece; a search or
// a copy of everything reads the rest at once. For either front end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "dump/DatabaseModel.h"
#include "standards/CodePage.h"
#include "formats/FormatTable.h"
#include "model/PageText.h"

namespace corvelle {

class PageDocument {
public:
    // Reads the document of `database`, which must outlive it; `encoding`
    // is the code page of a document whose format names none.
    PageDocument(const DecodedDatabase& database, const CodePageInfo& encoding);
    ~PageDocument();
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    // Whether the database's format gave a document to read.
    bool HasDocument() const { return m_reader != nullptr; }
    // Reads on until at least `bytes` of text are there or the document has
    // ended. Running out of memory ends it, with a note saying so.
    void Prepare(size_t bytes);
    void PrepareAll() { Prepare(SIZE_MAX); }
    bool IsComplete() const { return m_complete; }
    const PageText& Text() const { return m_text; }
    size_t Size() const { return m_text.Size(); }
    // The whole text's size once complete; before, a guess from the records
    // read so far (a reader gives about one record a call) against the
    // database's records, always above what is there.
    size_t ExpectedSize() const;

private:
    void ReserveForExpectedSize();

    const DecodedDatabase& m_database;
    std::unique_ptr<TextDecoder> m_decoder;
    std::unique_ptr<DocumentReader> m_reader;
    PageText m_text;
    size_t m_pieces = 0;
    bool m_complete = true;
};

}  // namespace corvelle
