// CDocumentFill: the Text page's document as a filler's source. The filler
// asks for the text piece by piece; the document is read as far as that,
// converted to the control's UTF-16 and CR LF (its positions are the
// control's), and each piece goes into the control run by run, every run
// with its look (a heading bold and larger, bold, italic, underlined or
// struck out where the format marks it, the page's own asides in italics).
#pragma once

#include <windows.h>

#include "model/PageDocument.h"
#include "viewer/ReportFiller.h"
#include "viewer/RichEditText.h"

class CDocumentFill final : public CFillSource {
public:
    // `baseHeight`: the control's character height in twips, which a
    // heading's is taken from. The document must outlive the source.
    CDocumentFill(corvelle::PageDocument& document, LONG baseHeight)
        : m_document(document), m_baseHeight(baseHeight) {}

    size_t Size() const override { return m_text.Size(); }
    bool IsComplete() const override { return m_document.IsComplete() && m_text.ConvertedBytes() == m_document.Size(); }
    void Prepare(size_t units) override;
    size_t ExpectedSize() const override;
    size_t FirstPiece() const override;
    size_t PieceEnd(size_t start, size_t wanted) const override;
    void Insert(CRichEditControl& control, size_t from, size_t to, bool streamed) override;
    void InsertMemoryNote(CRichEditControl& control, size_t shown, bool streamed) override;

    // The whole text, read to its end, as the control would hold it: what
    // the find command searches and a copy of everything takes.
    const std::u16string& WholeText();

private:
    // Sets the look of what is inserted next at the caret.
    void UseStyle(CRichEditControl& control, unsigned style) const;

    corvelle::PageDocument& m_document;
    corvelle::RichEditText m_text;
    LONG m_baseHeight;
};
