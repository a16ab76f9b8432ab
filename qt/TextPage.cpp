#include "qt/TextPage.h"

#include <QApplication>
#include <QClipboard>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QVBoxLayout>

#include <new>

#include "model/PageText.h"
#include "model/ReportFillPlan.h"
#include "qt/QtEdge.h"
#include "qt/TextControl.h"

namespace corvelle::qt {
namespace {

constexpr char kTitle[] = "Text";
// Between two paragraphs, in twips: a book's paragraphs are set apart.
constexpr int kSpaceAfterParagraph = 80;

QTextCharFormat FormatOf(unsigned style, const QFont& font) {
    QTextCharFormat format;
    const bool heading = (style & page_style::kHeading) != 0;
    format.setFontWeight(heading || (style & text_style::kBold) != 0 ? QFont::Bold : QFont::Normal);
    format.setFontItalic((style & (text_style::kItalic | page_style::kAside)) != 0);
    format.setFontUnderline((style & text_style::kUnderline) != 0);
    format.setFontStrikeOut((style & text_style::kStrike) != 0);
    // A heading a quarter larger than the text: set apart without taking the screen.
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : 10;
    format.setFontPointSize(heading ? points * 5 / 4 : points);
    return format;
}

}  // namespace

TextPage::TextPage(const ViewedDatabase& viewed, const QFont& font, std::function<void(const QString&)> onTitle,
                   QWidget* parent)
    : QtPage(PageKind::kText, parent),
      m_viewed(viewed),
      m_edit(new QTextEdit(this)),
      m_fill(this),
      m_onTitle(std::move(onTitle)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    m_edit->setObjectName("text");
    m_edit->setReadOnly(true);
    m_edit->setUndoRedoEnabled(false);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_edit->setFont(font);
    m_edit->setLineWrapMode(QTextEdit::WidgetWidth);
    m_fill.m_onProgress = [this] { ShowProgress(); };
}

TextPage::~TextPage() = default;

void TextPage::ShowProblem(const char* text) { m_edit->setPlainText(QString::fromUtf8(text)); }

void TextPage::Open() {
    if (m_opened) return;
    m_opened = true;
    if (!m_viewed.HasModel()) {
        ShowProblem(m_viewed.ReadProblem().c_str());
        return;
    }
    try {
        m_document = std::make_unique<PageDocument>(m_viewed.Database(), m_viewed.Encoding());
    } catch (const std::bad_alloc&) {
        m_document.reset();
        ShowProblem("There is not enough memory to read the text.");
        return;
    }
    if (!m_document->HasDocument()) {
        // The header promised a text that the records do not give.
        m_document.reset();
        ShowProblem("This database holds no text to read.");
        return;
    }
    QTextBlockFormat paragraph;
    paragraph.setBottomMargin(PixelsOfTwips(kSpaceAfterParagraph, m_edit->logicalDpiY()));
    QTextCursor(m_edit->document()).setBlockFormat(paragraph);
    m_fill.Start(*this);
}

// Wrapped paragraphs fill a screen with fewer characters than the report's
// short lines do: two screens of a maximised window, and the rest later.
size_t TextPage::FirstPiece() const { return 8 * 1024; }

size_t TextPage::PieceEnd(size_t start, size_t wanted) const {
    return TextPieceEnd(m_document->Text().Utf8(), start, wanted);
}

void TextPage::Append(size_t from, size_t to) {
    const std::string_view text(m_document->Text().Utf8());
    for (const StyledRun& run : m_document->Text().RunsIn(from, to)) {
        const QTextCharFormat format = FormatOf(run.style, m_edit->font());
        AppendAtEnd(*m_edit->document(), FromUtf8(text.substr(run.start, run.end - run.start)), &format);
    }
    if (from == 0) m_edit->moveCursor(QTextCursor::Start);
}

void TextPage::ShowProgress() {
    if (!m_onTitle) return;
    const std::string title = m_fill.AllShown() ? std::string(kTitle)
                                                : ArrivingTabTitle(kTitle, m_fill.Shown(), m_fill.Total());
    m_onTitle(QString::fromStdString(title));
}

bool TextPage::Search(const std::string& utf8, int flags) {
    Open();
    if (!m_document) return false;
    // The whole text, not only what has arrived: a match further on is brought in.
    m_document->PrepareAll();
    const std::string& text = m_document->Text().Utf8();
    const auto hit = FindTextMatch(text, utf8, SelectionInBytes(*m_edit, text), flags);
    if (!hit) return false;
    m_fill.ShowUpTo(hit->end);
    SelectBytes(*m_edit, text, *hit);
    return true;
}

void TextPage::Copy() {
    Open();
    if (m_document && SelectsWholeControl(*m_edit) && !m_fill.AllShown()) {
        // Never half a text: the control holds only a part of it.
        m_document->PrepareAll();
        QApplication::clipboard()->setText(FromUtf8(m_document->Text().Utf8()));
        return;
    }
    m_edit->copy();
}

void TextPage::SelectAll() { m_edit->selectAll(); }

void TextPage::ToggleWrap() {
    m_edit->setLineWrapMode(m_edit->lineWrapMode() == QTextEdit::NoWrap ? QTextEdit::WidgetWidth
                                                                       : QTextEdit::NoWrap);
}

QWidget* TextPage::FocusTarget() { return m_edit; }

}  // namespace corvelle::qt
