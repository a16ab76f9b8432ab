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

size_t CDocumentFill::PieceEnd(size_t start, size_t wanted) const {
    return corvelle::TextPieceEnd(m_document.Text().Units(), start, wanted);
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
    const std::u16string& units = m_document.Text().Units();
    // Each run's look is set at the caret before it goes in: the caret's
    // own look is whatever the text before it had, or the user's last
    // selection gave it.
    for (const corvelle::StyledRun& run : m_document.Text().RunsIn(from, to)) {
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
