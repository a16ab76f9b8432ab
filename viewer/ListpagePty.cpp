#include "viewer/ListpagePty.h"

#include <richedit.h>

#include <cstring>

#include "res/resource.h"
#include "viewer/ClipboardText.h"
#include "viewer/ControlRelayout.h"
#include "viewer/ControlSearch.h"
#include "viewer/PageKeys.h"
#include "viewer/PageTab.h"
#include "model/ReportFillPlan.h"
#include "viewer/RichEditDefaults.h"
#include "viewer/WideText.h"
#include "viewer/WindowGeometry.h"

namespace {

// The single tab stop a page has before the host's font is known, in twips.
constexpr int kInitialTabStop = 2000;

}  // namespace

CListpagePty::CListpagePty()
    : CResizePage(IDD_DUMP_PAGE, corvelle::PageKind::kReport), m_pTabStops(new int[1]{kInitialTabStop}) {
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
        m_strTabTitle = PageTabTitle(m_hWnd);
    }
    m_filler.Start(m_reportText, m_hWnd);
}

bool CListpagePty::ShowReportUpTo(size_t offset) { return m_filler.ShowUpTo(offset); }

void CListpagePty::ShowFillProgress() { ::ShowFillProgress(m_hWnd, m_strTabTitle, m_filler); }

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
    if (m_richEdit.GetSafeHwnd() == nullptr) {
        return;
    }
    const RECT rect = ControlRectWithPage(m_richEdit.GetSafeHwnd());
    ChangeLayout(rect, false);
}

void CListpagePty::ChangeLayout(const RECT& rect, bool wrapChanged) {
    ControlLayout layout;
    layout.rect = &rect;
    layout.wrapChanged = wrapChanged;
    layout.applyWrap = [this] { ApplyWrap(); };
    layout.prepareFresh = [this] {
        ApplyCharFormat();
        ApplyParaFormat();
        m_richEdit.SetOptions(ECOOP_OR, ECO_SAVESEL);
    };
    ::ChangeLayout(m_richEdit, m_filler, layout);
}

bool CListpagePty::Search(const std::wstring& needle, int flags) {
    // The report holds the ANSI code page's bytes, as the host's own find does.
    const auto hit = FindFromSelection(m_richEdit, m_strText, corvelle::NarrowWide(needle, CP_ACP), flags);
    if (!hit || !ShowReportUpTo(hit->end)) return false;
    SelectAndShow(m_richEdit, *hit);
    return true;
}

void CListpagePty::ToggleWrap() {
    m_bNoWrap = !m_bNoWrap;
    if (m_richEdit.GetSafeHwnd() != nullptr) {
        ChangeLayout(WindowRectIn(m_richEdit.GetSafeHwnd(), m_hWnd), true);
    }
}

void CListpagePty::ApplyWrap() {
    // Line width 1 means "do not wrap", 0 "wrap at the window's edge".
    m_richEdit.SetTargetDevice(nullptr, m_bNoWrap ? 1 : 0);
    m_richEdit.ShowHorizontalScrollBar(m_bNoWrap);
}

BOOL CListpagePty::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if (PageKeyAction(*this, pMsg->wParam).command == corvelle::Command::kToggleWrap) {
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
