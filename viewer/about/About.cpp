#include "viewer/about/About.h"

#include <richedit.h>

#include "about/AboutText.h"
#include "res/Maker.h"
#include "res/resource.h"
#include "viewer/ControlSearch.h"
#include "viewer/Module.h"
#include "viewer/WideText.h"

namespace {

// Loads string table entry `id` whole, however long: LoadStringW with no
// buffer hands out the resource's own text and its length, which the
// ANSI call cannot do.
bool LoadWholeString(unsigned id, std::string& text) {
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(CorvelleModule(), id, reinterpret_cast<wchar_t*>(&resource), 0);
    if (length <= 0 || resource == nullptr) return false;
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, resource, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    text.assign(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, resource, length, &text[0], bytes, nullptr, nullptr);
    return true;
}

}  // namespace

CAbout::CAbout() : CResizePage(IDD_ABOUT_PAGE, corvelle::PageKind::kAbout) {
    // Our own version, not a derived one: the links get their URLs and style
    // now, and the page's first display attaches them with both.
    CAbout::ResetFirstShow();
}

CAbout::~CAbout() = default;

void CAbout::ResetFirstShow() {
    CResizePage::ResetFirstShow();
    m_linkMail.SetLinkUrl(CORVELLE_MAKER_MAILTO);
    m_linkMail.ChangeLinkStyle(0, corvelle::LS_OPENONPRESS, TRUE);
    m_linkWeb.SetLinkUrl(CORVELLE_MAKER_WEB);
    m_linkWeb.ChangeLinkStyle(0, corvelle::LS_OPENONPRESS, TRUE);
}

void CAbout::DoDataExchange() {
    if (m_linkWeb.GetSafeHwnd() == nullptr) m_linkWeb.AttachLink(GetDlgItem(IDC_LINK_WEB));
    if (m_linkMail.GetSafeHwnd() == nullptr) m_linkMail.AttachLink(GetDlgItem(IDC_LINK_MAIL));
    if (m_richInfo.GetSafeHwnd() == nullptr) BindControl(m_richInfo, IDC_ABOUT_INFO);
    m_richInfo.SetText(m_strInfo);
}

BOOL CAbout::OnInitDialog() {
    CResizePage::OnInitDialog();
    m_strInfo = corvelle::ComposeAboutText(&LoadWholeString);
    DoDataExchange();
    // Keeps the selection when the box loses and regains the focus, so a
    // select-all from the host survives a click on a tab.
    m_richInfo.SetOptions(ECOOP_OR, ECO_SAVESEL);
    return TRUE;
}

void CAbout::SetPageRect(RECT* pRect) {
    CResizePage::SetPageRect(pRect);
    HWND hInfo = m_richInfo.GetSafeHwnd();
    if (hInfo == nullptr || m_hWnd == nullptr) return;
    ::GetWindowRect(hInfo, &m_rcInfo);
    ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&m_rcInfo), 2);
    m_rcInfo.right -= m_nDeltaX;
    m_rcInfo.bottom -= m_nDeltaY;
    ::MoveWindow(hInfo, m_rcInfo.left, m_rcInfo.top, m_rcInfo.right - m_rcInfo.left,
                 m_rcInfo.bottom - m_rcInfo.top, TRUE);
}

bool CAbout::Search(const std::wstring& needle, int flags) {
    const auto hit = FindFromSelection(m_richInfo, ControlText(m_richInfo), corvelle::NarrowWide(needle, CP_ACP), flags);
    if (!hit) return false;
    SelectAndShow(m_richInfo, *hit);
    return true;
}

BOOL CAbout::PreTranslateMessage(MSG* pMsg) {
    if (pMsg == nullptr) return FALSE;
    switch (pMsg->message) {
    case EM_SETSEL:
        m_richInfo.SetSel(0, -1);
        return TRUE;
    case WM_COPY:
        m_richInfo.Copy();
        return TRUE;
    default:
        // Keys go on up to the sheet, which forwards them or navigates.
        return FALSE;
    }
}

// The picture statics load their bitmaps from the template themselves, and
// not every static control frees them again when it is destroyed (Wine's
// does not): a viewer that showed this page left three bitmaps behind. Taking
// each picture out of its control and deleting it here frees it exactly once
// either way, since a control that no longer holds a picture has none to free.
void CAbout::ReleasePictures() {
    for (int id : {IDB_BANNER, IDC_LINK_WEB, IDC_LINK_MAIL}) {
        HWND picture = GetDlgItem(id);
        if (picture == nullptr) continue;
        HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (bitmap != nullptr) ::DeleteObject(bitmap);
    }
}

LRESULT CAbout::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ReleasePictures();
    if (message == WM_CTLCOLORSTATIC) {
        // A link chooses its own colour; the page hands the message back to it.
        LRESULT result = 0;
        if (CHyperLink::ReflectCtlColor(reinterpret_cast<HWND>(lParam),
                                        reinterpret_cast<HDC>(wParam), &result)) {
            return result;
        }
    }
    return CResizePage::WindowProc(message, wParam, lParam);
}
