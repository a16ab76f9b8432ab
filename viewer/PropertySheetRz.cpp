#include "viewer/PropertySheetRz.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "viewer/KeyHook.h"
#include "viewer/KeyRouting.h"
#include "viewer/Module.h"
#include "viewer/SheetStyle.h"
#include "viewer/WindowGeometry.h"

namespace {

// The sheet being created by PropertySheet on this thread: its callbacks get
// no user data, so this is how they find the object. Saved and restored
// around the call, so a nested creation cannot confuse it.
CPropertySheetRz* s_pCreatingSheet = nullptr;

// The extended dialog template's header, which the headers do not declare.
struct DialogTemplateExHeader {
    WORD dlgVer;
    WORD signature;  // 0xFFFF marks the extended form
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
};

// The button ids of a property sheet's button row (Apply has no public name).
constexpr int kApplyNowId = 0x3021;
constexpr int kStandardButtons[] = {IDOK, IDCANCEL, kApplyNowId, IDHELP};

// The sheet reads only the first fields of each page description; the size
// that comctl32 5.8 already knows keeps the sheet working with it too.
const UINT kPageDescriptionSize = PROPSHEETPAGEA_V2_SIZE;
const UINT kSheetHeaderSize = PROPSHEETHEADERA_V1_SIZE;

// Comctl32 passes its own copy of the template, but older versions passed the
// resource itself, which is read-only.
void MakeWritable(void* pData, size_t cb) {
    MEMORY_BASIC_INFORMATION info{};
    if (::VirtualQuery(pData, &info, sizeof(info)) == 0) {
        return;
    }
    const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE |
                           PAGE_EXECUTE_WRITECOPY;
    if ((info.Protect & writable) == 0) {
        DWORD oldProtect = 0;
        ::VirtualProtect(pData, cb, PAGE_READWRITE, &oldProtect);
    }
}

void ReplaceTemplateStyles(void* pTemplate, DWORD dwStyle, DWORD dwExStyle) {
    auto* ex = static_cast<DialogTemplateExHeader*>(pTemplate);
    if (ex->signature == 0xFFFF) {
        MakeWritable(ex, sizeof(*ex));
        ex->style = corvelle::ReplaceTemplateStyle(ex->style, dwStyle);
        ex->exStyle = dwExStyle;
        return;
    }
    auto* plain = static_cast<DLGTEMPLATE*>(pTemplate);
    MakeWritable(plain, sizeof(*plain));
    plain->style = corvelle::ReplaceTemplateStyle(plain->style, dwStyle);
    plain->dwExtendedStyle = dwExStyle;
}

}  // namespace

CPropertySheetRz::CPropertySheetRz(const char* pszCaption, HWND hParent, UINT iSelectPage)
    : m_strCaption(pszCaption != nullptr ? pszCaption : ""),
      m_hWndParent(hParent),
      m_nStartPage(iSelectPage) {}

CPropertySheetRz::~CPropertySheetRz() {
    DestroySheetWindow();
    if (m_bHoldsHook) {
        m_bHoldsHook = false;
        ReleaseKeyHook();
    }
}

void CPropertySheetRz::AddPage(CResizePage* pPage) {
    if (pPage != nullptr) {
        m_pages.push_back(pPage);
    }
}

BOOL CPropertySheetRz::Create(HWND hParent, DWORD dwStyle, DWORD dwExStyle) {
    if (m_hWnd != nullptr) {
        return TRUE;
    }
    if (m_pages.empty()) {
        return FALSE;
    }
    // One block of page descriptions, each kPageDescriptionSize bytes long:
    // the sheet steps through the array by each entry's dwSize.
    std::vector<unsigned char> pageBlock(m_pages.size() * kPageDescriptionSize);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        PROPSHEETPAGEA page = m_pages[i]->GetPropSheetPage();
        page.dwSize = kPageDescriptionSize;
        std::memcpy(&pageBlock[i * kPageDescriptionSize], &page, kPageDescriptionSize);
    }

    PROPSHEETHEADERA header{};
    header.dwSize = kSheetHeaderSize;
    header.dwFlags = PSH_MODELESS | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hwndParent = hParent;
    header.hInstance = CorvelleModule();
    header.pszCaption = m_strCaption.c_str();
    header.nPages = static_cast<UINT>(m_pages.size());
    header.nStartPage = m_nStartPage < m_pages.size() ? m_nStartPage : 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pageBlock.data());
    header.pfnCallback = &CPropertySheetRz::SheetCallback;

    m_dwCreateStyle = dwStyle;
    m_dwCreateExStyle = dwExStyle;
    m_hWndParent = hParent;
    CPropertySheetRz* previous = s_pCreatingSheet;
    s_pCreatingSheet = this;
    INT_PTR result = ::PropertySheetA(&header);
    s_pCreatingSheet = previous;

    HWND hWnd = (result != 0 && result != -1) ? reinterpret_cast<HWND>(result) : nullptr;
    if (hWnd != nullptr && m_hWnd == nullptr) {
        // A property sheet that skipped its initialisation callback.
        Bind(hWnd);
    }
    return hWnd != nullptr && hWnd == m_hWnd;
}

int CALLBACK CPropertySheetRz::SheetCallback(HWND hWnd, UINT message, LPARAM lParam) {
    CPropertySheetRz* self = s_pCreatingSheet;
    if (self == nullptr) {
        return 0;
    }
    if (message == PSCB_PRECREATE && lParam != 0) {
        ReplaceTemplateStyles(reinterpret_cast<void*>(lParam), self->m_dwCreateStyle,
                              self->m_dwCreateExStyle);
    } else if (message == PSCB_INITIALIZED && hWnd != nullptr && self->m_hWnd == nullptr) {
        self->Bind(hWnd);
    }
    return 0;
}

void CPropertySheetRz::Bind(HWND hWnd) {
    if (Attach(hWnd)) {
        OnInitDialog();
    }
}

BOOL CPropertySheetRz::OnInitDialog() {
    // A single row of tabs with scroll arrows: stacked rows would change the
    // display area whenever the sheet is narrowed.
    if (HWND hTab = GetTabControl()) {
        LONG_PTR style = ::GetWindowLongPtrA(hTab, GWL_STYLE);
        ::SetWindowLongPtrA(hTab, GWL_STYLE, style & ~static_cast<LONG_PTR>(TCS_MULTILINE));
    }
    HideStandardButtons();
    if (!m_bHoldsHook) {
        AcquireKeyHook();
        m_bHoldsHook = true;
    }
    return TRUE;
}

void CPropertySheetRz::HideStandardButtons() {
    RECT rcSheet{};
    ::GetWindowRect(m_hWnd, &rcSheet);
    bool found = false;
    LONG buttonTop = rcSheet.bottom;
    for (int id : kStandardButtons) {
        HWND hButton = ::GetDlgItem(m_hWnd, id);
        if (hButton == nullptr) {
            continue;
        }
        ::ShowWindow(hButton, SW_HIDE);
        ::EnableWindow(hButton, FALSE);
        RECT rcButton{};
        ::GetWindowRect(hButton, &rcButton);
        if (rcButton.top < buttonTop) {
            buttonTop = rcButton.top;
        }
        found = true;
    }
    if (found && buttonTop > rcSheet.top) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, rcSheet.right - rcSheet.left, buttonTop - rcSheet.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CPropertySheetRz::DestroySheetWindow() {
    if (HWND hWnd = m_hWnd) {
        // The binding goes at WM_NCDESTROY; the page windows go with the sheet.
        ::DestroyWindow(hWnd);
        if (m_hWnd != nullptr) {
            Detach();
        }
    }
    m_bLaidOut = false;
}

HWND CPropertySheetRz::GetTabControl() const {
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
}

int CPropertySheetRz::GetPageCount() const {
    HWND hTab = GetTabControl();
    if (hTab == nullptr) {
        return static_cast<int>(m_pages.size());
    }
    return static_cast<int>(::SendMessageA(hTab, TCM_GETITEMCOUNT, 0, 0));
}

HWND CPropertySheetRz::GetActivePageHwnd() const {
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
}

CResizePage* CPropertySheetRz::GetActivePageObject() const {
    HWND hPage = GetActivePageHwnd();
    if (hPage == nullptr) {
        return nullptr;
    }
    for (CResizePage* page : m_pages) {
        if (page->GetSafeHwnd() == hPage) {
            return page;
        }
    }
    return nullptr;
}

void CPropertySheetRz::FitToParent(BOOL bForce) {
    HWND hParent = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (hParent == nullptr) {
        return;
    }
    RECT rcParent{};
    ::GetClientRect(hParent, &rcParent);
    RECT rcSheet = WindowRectIn(m_hWnd, m_hWnd);
    HWND hTab = GetTabControl();
    RECT rcTab = hTab != nullptr ? WindowRectIn(hTab, m_hWnd) : RECT{};
    CResizePage* page = GetActivePageObject();
    RECT rcPage = page != nullptr ? WindowRectIn(page->GetSafeHwnd(), m_hWnd) : RECT{};

    corvelle::SheetFit fit = corvelle::PlanSheetFit(ToRect32(rcParent), ToRect32(rcSheet),
                                                    ToRect32(rcTab), ToRect32(rcPage),
                                                    bForce != FALSE);
    if (!fit.apply) {
        return;
    }
    MoveWindowTo(m_hWnd, ToRect(fit.sheet));
    if (hTab != nullptr) {
        MoveWindowTo(hTab, ToRect(fit.tab));
    }
    if (page != nullptr) {
        m_rcActivePage = ToRect(fit.page);
        m_bLaidOut = true;
        page->SetPageRect(&m_rcActivePage);
    }
}

BOOL CPropertySheetRz::ForwardKey(const MSG& msg, BOOL bConsume) const {
    BOOL posted = ::PostMessageA(::GetParent(m_hWnd), msg.message, msg.wParam, msg.lParam);
    return bConsume ? posted : FALSE;
}

BOOL CPropertySheetRz::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    CResizePage* page = GetActivePageObject();
    if (pMsg->message == WM_KEYDOWN && (page == nullptr || !page->m_bNoKeyForward)) {
        const auto key = static_cast<uint32_t>(pMsg->wParam);
        const corvelle::KeyStroke stroke = corvelle::StrokeOfVirtualKey(
            key, ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_MENU) < 0, ::GetKeyState(VK_SHIFT) < 0);
        const corvelle::PageKind kind = page != nullptr ? page->Kind() : corvelle::PageKind::kReport;
        const corvelle::KeyAction action = corvelle::ActionFor(kind, stroke, GetPageCount());
        if (action.command == corvelle::Command::kShowPage) {
            ::SendMessageA(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(action.page), 0);
        }
        switch (corvelle::RouteSheetKey(key)) {
        case corvelle::KeyRoute::ForwardAndKeep:
            ForwardKey(*pMsg, FALSE);
            break;
        case corvelle::KeyRoute::ForwardAndConsume:
            // A failed post is not handled, and the sheet's navigation does
            // not get the key either: it goes on up the chain and is then
            // dispatched as usual.
            return ForwardKey(*pMsg, TRUE);
        case corvelle::KeyRoute::Keep:
            break;
        }
    }
    // The property sheet's own handling: Ctrl+Tab, Ctrl+PageUp/PageDown switch
    // pages, everything else goes through dialog navigation.
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

BOOL CPropertySheetRz::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* pResult) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        // Also covers page changes made from the keyboard, which raise no
        // TCN_SELCHANGE.
        if (header != nullptr && header->code == static_cast<UINT>(PSN_SETACTIVE) &&
            m_hWnd != nullptr) {
            ::PostMessageA(m_hWnd, WM_RESIZEPAGE, 0, 0);
        }
    }
    return FALSE;
}

LRESULT CPropertySheetRz::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RESIZEPAGE: {
        // Posted, so it runs after the property sheet has placed the new page
        // and overrides that placement. Before the first layout there is no
        // rectangle to apply yet.
        CResizePage* page = GetActivePageObject();
        if (page != nullptr && m_bLaidOut) {
            page->SetPageRect(&m_rcActivePage);
        }
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
            ::PostMessageA(m_hWnd, WM_RESIZEPAGE, 0, 0);
        }
        break;
    }
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
