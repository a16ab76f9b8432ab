#include "qt/TextControl.h"

namespace corvelle::qt {

void SetUpTextControl(QPlainTextEdit& edit, const QFont& font, bool wrap) {
    edit.setReadOnly(true);
    edit.setUndoRedoEnabled(false);
    edit.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit.setFont(font);
    edit.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit.setFocusPolicy(Qt::StrongFocus);
}

void AppendAtEnd(QTextDocument& document, const QString& text, const QTextCharFormat* format) {
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    if (format != nullptr)
        end.insertText(text, *format);
    else
        end.insertText(text);
}

}  // namespace corvelle::qt
