// The "Text" page of a database whose format has a text (a book): the
// document as a person reads it in a read-only QTextEdit, paragraphs
// wrapped to the window (W unwraps them), headings bold and larger, bold,
// italic, underlined and struck-out text where the format marks it, the
// page's own asides in italics. The document is read as the page fills:
// its first screen at once, the rest while the user reads; copy, select
// all and the find command take the whole text.
#pragma once

#include <QFont>

#include <memory>

#include "model/PageDocument.h"
#include "model/ViewedDatabase.h"
#include "qt/PieceFill.h"
#include "qt/QtPage.h"

class QTextEdit;

namespace corvelle::qt {

class TextPage final : public QtPage, private FillSource {
public:
    TextPage(const ViewedDatabase& viewed, const QFont& font, std::function<void(const QString&)> onTitle,
             QWidget* parent);
    ~TextPage() override;

    void Open() override;
    bool Search(const std::string& utf8, int flags) override;
    void Copy() override;
    void SelectAll() override;
    void ToggleWrap() override;
    QWidget* FocusTarget() override;

    const PieceFill& Fill() const { return m_fill; }
    QTextEdit* Edit() const { return m_edit; }

private:
    size_t Size() const override { return m_document->Size(); }
    bool IsComplete() const override { return m_document->IsComplete(); }
    void Prepare(size_t bytes) override { m_document->Prepare(bytes); }
    size_t ExpectedSize() const override { return m_document->ExpectedSize(); }
    size_t FirstPiece() const override;
    size_t PieceEnd(size_t start, size_t wanted) const override;
    void Append(size_t from, size_t to) override;
    void ShowProgress();
    void ShowProblem(const char* text);

    const ViewedDatabase& m_viewed;
    QTextEdit* m_edit;
    std::unique_ptr<PageDocument> m_document;
    PieceFill m_fill;
    std::function<void(const QString&)> m_onTitle;
    bool m_opened = false;
};

}  // namespace corvelle::qt
