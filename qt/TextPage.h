// The "Text" page of a database whose format has a text (a book): the
// document as a person reads it in a read-only QTextEdit, paragraphs
// wrapped to the window (W unwraps them), headings bold and larger, bold,
// italic, underlined and struck-out text where the format marks it, the
// page's own asides in italics. The document is read as the page fills
// (FilledTextPage): its first screen at once, the rest while the user reads.
#pragma once

#include <QFont>
#include <QTextEdit>

#include <memory>

#include "model/PageDocument.h"
#include "model/ViewedDatabase.h"
#include "qt/FilledTextPage.h"

namespace corvelle::qt {

class TextPage final : public FilledTextPage<QTextEdit> {
public:
    TextPage(const ViewedDatabase& viewed, const QFont& font, std::function<void(const QString&)> onTitle,
             QWidget* parent);
    ~TextPage() override;

    void Open() override;

private:
    size_t Size() const override { return m_document->Size(); }
    bool IsComplete() const override { return m_document->IsComplete(); }
    void Prepare(size_t bytes) override { m_document->Prepare(bytes); }
    size_t ExpectedSize() const override { return m_document->ExpectedSize(); }
    size_t FirstPiece() const override;
    size_t PieceEnd(size_t start, size_t wanted) const override;
    void Append(size_t from, size_t to) override;

    bool HasText() const override { return m_document != nullptr; }
    const std::string& TextSoFar() const override { return m_document->Text().Utf8(); }
    void ReadAll() override { m_document->PrepareAll(); }
    // Unicode letters folded: a book's text leaves no doubt which letter a character is.
    std::optional<TextRange> Find(const std::string& text, const std::string& needle, TextRange selection,
                                  int flags) const override {
        return FindTextMatch(text, needle, selection, flags);
    }
    void ShowProblem(const char* text);

    const ViewedDatabase& m_viewed;
    std::unique_ptr<PageDocument> m_document;
    bool m_opened = false;
};

}  // namespace corvelle::qt
