#include "viewer/records/RecordsPage.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "res/resource.h"
#include "viewer/RichEditDefaults.h"
#include "viewer/RichEditText.h"
#include "viewer/WideText.h"
#include "viewer/records/ColumnWidth.h"

namespace {

// Posted to the page when the list's selection changes: a select-all of
// 65535 rows changes them all, and the pane is refreshed once for it.
constexpr UINT kMsgRefreshPane = WM_APP + 0x140;
constexpr int kMargin = 6;
// The list takes this share of the page's height, the pane the rest.
constexpr int kListShareNumerator = 2, kListShareDenominator = 5;

// A column's cells are measured in this many first rows, those the user sees
// first; a wider cell further down is cut with an ellipsis, as the list cuts
// any cell, until the column is widened.
constexpr size_t kMeasuredRows = 64;

// The widest, in the list's font, of `sample` and the column's cells in the
// first rows: a category label or a resource type can be wider than the sample.
std::string WidestCell(HWND hList, const corvelle::RecordsView& view, size_t column, const char* sample) {
    const CTextMeasure measure(hList);
    std::string widest = sample, cell;
    int widestWidth = measure.Width(widest);
    for (size_t row = 0; row < std::min(view.RowCount(), kMeasuredRows); ++row) {
        cell.clear();
        view.AppendCell(row, column, cell);
        const int width = measure.Width(cell);
        if (width > widestWidth) {
            widestWidth = width;
            widest = cell;
        }
    }
    return widest;
}

}  // namespace

CRecordsPage::CRecordsPage() : CResizePage(IDD_RECORDS_PAGE, corvelle::PageKind::kRecords) {}

CRecordsPage::~CRecordsPage() = default;

void CRecordsPage::SetSource(const corvelle::ViewedDatabase& viewed, const ListerFont& font, const int* tabStops,
                             int tabCount) {
    m_viewed = &viewed;
    m_view = std::make_unique<corvelle::RecordsView>(viewed);
    m_listerFont = font;
    m_tabStops.assign(tabStops, tabStops + (tabStops != nullptr && tabCount > 0 ? tabCount : 0));
    // The list view's class, registered before the sheet makes the page.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    SetTitle(m_view->Title());
}

BOOL CRecordsPage::OnInitDialog() {
    CResizePage::OnInitDialog();
    m_hList = GetDlgItem(IDC_RECORDS_LIST);
    // Cells are asked for in UTF-16, converted from the file's code page.
    if (m_hList != nullptr) ::SendMessageA(m_hList, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(m_hWnd), NF_REQUERY);
    BindControl(m_pane, IDC_RECORDS_PANE);
    m_picture.Bind(GetDlgItem(IDC_RECORDS_PICTURE));
    SetUpPane();
    SetUpList();
    m_hLastFocus = m_hList;
    ShowSelectedEntry();
    Layout();
    return TRUE;
}

void CRecordsPage::SetUpList() {
    if (m_hList == nullptr) return;
    ListView_SetExtendedListViewStyle(m_hList, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    if (!HasEntries()) return;
    const size_t columns = m_view->ColumnCount();
    for (size_t column = 0; column < columns; ++column) {
        const char* title = m_view->ColumnTitle(column);
        const char* sample = m_view->ColumnSample(column);
        int width = 360;
        if (sample != nullptr) {
            width = ColumnWidth(m_hList, title, WidestCell(m_hList, *m_view, column, sample).c_str());
        }
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        lvc.fmt = LVCFMT_LEFT;
        lvc.cx = width;
        lvc.pszText = const_cast<char*>(title);
        lvc.iSubItem = static_cast<int>(column);
        ::SendMessageA(m_hList, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc));
    }
    // Set once: the list asks for the rows it draws, never for all of them.
    ::SendMessageA(m_hList, LVM_SETITEMCOUNT, m_view->RowCount(), LVSICF_NOINVALIDATEALL);
}

void CRecordsPage::SetUpPane() {
    m_pane.FollowListerFont(m_listerFont);
    m_pane.DisableUndo();
    // The selection stays while the list has the focus: the host's copy
    // command may arrive then.
    m_pane.SetOptions(ECOOP_OR, ECO_SAVESEL);
    m_pane.SetTargetDevice(nullptr, 1);
}

void CRecordsPage::Layout() {
    if (m_hWnd == nullptr || m_hList == nullptr) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int width = std::max<int>(0, client.right - 2 * kMargin);
    const int height = std::max<int>(0, client.bottom - 3 * kMargin);
    const int listHeight = height * kListShareNumerator / kListShareDenominator;
    const int paneTop = kMargin + listHeight + kMargin;
    const int paneHeight = height - listHeight;
    ::MoveWindow(m_hList, kMargin, kMargin, width, listHeight, TRUE);
    int paneWidth = width;
    if (m_picture.IsShown()) {
        const SIZE size = m_picture.Size();
        const int pictureWidth = std::min<int>(size.cx, width / 2);
        paneWidth = std::max(0, width - pictureWidth - kMargin);
        ::MoveWindow(m_picture.GetSafeHwnd(), kMargin + paneWidth + kMargin, paneTop, pictureWidth,
                     std::min<int>(size.cy, paneHeight), TRUE);
    }
    ::MoveWindow(m_pane.GetSafeHwnd(), kMargin, paneTop, paneWidth, paneHeight, TRUE);
}

std::optional<size_t> CRecordsPage::SelectedEntry() const {
    if (m_hList == nullptr || !HasEntries()) return std::nullopt;
    // The row with the focus when it is selected, else the first selected.
    const int focused = ListView_GetNextItem(m_hList, -1, LVNI_FOCUSED);
    int index = focused >= 0 && (ListView_GetItemState(m_hList, focused, LVIS_SELECTED) & LVIS_SELECTED) != 0
                    ? focused
                    : ListView_GetNextItem(m_hList, -1, LVNI_SELECTED);
    if (index < 0 || static_cast<size_t>(index) >= m_view->RowCount()) return std::nullopt;
    return static_cast<size_t>(index);
}

void CRecordsPage::ShowSelectedEntry() {
    m_bRefreshPosted = false;
    const std::optional<size_t> entry = SelectedEntry();
    if (entry && entry == m_shownEntry) return;
    m_shownEntry = entry;
    const bool hadPicture = m_picture.IsShown();
    m_picture.Clear();
    if (m_view == nullptr) {
        ShowPaneText(std::string());
    } else {
        if (entry) m_picture.Show(m_view->Picture(*entry));
        ShowPaneText(m_view->PaneText(entry));
    }
    if (hadPicture || m_picture.IsShown()) Layout();
}

void CRecordsPage::ShowPaneText(const std::string& text) {
    std::u16string units;
    corvelle::AppendRichEditUnits(text, units);
    m_pane.SetText(std::wstring(units.begin(), units.end()));
    // The whole text takes the report's tab stops but its first, which the
    // report keeps for its narrow first column: at it a label shorter than
    // that ("AIM:", "Title:") put its value apart from all the others.
    PARAFORMAT2 format{};
    format.dwMask = PFM_TABSTOPS;
    const int stops = static_cast<int>(m_tabStops.size()) - 1;
    const int count = corvelle::UsableTabCount(stops, stops > 0);
    format.cTabCount = static_cast<SHORT>(count);
    for (int i = 0; i < count; ++i) format.rgxTabs[i] = m_tabStops[static_cast<size_t>(i) + 1];
    m_pane.SetSel(0, -1);
    m_pane.SetParaFormat(format);
    m_pane.SetSel(0, 0);
}

void CRecordsPage::OnGetDispInfo(LVITEMA& item, bool wide) {
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    m_cell.clear();
    if (m_view != nullptr && item.iItem >= 0 && item.iSubItem >= 0) {
        m_view->AppendCell(static_cast<size_t>(item.iItem), static_cast<size_t>(item.iSubItem), m_cell);
    }
    const size_t room = static_cast<size_t>(item.cchTextMax) - 1;
    // The model's UTF-8, decoded from the file's code page (the options'
    // Encoding); cut to the list's buffer, never inside a character pair.
    m_wideCell = corvelle::WidenUtf8(m_cell);
    if (wide) {
        size_t length = std::min(m_wideCell.size(), room);
        if (length < m_wideCell.size() && length > 0 && m_wideCell[length - 1] >= 0xD800 &&
            m_wideCell[length - 1] <= 0xDBFF) {
            --length;
        }
        auto* out = reinterpret_cast<wchar_t*>(item.pszText);
        std::memcpy(out, m_wideCell.data(), length * sizeof(wchar_t));
        out[length] = L'\0';
        return;
    }
    const std::string ansi = corvelle::NarrowWide(m_wideCell, CP_ACP);
    const size_t length = std::min(ansi.size(), room);
    std::memcpy(item.pszText, ansi.data(), length);
    item.pszText[length] = '\0';
}

bool CRecordsPage::OnListNotify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header))->item,
                      header.code == LVN_GETDISPINFOW);
        result = 0;
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) != 0 && !m_bRefreshPosted) {
            m_bRefreshPosted = ::PostMessageA(m_hWnd, kMsgRefreshPane, 0, 0) != FALSE;
            if (!m_bRefreshPosted) ShowSelectedEntry();
        }
        result = 0;
        return true;
    }
    case LVN_ODSTATECHANGED:
        if (!m_bRefreshPosted) m_bRefreshPosted = ::PostMessageA(m_hWnd, kMsgRefreshPane, 0, 0) != FALSE;
        result = 0;
        return true;
    case NM_SETFOCUS:
        m_hLastFocus = m_hList;
        return false;
    default:
        return false;
    }
}

LRESULT CRecordsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (header != nullptr && header->hwndFrom == m_hList && m_hList != nullptr &&
            OnListNotify(*header, result)) {
            return result;
        }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_SETFOCUS && reinterpret_cast<HWND>(lParam) == m_pane.GetSafeHwnd()) {
            m_hLastFocus = m_pane.GetSafeHwnd();
        }
        break;
    case WM_SIZE: {
        const LRESULT result = CResizePage::WindowProc(message, wParam, lParam);
        Layout();
        return result;
    }
    case WM_NOTIFYFORMAT:
        if (reinterpret_cast<HWND>(wParam) == m_hList && m_hList != nullptr) return NFR_UNICODE;
        break;
    case kMsgRefreshPane:
        ShowSelectedEntry();
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == m_hList && m_hList != nullptr) {
            ShowExportMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
        break;
    default:
        break;
    }
    return CResizePage::WindowProc(message, wParam, lParam);
}
