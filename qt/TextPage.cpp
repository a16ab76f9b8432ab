#include "qt/TextPage.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <new>

#include "model/PageText.h"

namespace corvelle::qt {
namespace {

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
    : FilledTextPage(PageKind::kText, "Text", "text", std::move(onTitle), parent), m_viewed(viewed) {
    m_edit->setReadOnly(true);
    m_edit->setUndoRedoEnabled(false);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_edit->setFont(font);
    m_edit->setLineWrapMode(QTextEdit::WidgetWidth);
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
        AppendText(text.substr(run.start, run.end - run.start), from == 0 && run.start == from, &format);
    }
}

}  // namespace corvelle::qt
