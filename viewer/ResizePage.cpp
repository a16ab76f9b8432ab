#include "viewer/ResizePage.h"

#include "viewer/Module.h"
#include "viewer/WindowGeometry.h"

CResizePage::CResizePage(UINT nIDTemplate, corvelle::PageKind kind) : m_kind(kind) {
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = CorvelleModule();
    m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
    m_psp.pfnDlgProc = &CResizePage::PageDialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

CResizePage::~CResizePage() {
    // Normally the sheet has destroyed the page window already; if not, it
    // must not outlive the object its messages are routed to.
    if (HWND hWnd = Detach()) {
        ::DestroyWindow(hWnd);
    }
}

void CResizePage::ResetFirstShow() { m_bFirstShow = TRUE; }

void CResizePage::SetTitle(const char* pszTitle) {
    m_strTitle = pszTitle != nullptr ? pszTitle : "";
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_strTitle.c_str();
}

HWND CResizePage::GetDlgItem(int nIDDlgItem) const {
    return m_hWnd != nullptr ? ::GetDlgItem(m_hWnd, nIDDlgItem) : nullptr;
}

BOOL CResizePage::BindControl(CWindowObject& control, int nIDDlgItem) {
    return control.Attach(GetDlgItem(nIDDlgItem));
}

BOOL CResizePage::OnInitDialog() {
    DoDataExchange();
    m_rcPage = WindowRectIn(m_hWnd, ::GetParent(m_hWnd));
    return TRUE;
}

void CResizePage::OnFirstShow() {
    // The sheet moves a new page into its display area (and may resize it)
    // between WM_INITDIALOG and the first show: the controls are still laid
    // out for the template's size, now at the page's actual position.
    RECT rcNow = WindowRectIn(m_hWnd, ::GetParent(m_hWnd));
    m_rcPage = ToRect(corvelle::PlacePageRect(ToRect32(m_rcPage), rcNow.left, rcNow.top));
    m_bFirstShow = FALSE;
}

void CResizePage::SetPageRect(RECT* pRect) {
    if (pRect == nullptr) {
        return;
    }
    corvelle::SizeDelta delta = corvelle::PageDelta(ToRect32(m_rcPage), ToRect32(*pRect));
    m_nDeltaX = delta.dx;
    m_nDeltaY = delta.dy;
    if (m_hWnd != nullptr) {
        MoveWindowTo(m_hWnd, *pRect);
    }
    m_rcPage = *pRect;
}

void CResizePage::MoveControlWithPage(HWND hControl) const {
    if (hControl == nullptr || m_hWnd == nullptr) {
        return;
    }
    MoveWindowTo(hControl, ControlRectWithPage(hControl));
}

RECT CResizePage::ControlRectWithPage(HWND hControl) const {
    const RECT rc = WindowRectIn(hControl, m_hWnd);
    return ToRect(corvelle::ShrinkBy(ToRect32(rc), corvelle::SizeDelta{m_nDeltaX, m_nDeltaY}));
}

LRESULT CResizePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        if (m_bFirstShow) {
            OnFirstShow();
        }
        return result;
    }
    case WM_NOTIFY: {
        // Let the sheet see the page's notifications first (it re-lays out a
        // page that becomes active); unhandled, they go on as usual.
        LRESULT result = 0;
        CWindowObject* parent = FromHandle(::GetParent(m_hWnd));
        if (parent != nullptr && parent->OnChildNotify(message, wParam, lParam, &result)) {
            return result;
        }
        break;
    }
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

INT_PTR CALLBACK CResizePage::PageDialogProc(HWND hDlg, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    // Only the binding happens here; every later message reaches the page's
    // WindowProc through the binding before the dialog manager sees it.
    if (message != WM_INITDIALOG) {
        return FALSE;
    }
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    auto* page = psp != nullptr ? reinterpret_cast<CResizePage*>(psp->lParam) : nullptr;
    if (page == nullptr || !page->Attach(hDlg)) {
        return TRUE;
    }
    return page->OnInitDialog();
}
