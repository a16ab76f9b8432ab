#include "viewer/SheetHostWnd.h"

#include "viewer/SheetStyle.h"

static_assert(WS_CHILD == corvelle::kWsChild && WS_VISIBLE == corvelle::kWsVisible &&
                  WS_DISABLED == corvelle::kWsDisabled &&
                  WS_CLIPSIBLINGS == corvelle::kWsClipSiblings && DS_SETFONT == corvelle::kDsSetFont,
              "window style bits");

CSheetHostWnd::~CSheetHostWnd() { m_pSheet.reset(); }

int CSheetHostWnd::CreateSheet() {
    if (!m_pSheet) {
        return -1;
    }
    if (m_pSheet->GetSafeHwnd() != nullptr) {
        return 0;
    }
    // A viewer created while the Lister window is not the active window (in
    // the background, or embedded in another window) starts disabled so that
    // it does not take the activation; WM_SETFOCUS enables it.
    const bool listerActive = ::GetActiveWindow() == ::GetParent(m_hWnd);
    const DWORD style = corvelle::SheetCreateStyle(listerActive);
    if (!m_pSheet->Create(m_hWnd, style, 0)) {
        return -1;
    }
    // Dialog navigation treats the sheet as one control of this window that
    // holds further controls.
    HWND hSheet = m_pSheet->GetSafeHwnd();
    ::SetWindowLongPtrA(hSheet, GWL_EXSTYLE,
                        ::GetWindowLongPtrA(hSheet, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    ::SetWindowLongPtrA(hSheet, GWL_STYLE, ::GetWindowLongPtrA(hSheet, GWL_STYLE) | WS_TABSTOP);
    return 0;
}

LRESULT CSheetHostWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        if (DefaultProc(message, wParam, lParam) == -1) {
            return -1;
        }
        // A sheet that cannot be built (out of memory) fails the creation
        // rather than leaving an empty frame.
        try {
            return CreateSheet();
        } catch (...) {
            return -1;
        }
    }
    case WM_SETFOCUS: {
        HWND hSheet = m_pSheet ? m_pSheet->GetSafeHwnd() : nullptr;
        if (hSheet != nullptr) {
            ::EnableWindow(hSheet, TRUE);
        }
        LRESULT result = DefaultProc(message, wParam, lParam);
        if (hSheet != nullptr) {
            ::SetFocus(hSheet);
        }
        return result;
    }
    case WM_WINDOWPOSCHANGED: {
        // The default processing sends WM_SIZE and WM_MOVE; the layout follows.
        LRESULT result = DefaultProc(message, wParam, lParam);
        if (m_pSheet) {
            m_pSheet->FitToParent(FALSE);
        }
        return result;
    }
    default:
        return DefaultProc(message, wParam, lParam);
    }
}
