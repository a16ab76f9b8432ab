// The Records page's keys (as the commands table gives them) and the host's
// commands on it: wrapping, moving between list and pane, copy, select-all,
// the export menu and the find command.
#include "viewer/records/RecordsPage.h"

#include <commctrl.h>

#include "viewer/ClipboardText.h"
#include "viewer/PageKeys.h"
#include "viewer/RichEditText.h"
#include "viewer/WideText.h"
#include "viewer/records/ExportMenu.h"

BOOL CRecordsPage::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Their key-downs opened the menu already; the system would open it
        // a second time from these.
        return pMsg->hwnd == m_hList && (pMsg->wParam == VK_APPS || pMsg->wParam == VK_F10);
    case WM_SYSKEYDOWN:
    case WM_KEYDOWN: {
        const corvelle::KeyAction action = PageKeyAction(*this, pMsg->wParam);
        if (action.command == corvelle::Command::kExportMenu) {
            // The list's menu: Shift+F10 comes as a system key, the menu key as a plain one.
            const bool systemKey = pMsg->message == WM_SYSKEYDOWN;
            if (pMsg->hwnd != m_hList || systemKey != (pMsg->wParam == VK_F10)) return FALSE;
            ShowExportMenu(POINT{-1, -1});
            return TRUE;
        }
        if (pMsg->message != WM_KEYDOWN) return FALSE;
        if (pMsg->hwnd == m_hList || pMsg->hwnd == m_pane.GetSafeHwnd()) m_hLastFocus = pMsg->hwnd;
        switch (action.command) {
        case corvelle::Command::kToggleWrap:
            ToggleWrap();
            return FALSE;  // the sheet still hands the key to the host, as on the report
        case corvelle::Command::kSwitchPane: {
            // Only two places to be: the sheet's own navigation would go on
            // to the tabs. The host still gets its copy of the key.
            const HWND next = ListHasFocus() ? m_pane.GetSafeHwnd() : m_hList;
            ::SetFocus(next);
            m_hLastFocus = next;
            const HWND sheet = ::GetParent(m_hWnd);
            if (sheet != nullptr) ::PostMessageA(::GetParent(sheet), pMsg->message, pMsg->wParam, pMsg->lParam);
            return TRUE;
        }
        case corvelle::Command::kCopy:
            Copy();
            return TRUE;
        case corvelle::Command::kSelectAll:
            SelectAll();
            return TRUE;
        default:
            return FALSE;
        }
    }
    case EM_SETSEL:
        SelectAll();
        return TRUE;
    case WM_COPY:
        Copy();
        return TRUE;
    default:
        return FALSE;
    }
}

void CRecordsPage::ToggleWrap() {
    m_bWrap = !m_bWrap;
    // Line width 0 wraps at the window's edge, 1 does not wrap.
    m_pane.SetTargetDevice(nullptr, m_bWrap ? 0 : 1);
    m_pane.ShowHorizontalScrollBar(!m_bWrap);
}

bool CRecordsPage::ListHasFocus() const {
    const HWND focus = ::GetFocus();
    if (focus == m_hList) return true;
    if (focus == m_pane.GetSafeHwnd()) return false;
    // The host's commands may come while the focus is elsewhere.
    return m_hLastFocus != m_pane.GetSafeHwnd();
}

void CRecordsPage::SelectAll() {
    if (!ListHasFocus()) {
        m_pane.SetSel(0, -1);
        return;
    }
    if (m_hList != nullptr) ListView_SetItemState(m_hList, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void CRecordsPage::Copy() {
    if (!ListHasFocus()) {
        m_pane.Copy();
        return;
    }
    if (!HasEntries() || m_hList == nullptr) return;
    // The selected rows as `corvelle-dump --records` prints them, under its
    // header line.
    std::u16string units;
    corvelle::AppendRichEditUnits(m_view->RowsText(SelectedRows()), units);
    PutTextOnClipboard(m_hWnd, std::wstring(units.begin(), units.end()));
}

void CRecordsPage::SelectOnly(size_t index) {
    ListView_SetItemState(m_hList, -1, 0, LVIS_SELECTED);
    const int row = static_cast<int>(index);
    ListView_SetItemState(m_hList, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(m_hList, row);
    ListView_EnsureVisible(m_hList, row, FALSE);
}

bool CRecordsPage::Search(const std::wstring& needle, int flags) {
    if (!HasEntries() || m_hList == nullptr) return false;
    const std::optional<size_t> found = m_view->Find(corvelle::NarrowWide(needle, CP_UTF8), SelectedEntry(), flags);
    if (!found) return false;
    SelectOnly(*found);
    // The pane shows the entry now, not after the host's next message.
    ShowSelectedEntry();
    return true;
}

void CRecordsPage::ShowExportMenu(POINT screen) {
    if (!HasEntries() || m_hList == nullptr) return;
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: under the focused row, or at the list's corner.
        RECT row{};
        const int focused = ListView_GetNextItem(m_hList, -1, LVNI_FOCUSED);
        if (focused < 0 || !ListView_GetItemRect(m_hList, focused, &row, LVIR_LABEL)) row = RECT{0, 0, 0, 0};
        screen = POINT{row.left, row.bottom};
        ::ClientToScreen(m_hList, &screen);
    }
    corvelle::RunExportMenu(m_hWnd, screen, *m_viewed, SelectedRows());
}

std::vector<size_t> CRecordsPage::SelectedRows() const {
    std::vector<size_t> selection;
    const size_t count = m_view->RowCount();
    for (int row = ListView_GetNextItem(m_hList, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_hList, row, LVNI_SELECTED)) {
        if (static_cast<size_t>(row) < count) selection.push_back(static_cast<size_t>(row));
    }
    return selection;
}
