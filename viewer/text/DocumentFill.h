// CDocumentFill: the Text page's document as a filler's source. The filler
// asks for the text piece by piece; the document is read as far as that, and
// each piece goes into the control run by run, every run with its look (a
// heading bold and larger, bold, italic, underlined or struck out where the
// format marks it, the page's own asides in italics).
#pragma once

#include <windows.h>

#include "viewer/ReportFiller.h"
#include "model/PageDocument.h"

class CDocumentFill final : public CFillSource {
public:
    // `baseHeight`: the control's character height in twips, which a
    // heading's is taken from. The document must outlive the source.
    CDocumentFill(corvelle::PageDocument& document, LONG baseHeight)
        : m_document(document), m_baseHeight(baseHeight) {}

    size_t Size() const override { return m_document.Size(); }
    bool IsComplete() const override { return m_document.IsComplete(); }
    void Prepare(size_t units) override { m_document.Prepare(units); }
    size_t ExpectedSize() const override { return m_document.ExpectedSize(); }
    size_t FirstPiece() const override;
    size_t PieceEnd(size_t start, size_t wanted) const override;
    void Insert(CRichEditControl& control, size_t from, size_t to, bool streamed) override;
    void InsertMemoryNote(CRichEditControl& control, size_t shown, bool streamed) override;

private:
    // Sets the look of what is inserted next at the caret.
    void UseStyle(CRichEditControl& control, unsigned style) const;

    corvelle::PageDocument& m_document;
    LONG m_baseHeight;
};
