#include "viewer/ListpagePty.h"

#include <commctrl.h>
#include <prsht.h>
#include <richedit.h>

#include <cstring>

#include "res/resource.h"
#include "viewer/ClipboardText.h"
#include "viewer/ReportFillPlan.h"
#include "viewer/RichEditDefaults.h"

namespace {

// The single tab stop a page has before the host's font is known, in twips.
constexpr int kInitialTabStop = 2000;

}  // namespace

CListpagePty::CListpagePty()
    : CResizePage(IDD_DUMP_PAGE), m_pTabStops(new int[1]{kInitialTabStop}) {
    m_filler.m_onProgress = [this] { ShowFillProgress(); };
}

CListpagePty::~CListpagePty() = default;

void CListpagePty::DoDataExchange() { BindControl(m_richEdit, IDC_DUMP_TEXT); }

BOOL CListpagePty::OnInitDialog() {
    CResizePage::OnInitDialog();
    ApplyCharFormat();
    // Formats first: the text then takes them on as it goes in.
    ApplyParaFormat();
    ShowText();
    // Keep the selection while another window has the focus: the host's copy
    // command arrives when the focus may be elsewhere.
    m_richEdit.SetOptions(ECOOP_OR, ECO_SAVESEL);
    return TRUE;
}

void CListpagePty::ApplyCharFormat() {
    m_richEdit.FollowListerFont(m_listerFont);
}

void CListpagePty::ApplyParaFormat() {
    PARAFORMAT2 format{};
    format.dwMask = PFM_TABSTOPS | PFM_SPACEBEFORE;
    const int count = corvelle::UsableTabCount(m_nTabCount, m_pTabStops != nullptr);
    format.cTabCount = static_cast<SHORT>(count);
    for (int i = 0; i < count; ++i) {
        format.rgxTabs[i] = m_pTabStops[i];
    }
    format.dySpaceBefore = corvelle::kSpaceBeforeParagraph;
    m_richEdit.SetSel(0, -1);
    m_richEdit.SetParaFormat(format);
    // Collapsing the selection at the start also scrolls the first line in.
    m_richEdit.SetSel(0, 0);
}

void CListpagePty::ShowText() {
    if (m_strTabTitle.empty()) {
        m_strTabTitle = TabText();
    }
    m_filler.Start(m_strText, m_hWnd);
}

bool CListpagePty::ShowReportUpTo(size_t offset) { return m_filler.ShowUpTo(offset); }

// The tab of this page in its sheet's tab control, or -1.
int CListpagePty::TabIndex() const {
    const HWND hSheet = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (hSheet == nullptr) {
        return -1;
    }
    return static_cast<int>(
        ::SendMessageA(hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(m_hWnd), 0));
}

HWND CListpagePty::TabControl() const {
    const HWND hSheet = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    return hSheet != nullptr
               ? reinterpret_cast<HWND>(::SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0))
               : nullptr;
}

std::string CListpagePty::TabText() const {
    const HWND hTab = TabControl();
    const int index = TabIndex();
    char text[128] = {};
    if (hTab == nullptr || index < 0) {
        return std::string();
    }
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(hTab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

void CListpagePty::ShowFillProgress() {
    const HWND hTab = TabControl();
    const int index = TabIndex();
    if (hTab == nullptr || index < 0 || m_strTabTitle.empty()) {
        return;
    }
    // The title says the report is still arriving, and goes back to the
    // page's own title once it is all in (or cut, which its last line says).
    const std::string title =
        m_filler.IsArriving()
            ? corvelle::ArrivingTabTitle(m_strTabTitle, m_filler.ShownBytes(),
                                         m_filler.TotalBytes())
            : m_strTabTitle;
    if (title == TabText()) {
        return;
    }
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(title.c_str());
    ::SendMessageA(hTab, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void CListpagePty::SetTabStops(const int* pPositions, int count) {
    if (pPositions == nullptr || count <= 0) {
        m_pTabStops.reset();
        m_nTabCount = 0;
        return;
    }
    std::unique_ptr<int[]> stops(new int[static_cast<size_t>(count)]);
    std::memcpy(stops.get(), pPositions, sizeof(int) * static_cast<size_t>(count));
    m_pTabStops = std::move(stops);
    m_nTabCount = count;
}

void CListpagePty::SetPageRect(RECT* pRect) {
    CResizePage::SetPageRect(pRect);
    MoveControlWithPage(m_richEdit.GetSafeHwnd());
}

void CListpagePty::ToggleWrap() {
    m_bNoWrap = !m_bNoWrap;
    // Line width 1 means "do not wrap", 0 "wrap at the window's edge".
    m_richEdit.SetTargetDevice(nullptr, m_bNoWrap ? 1 : 0);
    m_richEdit.ShowHorizontalScrollBar(m_bNoWrap);
}

BOOL CListpagePty::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if (pMsg->wParam == 'W') {
            ToggleWrap();
        }
        // Not handled: the sheet still forwards the key to the host.
        return FALSE;
    case EM_SETSEL:
        m_richEdit.SetSel(0, -1);
        return TRUE;
    case WM_COPY:
        CopySelection();
        return TRUE;
    default:
        return FALSE;
    }
}

void CListpagePty::CopySelection() {
    const CHARRANGE selection = m_richEdit.GetSel();
    if (corvelle::SelectionMeansWholeReport(selection.cpMin, selection.cpMax,
                                            m_richEdit.TextLength(),
                                            m_filler.ControlHoldsWholeReport())) {
        // Never half a report: the control holds only a part of it.
        PutTextOnClipboard(m_hWnd, m_strText);
        return;
    }
    m_richEdit.Copy();
}

LRESULT CListpagePty::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && m_filler.OnTimer(static_cast<UINT_PTR>(wParam))) {
        return 0;
    }
    return CResizePage::WindowProc(message, wParam, lParam);
}
