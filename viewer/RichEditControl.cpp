#include "viewer/RichEditControl.h"

#include <cstring>

#include "viewer/RichEditDefaults.h"
#include "viewer/WindowGeometry.h"

// The rich-edit structures as the control reads them: the plain character
// format and the extended paragraph format.
static_assert(sizeof(CHARFORMATA) == 60, "character format of the rich-edit 1.0 size");
static_assert(sizeof(PARAFORMAT2) == 188, "extended paragraph format");
static_assert(CFM_BOLD == corvelle::kCfmBold && CFM_ITALIC == corvelle::kCfmItalic &&
                  CFM_FACE == corvelle::kCfmFace && CFM_SIZE == corvelle::kCfmSize &&
                  CFE_BOLD == corvelle::kCfeBold && CFE_ITALIC == corvelle::kCfeItalic,
              "character format bits");
static_assert(LF_FACESIZE == corvelle::kFaceNameSize, "face name field");
static_assert(MAX_TAB_STOPS == corvelle::kMaxTabStops, "tab stops of a paragraph format");

namespace {

// Where the control's stream-in callback reads the text from.
struct TextSource {
    const char* data;
    size_t size;
    size_t offset;
};

DWORD CALLBACK ReadTextSource(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb) {
    auto* source = reinterpret_cast<TextSource*>(cookie);
    size_t count = source->size - source->offset;
    if (cb < 0) {
        cb = 0;
    }
    if (count > static_cast<size_t>(cb)) {
        count = static_cast<size_t>(cb);
        // A chunk that ends between CR and LF may be read as two paragraph
        // breaks: a chunk with a line feed ends just after its last one.
        size_t cut = count;
        while (cut > 0 && source->data[source->offset + cut - 1] != '\n') {
            --cut;
        }
        if (cut > 0) {
            count = cut;
        }
    }
    std::memcpy(buffer, source->data + source->offset, count);
    source->offset += count;
    *pcb = static_cast<LONG>(count);
    return 0;
}

// The same for UTF-16 text: counted in code units, and cut only after a line
// feed, so that neither a code unit nor a CR LF is ever split.
struct WideTextSource {
    const wchar_t* data;
    size_t count;
    size_t offset;
};

DWORD CALLBACK ReadWideTextSource(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb) {
    auto* source = reinterpret_cast<WideTextSource*>(cookie);
    size_t count = source->count - source->offset;
    const size_t room = cb > 0 ? static_cast<size_t>(cb) / sizeof(wchar_t) : 0;
    if (count > room) {
        count = room;
        size_t cut = count;
        while (cut > 0 && source->data[source->offset + cut - 1] != L'\n') {
            --cut;
        }
        if (cut > 0) {
            count = cut;
        } else if (count > 0 && source->data[source->offset + count - 1] >= 0xD800 &&
                   source->data[source->offset + count - 1] <= 0xDBFF) {
            --count;  // a surrogate pair stays whole
        }
    }
    std::memcpy(buffer, source->data + source->offset, count * sizeof(wchar_t));
    source->offset += count;
    *pcb = static_cast<LONG>(count * sizeof(wchar_t));
    return 0;
}

// Messages that neither read nor move the selection and do not scroll to the
// caret. Everything else may, including messages this list does not know.
bool LeavesSelectionAlone(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
    case WM_TIMER:
    case 0x0118:  // WM_SYSTIMER: the caret's blinking
    case WM_SETCURSOR:
    case WM_NCHITTEST:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_GETOBJECT:
    case WM_SETREDRAW:
    case EM_GETSCROLLPOS:
    case EM_SETSCROLLPOS:
    case EM_GETFIRSTVISIBLELINE:
    case EM_POSFROMCHAR:
    case EM_GETLINECOUNT:
    case EM_GETOPTIONS:
    case EM_GETLIMITTEXT:
    case EM_EXLIMITTEXT:
        return true;
    case EM_GETCHARFORMAT:
        return wParam == SCF_DEFAULT;
    case EM_STREAMOUT:
        return (wParam & SFF_SELECTION) == 0;
    default:
        return false;
    }
}

}  // namespace

LRESULT CRichEditControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_beforeSelectionUse && !LeavesSelectionAlone(message, wParam)) {
        m_beforeSelectionUse();
    }
    return CWindowObject::WindowProc(message, wParam, lParam);
}

// Streamed in rather than sent with WM_SETTEXT: the control then takes the
// text in 4 KB steps and needs no copy of it, and a report of many megabytes
// and tens of thousands of TAB-separated lines goes in many times faster (by
// far so on Wine, whose WM_SETTEXT grows with the square of the line count).
static void StreamIn(HWND hWnd, const char* data, size_t size, WPARAM format) {
    TextSource source{data, size, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadTextSource;
    ::SendMessageA(hWnd, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

static void StreamInWide(HWND hWnd, const wchar_t* data, size_t count, WPARAM format) {
    WideTextSource source{data, count, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadWideTextSource;
    ::SendMessageA(hWnd, EM_STREAMIN, format | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

void CRichEditControl::ReplaceSelection(const wchar_t* data, size_t count) {
    if (m_hWnd != nullptr) {
        StreamInWide(m_hWnd, data, count, SF_TEXT | SFF_SELECTION);
    }
}

void CRichEditControl::InsertAtCaret(const wchar_t* data, size_t count) {
    if (m_hWnd == nullptr) {
        return;
    }
    const std::wstring terminated(data, count);
    SETTEXTEX how{};
    how.flags = ST_SELECTION;
    how.codepage = 1200;  // UTF-16
    ::SendMessageA(m_hWnd, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                   reinterpret_cast<LPARAM>(terminated.c_str()));
}

void CRichEditControl::SetText(const std::wstring& text) {
    if (m_hWnd == nullptr) {
        return;
    }
    LimitTextTo(text.size());
    StreamInWide(m_hWnd, text.data(), text.size(), SF_TEXT);
}

BOOL CRichEditControl::SetSelectionCharFormat(CHARFORMATA& format) {
    format.cbSize = sizeof(format);
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
}

void CRichEditControl::SetText(const std::string& text) {
    if (m_hWnd == nullptr) {
        return;
    }
    LimitTextTo(text.size());
    // Without SFF_SELECTION the stream replaces the whole text, as WM_SETTEXT does.
    StreamIn(m_hWnd, text.data(), text.size(), SF_TEXT);
}

void CRichEditControl::LimitTextTo(size_t length) {
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, EM_EXLIMITTEXT, 0,
                       static_cast<LPARAM>(corvelle::TextLimitFor(length)));
    }
}

void CRichEditControl::DisableUndo() {
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, EM_SETUNDOLIMIT, 0, 0);
    }
}

void CRichEditControl::ReplaceSelection(const char* data, size_t size) {
    if (m_hWnd != nullptr) {
        StreamIn(m_hWnd, data, size, SF_TEXT | SFF_SELECTION);
    }
}

void CRichEditControl::InsertAtCaret(const char* data, size_t size) {
    if (m_hWnd == nullptr) {
        return;
    }
    // EM_REPLACESEL takes a NUL-terminated string; text that holds a NUL of
    // its own is streamed, so that nothing after the NUL is lost.
    if (std::memchr(data, '\0', size) != nullptr) {
        ReplaceSelection(data, size);
        return;
    }
    const std::string terminated(data, size);
    // wParam FALSE: no undo for the insertion.
    ::SendMessageA(m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(terminated.c_str()));
}

LONG CRichEditControl::TextLength() const {
    return m_hWnd != nullptr ? static_cast<LONG>(::SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0))
                             : 0;
}

CHARRANGE CRichEditControl::GetSel() const {
    CHARRANGE range{0, 0};
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    return range;
}

bool CRichEditControl::GetScrollPosition(POINT& position) const {
    return m_hWnd != nullptr &&
           ::SendMessageA(m_hWnd, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&position)) != 0;
}

void CRichEditControl::SetScrollPosition(POINT position) {
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&position));
    }
}

LONG CRichEditControl::FirstVisibleLine() const {
    return m_hWnd != nullptr
               ? static_cast<LONG>(::SendMessageA(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0))
               : 0;
}

bool CRichEditControl::CharPosition(LONG index, POINTL& at) const {
    if (m_hWnd == nullptr) {
        return false;
    }
    at = POINTL{0, 0};
    ::SendMessageA(m_hWnd, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), index);
    return true;
}

void CRichEditControl::ScrollLines(LONG nLines) {
    if (m_hWnd != nullptr && nLines != 0) {
        ::SendMessageA(m_hWnd, EM_LINESCROLL, 0, nLines);
    }
}

void CRichEditControl::SetSel(LONG nStart, LONG nEnd) {
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStart), static_cast<LPARAM>(nEnd));
    }
}

void CRichEditControl::Copy() {
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, WM_COPY, 0, 0);
    }
}

BOOL CRichEditControl::GetDefaultCharFormat(CHARFORMATA& format) const {
    format.cbSize = sizeof(format);
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    ::SendMessageA(m_hWnd, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return TRUE;
}

BOOL CRichEditControl::SetDefaultCharFormat(CHARFORMATA& format) {
    format.cbSize = sizeof(format);
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)));
}

void CRichEditControl::FollowListerFont(const ListerFont& font) {
    CHARFORMATA format{};
    if (!GetDefaultCharFormat(format)) {
        return;
    }
    corvelle::CharFormatFields fields;
    fields.mask = format.dwMask;
    fields.effects = format.dwEffects;
    fields.height = format.yHeight;
    corvelle::CopyCutText(fields.faceName, sizeof(fields.faceName), format.szFaceName,
                          sizeof(format.szFaceName));
    if (!corvelle::ApplyListerFont(fields, font)) {
        return;
    }
    format.dwMask = fields.mask;
    format.dwEffects = fields.effects;
    format.yHeight = fields.height;
    static_assert(sizeof(format.szFaceName) == sizeof(fields.faceName), "face name field");
    std::memcpy(format.szFaceName, fields.faceName, sizeof(format.szFaceName));
    SetDefaultCharFormat(format);
}

BOOL CRichEditControl::SetParaFormat(PARAFORMAT2& format) {
    format.cbSize = sizeof(format);
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)));
}

void CRichEditControl::SetOptions(WORD wOperation, DWORD dwOptions) {
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, EM_SETOPTIONS, wOperation, static_cast<LPARAM>(dwOptions));
    }
}

void CRichEditControl::SetTargetDevice(HDC hDC, LONG nLineWidth) {
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(hDC),
                       static_cast<LPARAM>(nLineWidth));
    }
}

void CRichEditControl::ShowHorizontalScrollBar(bool bShow) {
    if (m_hWnd != nullptr) {
        ::ShowScrollBar(m_hWnd, SB_HORZ, bShow ? TRUE : FALSE);
    }
}

bool CRichEditControl::Renew(const RECT* rect) {
    HWND old = m_hWnd;
    if (old == nullptr) {
        return false;
    }
    HWND parent = ::GetParent(old);
    char className[64] = {};
    if (::GetClassNameA(old, className, sizeof(className)) == 0) {
        return false;
    }
    const RECT at = rect != nullptr ? *rect : WindowRectIn(old, parent);
    // A page hides the horizontal scroll bar of a wrapped control, which
    // takes WS_HSCROLL off its style: the control would then never set that
    // bar's range again. A fresh one has both, as the templates give them,
    // and the page shows or hides them for its wrapping.
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(old, GWL_STYLE)) | WS_HSCROLL | WS_VSCROLL;
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(old, GWL_EXSTYLE));
    HWND fresh = ::CreateWindowExA(exStyle, className, "", style, at.left, at.top, at.right - at.left,
                                   at.bottom - at.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(::GetDlgCtrlID(old))),
                                   reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(old, GWLP_HINSTANCE)), nullptr);
    if (fresh == nullptr) {
        return false;
    }
    // The dialog's font, as the dialog manager gave it to the old one; the
    // page's own character format goes on top of it.
    ::SendMessageA(fresh, WM_SETFONT, static_cast<WPARAM>(::SendMessageA(old, WM_GETFONT, 0, 0)), FALSE);
    ::SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool focused = ::GetFocus() == old;
    Detach();
    Attach(fresh);
    if (focused) {
        ::SetFocus(fresh);
    }
    ::DestroyWindow(old);
    return true;
}
