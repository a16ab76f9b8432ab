#include "viewer/about/HyperLink.h"

#include <commctrl.h>

#include "about/LinkFit.h"

namespace {

constexpr UINT_PTR kToolId = 1;

// The static control's window text, whole.
std::string WindowText(HWND hWnd) {
    const int length = ::GetWindowTextLengthA(hWnd);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hWnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

HFONT ControlFont(HWND hWnd) {
    return reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
}

// TTTOOLINFOA grew with later common-control versions, and an older
// comctl32 (no v6 manifest, as in a plug-in) rejects a size it does not know.
TTTOOLINFOA MakeToolInfo(HWND hOwner) {
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = hOwner;
    info.uId = kToolId;
    return info;
}

const corvelle::LinkPalette kPalette;

}  // namespace

COLORREF CHyperLink::s_crLink = kPalette.link;
COLORREF CHyperLink::s_crActive = kPalette.active;
COLORREF CHyperLink::s_crVisited = kPalette.visited;
COLORREF CHyperLink::s_crHover = kPalette.hover;
corvelle::UniqueCursor CHyperLink::s_hHandCursor;

CHyperLink::CHyperLink() = default;

CHyperLink::~CHyperLink() {
    if (m_hWnd != nullptr && m_linkFont) {
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hOriginalFont), FALSE);
    }
}

BOOL CHyperLink::AttachLink(HWND hStatic) {
    if (!Attach(hStatic)) return FALSE;
    PreSubclassWindow();
    return TRUE;
}

void CHyperLink::PreSubclassWindow() {
    const std::string text = WindowText(m_hWnd);
    if (m_strUrl.empty()) m_strUrl = text;
    // An image static keeps no text: the call changes nothing for it.
    if (text.empty()) ::SetWindowTextA(m_hWnd, m_strUrl.c_str());

    m_hOriginalFont = ControlFont(m_hWnd);
    if (m_hOriginalFont != nullptr) {
        RemakeLinkFont(m_hOriginalFont);
        if (m_linkFont) {
            ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), TRUE);
        }
        FitToText();
    } else {
        // Image statics have no font: there is no text to fit the window to.
        m_dwLinkStyle &= ~corvelle::LS_AUTOSIZE;
    }

    if ((m_dwLinkStyle & corvelle::LS_NOHANDCURSOR) == 0) LoadHandCursor();
    CreateToolTip();
}

void CHyperLink::RemakeLinkFont(HFONT hControlFont) {
    LOGFONTA logFont{};
    if (::GetObjectA(hControlFont, sizeof(logFont), &logFont) == 0) return;
    logFont.lfUnderline = (m_dwLinkStyle & corvelle::LS_UNDERLINE) != 0 ? 1 : 0;
    m_linkFont.Reset(::CreateFontIndirectA(&logFont));
}

void CHyperLink::CreateToolTip() {
    m_toolTip.Reset(::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                                      nullptr, nullptr, nullptr));
    if (!m_toolTip) return;
    // No TTF_SUBCLASS: the link hands the tooltip its mouse messages itself.
    TTTOOLINFOA info = MakeToolInfo(m_hWnd);
    ::GetClientRect(m_hWnd, &info.rect);
    info.lpszText = const_cast<char*>(m_strUrl.c_str());
    ::SendMessageA(m_toolTip.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CHyperLink::SetLinkUrl(const char* pszUrl) {
    m_strUrl = pszUrl != nullptr ? pszUrl : "";
    if (m_hWnd == nullptr) return;
    ::ShowWindow(m_hWnd, SW_HIDE);
    FitToText();
    if (m_toolTip) {
        TTTOOLINFOA info = MakeToolInfo(m_hWnd);
        info.lpszText = const_cast<char*>(m_strUrl.c_str());
        ::SendMessageA(m_toolTip.Get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
}

BOOL CHyperLink::ChangeLinkStyle(DWORD dwRemove, DWORD dwAdd, BOOL bApply) {
    uint32_t style = m_dwLinkStyle;
    if (!corvelle::ChangeStyleBits(style, dwRemove, dwAdd)) return FALSE;
    m_dwLinkStyle = style;
    if (!bApply || m_hWnd == nullptr) return TRUE;

    if (((dwAdd | dwRemove) & corvelle::LS_UNDERLINE) != 0) {
        if (HFONT hFont = ControlFont(m_hWnd)) {
            RemakeLinkFont(hFont);
            if (m_linkFont) ApplyFont(m_linkFont.Get());
        }
    }
    if ((dwAdd & corvelle::LS_AUTOSIZE) != 0) FitToText();
    if ((dwRemove & corvelle::LS_HOVERCOLOR) != 0) Repaint();
    return TRUE;
}

void CHyperLink::ApplyFont(HFONT hFont) {
    if (m_hWnd == nullptr || hFont == nullptr) return;
    // Taken before the old link font goes, as `hFont` may be that font.
    LOGFONTA logFont{};
    if (::GetObjectA(hFont, sizeof(logFont), &logFont) == 0) return;
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_linkFont.Reset(::CreateFontIndirectA(&logFont));
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), TRUE);
    FitToText();
    ::ShowWindow(m_hWnd, SW_SHOW);
}

void CHyperLink::FitToText() {
    if ((m_dwLinkStyle & corvelle::LS_AUTOSIZE) == 0 || m_hWnd == nullptr) return;

    corvelle::LinkFitInput input;
    RECT rcWindow{};
    ::GetWindowRect(m_hWnd, &rcWindow);
    if (HWND hParent = ::GetParent(m_hWnd)) {
        ::MapWindowPoints(HWND_DESKTOP, hParent, reinterpret_cast<POINT*>(&rcWindow), 2);
    }
    input.window = {rcWindow.left, rcWindow.top, rcWindow.right, rcWindow.bottom};
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    input.client = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};

    const std::string text = WindowText(m_hWnd);
    HDC hDC = ::GetDC(m_hWnd);
    if (hDC == nullptr) return;
    HGDIOBJ hOldFont = ::SelectObject(hDC, m_linkFont.Get());
    SIZE extent{};
    ::GetTextExtentPoint32A(hDC, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hWnd, hDC);
    input.text = {extent.cx, extent.cy};
    input.staticStyle = static_cast<uint32_t>(::GetWindowLongA(m_hWnd, GWL_STYLE));

    const corvelle::WindowPlacement placement = corvelle::FitWindowToText(input);
    ::MoveWindow(m_hWnd, placement.x, placement.y, placement.width, placement.height, TRUE);
}

void CHyperLink::ActivateLink() {
    const int result = OpenUrl(m_strUrl.c_str(), SW_SHOWNORMAL);
    if (result > 32) {
        m_bVisited = TRUE;
        Repaint();
    } else {
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(result);
    }
}

void CHyperLink::Repaint() {
    if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CHyperLink::ReflectCtlColor(HWND hControl, HDC hDC, LRESULT* pResult) {
    auto* link = dynamic_cast<CHyperLink*>(FromHandle(hControl));
    if (link == nullptr || pResult == nullptr) return FALSE;
    *pResult = reinterpret_cast<LRESULT>(link->OnCtlColor(hDC));
    return TRUE;
}

HBRUSH CHyperLink::OnCtlColor(HDC hDC) {
    corvelle::LinkState state;
    state.hover = m_bHover != FALSE;
    state.active = m_bActive != FALSE;
    state.visited = m_bVisited != FALSE;
    corvelle::LinkPalette palette;
    palette.link = s_crLink;
    palette.active = s_crActive;
    palette.visited = s_crVisited;
    palette.hover = s_crHover;
    ::SetTextColor(hDC, corvelle::ChooseLinkColor(state, m_dwLinkStyle, palette));
    ::SetBkMode(hDC, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::PreTranslateMessage(MSG* pMsg) {
    if (pMsg != nullptr && m_toolTip) {
        ::SendMessageA(m_toolTip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    }
    return FALSE;
}

void CHyperLink::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_toolTip) return;
    MSG msg{};
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD pos = ::GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(pos));
    msg.pt.y = static_cast<short>(HIWORD(pos));
    ::SendMessageA(m_toolTip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CHyperLink::OnMouseMove(POINT point) {
    if (!m_bHover) {
        m_bHover = TRUE;
        Repaint();
        ::SetCapture(m_hWnd);
        return;
    }
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    if (!::PtInRect(&rcClient, point)) {
        m_bHover = FALSE;
        ::ReleaseCapture();
        Repaint();
    }
}

void CHyperLink::OnLButtonDown() {
    if ((m_dwLinkStyle & corvelle::LS_FOCUSONCLICK) != 0) ::SetFocus(m_hWnd);
    if ((m_dwLinkStyle & corvelle::LS_OPENONPRESS) != 0) ActivateLink();
    m_bActive = TRUE;
}

void CHyperLink::OnLButtonUp() {
    if (m_bActive && (m_dwLinkStyle & corvelle::LS_OPENONPRESS) == 0) ActivateLink();
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The host's message loop never shows the plug-in its mouse messages (the
    // thread hook passes on keyboard input only), so the tooltip gets them
    // here or it would never appear.
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        RelayToToolTip(message, wParam, lParam);
    }
    switch (message) {
    case WM_NCHITTEST:
        // A static is transparent to the mouse unless it says otherwise.
        return HTCLIENT;
    case WM_SETCURSOR:
        if (!s_hHandCursor) return FALSE;
        ::SetCursor(s_hHandCursor.Get());
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp();
        return 0;
    case WM_SETFOCUS:
        m_bActive = TRUE;
        Repaint();
        return 0;
    case WM_KILLFOCUS:
        m_bHover = FALSE;
        m_bActive = FALSE;
        Repaint();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            ActivateLink();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
