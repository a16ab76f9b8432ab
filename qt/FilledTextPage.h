// What the report and the Text page share: a text that arrives in pieces
// (PieceFill) into one read-only text control that fills the page. The
// control holds what has arrived; the find command and a copy of everything
// take the whole text, read to its end, so that a match further on is
// brought in and a copy is never half a text. The tab says how much is in.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QVBoxLayout>

#include <functional>
#include <optional>
#include <string>

#include "model/ReportFillPlan.h"
#include "model/SearchRules.h"
#include "qt/PieceFill.h"
#include "qt/QtEdge.h"
#include "qt/QtPage.h"
#include "qt/TextControl.h"

namespace corvelle::qt {

// `Edit` is QPlainTextEdit or QTextEdit.
template <class Edit>
class FilledTextPage : public QtPage, protected FillSource {
public:
    bool Search(const std::string& utf8, int flags) override {
        Open();
        if (!HasText()) return false;
        ReadAll();
        const std::string& text = TextSoFar();
        const std::optional<TextRange> hit = Find(text, utf8, SelectionInBytes(*m_edit, text), flags);
        if (!hit) return false;
        m_fill.ShowUpTo(hit->end);
        SelectBytes(*m_edit, text, *hit);
        return true;
    }
    void Copy() override {
        Open();
        if (HasText() && SelectsWholeControl(*m_edit) && !m_fill.AllShown()) {
            ReadAll();
            QApplication::clipboard()->setText(FromUtf8(TextSoFar()));
            return;
        }
        m_edit->copy();
    }
    void SelectAll() override { m_edit->selectAll(); }
    void ToggleWrap() override {
        m_edit->setLineWrapMode(m_edit->lineWrapMode() == Edit::NoWrap ? Edit::WidgetWidth : Edit::NoWrap);
    }
    QWidget* FocusTarget() override { return m_edit; }

    const PieceFill& Fill() const { return m_fill; }
    Edit* Control() const { return m_edit; }

protected:
    // `title` is the tab's; `onTitle` is told it as the text arrives.
    FilledTextPage(PageKind kind, const char* title, const char* controlName,
                   std::function<void(const QString&)> onTitle, QWidget* parent)
        : QtPage(kind, parent), m_edit(new Edit(this)), m_fill(this), m_title(title), m_onTitle(std::move(onTitle)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_edit);
        m_edit->setObjectName(controlName);
        m_fill.m_onProgress = [this] { ShowProgress(); };
    }

    // Whether there is a text at all (a book's may be missing).
    virtual bool HasText() const { return true; }
    // The text read so far, and all of it read.
    virtual const std::string& TextSoFar() const = 0;
    virtual void ReadAll() = 0;
    // The page's rule of the find command.
    virtual std::optional<TextRange> Find(const std::string& text, const std::string& needle, TextRange selection,
                                          int flags) const = 0;

    // Appends `utf8` at the end of the control, in `format` when given; the
    // caret, which was at the end of the empty text, goes back to its start.
    void AppendText(std::string_view utf8, bool first, const QTextCharFormat* format = nullptr) {
        AppendAtEnd(*m_edit->document(), FromUtf8(utf8), format);
        if (first) m_edit->moveCursor(QTextCursor::Start);
    }

    Edit* m_edit;
    PieceFill m_fill;

private:
    void ShowProgress() {
        if (!m_onTitle) return;
        const std::string title =
            m_fill.AllShown() ? std::string(m_title) : ArrivingTabTitle(m_title, m_fill.Shown(), m_fill.Total());
        m_onTitle(QString::fromStdString(title));
    }

    const char* m_title;
    std::function<void(const QString&)> m_onTitle;
};

}  // namespace corvelle::qt
