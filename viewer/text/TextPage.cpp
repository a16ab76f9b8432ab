#include "viewer/text/TextPage.h"

#include <new>

#include "model/ReportFillPlan.h"
#include "res/resource.h"
#include "viewer/ClipboardText.h"
#include "viewer/ControlRelayout.h"
#include "viewer/ControlSearch.h"
#include "viewer/PageKeys.h"
#include "viewer/PageTab.h"
#include "viewer/WindowGeometry.h"

namespace {

// Between two paragraphs, in twips: a book's paragraphs are set apart.
constexpr LONG kSpaceAfterParagraph = 80;
// The control's character height when the Lister font sets none: 10 points.
constexpr LONG kFallbackHeight = 200;
constexpr char kTabTitle[] = "Text";
// Posted when the page is first shown, to start the fill should the sheet not
// give the page its rectangle (which starts it too).
constexpr UINT kMsgStartFill = WM_APP + 0x150;

}  // namespace

CTextPage::CTextPage() : CResizePage(IDD_TEXT_PAGE, corvelle::PageKind::kText) {
    SetTitle(kTabTitle);
    m_filler.m_onProgress = [this] { ShowFillProgress(m_hWnd, kTabTitle, m_filler); };
}

CTextPage::~CTextPage() = default;

void CTextPage::SetSource(const corvelle::ViewedDatabase& viewed, const ListerFont& font) {
    m_viewed = &viewed;
    m_listerFont = font;
}

void CTextPage::DoDataExchange() { BindControl(m_richEdit, IDC_TEXT_TEXT); }

BOOL CTextPage::OnInitDialog() {
    CResizePage::OnInitDialog();
    ApplyFormats();
    // Keep the selection while another window has the focus: the host's copy
    // command arrives when the focus may be elsewhere.
    m_richEdit.SetOptions(ECOOP_OR, ECO_SAVESEL);
    if (!LoadDocument()) return TRUE;
    CHARFORMATA format{};
    m_richEdit.GetDefaultCharFormat(format);
    m_fill = std::make_unique<CDocumentFill>(*m_document, format.yHeight > 0 ? format.yHeight : kFallbackHeight);
    return TRUE;
}

void CTextPage::StartFill() {
    if (!m_fill || m_bFillStarted) return;
    m_bFillStarted = true;
    m_filler.Start(*m_fill, m_hWnd);
    ShowFillProgress(m_hWnd, kTabTitle, m_filler);
}

bool CTextPage::LoadDocument() {
    if (m_viewed == nullptr || !m_viewed->HasModel()) {
        ShowProblem(m_viewed != nullptr ? m_viewed->ReadProblem() : std::string());
        return false;
    }
    try {
        m_document = std::make_unique<corvelle::PageDocument>(m_viewed->Database(), m_viewed->Encoding());
    } catch (const std::bad_alloc&) {
        m_document.reset();
        ShowProblem("There is not enough memory to read the text.");
        return false;
    }
    if (!m_document->HasDocument()) {
        // The header promised a text that the records do not give.
        m_document.reset();
        ShowProblem("This database holds no text to read.");
        return false;
    }
    return true;
}

void CTextPage::ShowProblem(const std::string& text) {
    m_richEdit.SetText(text);
}

void CTextPage::ApplyFormats() {
    m_richEdit.FollowListerFont(m_listerFont);
    // On the empty control: the paragraphs take it on as they arrive.
    PARAFORMAT2 format{};
    format.dwMask = PFM_SPACEAFTER;
    format.dySpaceAfter = kSpaceAfterParagraph;
    m_richEdit.SetSel(0, -1);
    m_richEdit.SetParaFormat(format);
    m_richEdit.SetSel(0, 0);
    ApplyWrap();
}

void CTextPage::ApplyWrap() {
    // Line width 0 wraps at the window's edge, 1 does not wrap.
    m_richEdit.SetTargetDevice(nullptr, m_bWrap ? 0 : 1);
    m_richEdit.ShowHorizontalScrollBar(!m_bWrap);
}

void CTextPage::ChangeLayout(const RECT& rect, bool wrapChanged) {
    ControlLayout layout;
    layout.rect = &rect;
    layout.wrapChanged = wrapChanged;
    layout.applyWrap = [this] { ApplyWrap(); };
    layout.prepareFresh = [this] {
        ApplyFormats();
        m_richEdit.SetOptions(ECOOP_OR, ECO_SAVESEL);
    };
    ::ChangeLayout(m_richEdit, m_filler, layout);
}

void CTextPage::SetPageRect(RECT* pRect) {
    CResizePage::SetPageRect(pRect);
    if (m_richEdit.GetSafeHwnd() != nullptr) {
        const RECT rect = ControlRectWithPage(m_richEdit.GetSafeHwnd());
        ChangeLayout(rect, false);
    }
    StartFill();
}

void CTextPage::ToggleWrap() {
    m_bWrap = !m_bWrap;
    if (m_richEdit.GetSafeHwnd() != nullptr) {
        ChangeLayout(WindowRectIn(m_richEdit.GetSafeHwnd(), m_hWnd), true);
    }
}

bool CTextPage::Search(const std::wstring& wide, int flags) {
    const std::u16string needle(wide.begin(), wide.end());
    if (!m_fill || m_richEdit.GetSafeHwnd() == nullptr) return false;
    StartFill();
    // The whole text, not only what has arrived: a match further on is
    // brought in.
    const auto hit = FindFromSelection(m_richEdit, m_fill->WholeText(), needle, flags);
    if (!hit || !m_filler.ShowUpTo(hit->end)) return false;
    SelectAndShow(m_richEdit, *hit);
    return true;
}

void CTextPage::CopySelection() {
    StartFill();
    const CHARRANGE selection = m_richEdit.GetSel();
    if (m_fill && corvelle::SelectionMeansWholeReport(selection.cpMin, selection.cpMax, m_richEdit.TextLength(),
                                                      m_filler.ControlHoldsWholeReport())) {
        // Never half a text: the control holds only a part of it.
        const std::u16string& units = m_fill->WholeText();
        PutTextOnClipboard(m_hWnd, std::wstring(units.begin(), units.end()));
        return;
    }
    m_richEdit.Copy();
}

BOOL CTextPage::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if (PageKeyAction(*this, pMsg->wParam).command == corvelle::Command::kToggleWrap) ToggleWrap();
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

LRESULT CTextPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && m_filler.OnTimer(static_cast<UINT_PTR>(wParam))) return 0;
    if (message == WM_SHOWWINDOW && wParam != FALSE && m_fill && !m_bFillStarted) {
        ::PostMessageA(m_hWnd, kMsgStartFill, 0, 0);
    }
    if (message == kMsgStartFill) {
        StartFill();
        return 0;
    }
    return CResizePage::WindowProc(message, wParam, lParam);
}
