#include "viewer/ControlSearch.h"

namespace {

corvelle::TextRange SelectionOf(const CRichEditControl& control) {
    const CHARRANGE selection = control.GetSel();
    return corvelle::TextRange{static_cast<size_t>(selection.cpMin < 0 ? 0 : selection.cpMin),
                               static_cast<size_t>(selection.cpMax < 0 ? 0 : selection.cpMax)};
}

}  // namespace

std::optional<corvelle::TextRange> FindFromSelection(const CRichEditControl& control, const std::string& text,
                                                     const std::string& needle, int flags) {
    return corvelle::FindMatch(text, needle, SelectionOf(control), flags);
}

std::optional<corvelle::TextRange> FindFromSelection(const CRichEditControl& control, const std::u16string& text,
                                                     const std::u16string& needle, int flags) {
    return corvelle::FindMatch(text, needle, SelectionOf(control), flags);
}

void SelectAndShow(CRichEditControl& control, const corvelle::TextRange& range) {
    control.SetSel(static_cast<LONG>(range.start), static_cast<LONG>(range.end));
    ::SendMessageA(control.GetSafeHwnd(), EM_SCROLLCARET, 0, 0);
}

std::string ControlText(const CRichEditControl& control) {
    const HWND hControl = control.GetSafeHwnd();
    const int length = ::GetWindowTextLengthA(hControl);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hControl, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}
