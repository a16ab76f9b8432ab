#include "viewer/text/DocumentFill.h"

#include "model/ReportFillPlan.h"

// The control takes UTF-16 as wchar_t, which is the page text's char16_t.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 code units");

namespace {

const wchar_t* WideUnits(const std::u16string& units, size_t at) {
    return reinterpret_cast<const wchar_t*>(units.data() + at);
}

}  // namespace

// Wrapped paragraphs fill a screen with fewer characters than the report's
// short lines do, and each character costs the control more to lay out: two
// screens of a maximised window, and the rest from the host's loop.
size_t CDocumentFill::FirstPiece() const { return 8 * 1024; }

void CDocumentFill::Prepare(size_t units) {
    // A unit of the control's text is at least one byte of the model's but
    // for a line end (two units of one byte): asking for the units still
    // missing reads on until they are there.
    while (m_text.Size() < units) {
        const size_t before = m_document.Size();
        m_document.Prepare(before + (units - m_text.Size()));
        m_text.CatchUp(m_document.Text());
        if (m_document.Size() == before) break;  // the document has ended
    }
}

size_t CDocumentFill::ExpectedSize() const {
    if (IsComplete()) return m_text.Size();
    // The model's guess is in its bytes; the units shown per byte so far
    // turn it into the control's.
    const size_t bytes = m_document.Size();
    if (bytes == 0) return m_text.Size() + 1;
    const double expected = static_cast<double>(m_document.ExpectedSize()) * static_cast<double>(m_text.Size()) /
                            static_cast<double>(bytes);
    return expected > static_cast<double>(m_text.Size()) ? static_cast<size_t>(expected) : m_text.Size() + 1;
}

const std::u16string& CDocumentFill::WholeText() {
    m_document.PrepareAll();
    m_text.CatchUp(m_document.Text());
    return m_text.Units();
}

size_t CDocumentFill::PieceEnd(size_t start, size_t wanted) const {
    return corvelle::RichEditPieceEnd(m_text.Units(), start, wanted);
}

void CDocumentFill::UseStyle(CRichEditControl& control, unsigned style) const {
    CHARFORMATA format{};
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE;
    const bool heading = (style & corvelle::page_style::kHeading) != 0;
    if (heading || (style & corvelle::text_style::kBold) != 0) format.dwEffects |= CFE_BOLD;
    if ((style & (corvelle::text_style::kItalic | corvelle::page_style::kAside)) != 0) format.dwEffects |= CFE_ITALIC;
    if ((style & corvelle::text_style::kUnderline) != 0) format.dwEffects |= CFE_UNDERLINE;
    if ((style & corvelle::text_style::kStrike) != 0) format.dwEffects |= CFE_STRIKEOUT;
    // A heading a quarter larger than the text: set apart without taking
    // the screen.
    format.yHeight = heading ? m_baseHeight * 5 / 4 : m_baseHeight;
    control.SetSelectionCharFormat(format);
}

void CDocumentFill::Insert(CRichEditControl& control, size_t from, size_t to, bool streamed) {
    const std::u16string& units = m_text.Units();
    // Each run's look is set at the caret before it goes in: the caret's
    // own look is whatever the text before it had, or the user's last
    // selection gave it.
    for (const corvelle::StyledRun& run : m_text.RunsIn(from, to)) {
        UseStyle(control, run.style);
        if (streamed) {
            control.ReplaceSelection(WideUnits(units, run.start), run.end - run.start);
        } else {
            control.InsertAtCaret(WideUnits(units, run.start), run.end - run.start);
        }
    }
}

void CDocumentFill::InsertMemoryNote(CRichEditControl& control, size_t shown, bool streamed) {
    const std::string note = corvelle::TextMemoryStopNote(shown);
    const std::wstring wide(note.begin(), note.end());  // ASCII
    UseStyle(control, 0);
    if (streamed) {
        control.ReplaceSelection(wide.data(), wide.size());
    } else {
        control.InsertAtCaret(wide.data(), wide.size());
    }
}
