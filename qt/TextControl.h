// What the pages' read-only text controls (QPlainTextEdit for the report and
// the entry pane, QTextEdit for a book) share: their set-up, text appended at
// the end while the user reads, and selections between the control's UTF-16
// positions and the model's bytes.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <string>

#include "model/SearchRules.h"
#include "qt/QtEdge.h"

namespace corvelle::qt {

// Read-only, selectable with mouse and keyboard (the caret moves as in
// Lister), in `font`; wrapped at the window's edge or not at all.
void SetUpTextControl(QPlainTextEdit& edit, const QFont& font, bool wrap);

// Appends `text` at the end of `document`, in `format` when given: the
// user's caret, selection and scroll position stay where they are.
void AppendAtEnd(QTextDocument& document, const QString& text, const QTextCharFormat* format = nullptr);

// Whether the control's selection covers all of its text (and there is some).
template <class Edit>
bool SelectsWholeControl(const Edit& edit) {
    const QTextCursor cursor = edit.textCursor();
    const int length = edit.document()->characterCount() - 1;  // the last paragraph's end is no text
    return length > 0 && cursor.selectionStart() == 0 && cursor.selectionEnd() >= length;
}

// The control's selection in the bytes of `utf8`, the model's text that the
// control shows (or the first part of it).
template <class Edit>
TextRange SelectionInBytes(const Edit& edit, const std::string& utf8) {
    const QTextCursor cursor = edit.textCursor();
    return TextRange{Utf8OffsetOfUnits(utf8, static_cast<size_t>(cursor.selectionStart())),
                     Utf8OffsetOfUnits(utf8, static_cast<size_t>(cursor.selectionEnd()))};
}

// Selects `range` (bytes of `utf8`) and scrolls it into view.
template <class Edit>
void SelectBytes(Edit& edit, const std::string& utf8, const TextRange& range) {
    const std::string_view text(utf8);
    const int start = static_cast<int>(Utf16Length(text.substr(0, range.start)));
    const int end = start + static_cast<int>(Utf16Length(text.substr(range.start, range.end - range.start)));
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
}

}  // namespace corvelle::qt
