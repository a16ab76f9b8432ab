// CRecordsPage: the third page, "Records" for a record database and
// "Resources" for a resource database. At the top a virtual list of the
// entries, one row each with the cells of `corvelle-dump --records`; below it
// a read-only rich-edit pane with the selected entry's text as
// `corvelle-dump --record N` prints it (its hex dump cut after 4 KB), and
// beside that the picture of a bitmap resource.
//
// Nothing happens at ListLoad but naming the tab: the page asks the viewed
// database (read once, for every page) when it is first shown. The list
// holds no text: it asks for the cells it draws, which the model formats
// from the file's bytes, so 65535 entries cost the file and a small index.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/ListerFont.h"
#include "model/RecordsView.h"
#include "model/ViewedDatabase.h"
#include "viewer/ResizePage.h"
#include "viewer/RichEditControl.h"
#include "viewer/records/RecordPicture.h"

class CRecordsPage : public CResizePage {
public:
    CRecordsPage();
    ~CRecordsPage() override;

    // The database the page shows (which outlives it), and the Lister font
    // and tab stops (twips) of its pane. Names the tab after the header's
    // resource flag; must come before the sheet's window is made.
    void SetSource(const corvelle::ViewedDatabase& viewed, const ListerFont& font, const int* tabStops, int tabCount);

    // The Lister's find command on this page: selects the next entry that
    // holds the text (in the file's code page) and makes it visible; false
    // when there is none.
    bool Search(const std::wstring& needle, int flags) override;

    // The commands table's keys: W wraps the pane, Tab goes between the list
    // and the pane, Ctrl+C and Ctrl+A copy and select; the host's EM_SETSEL
    // and WM_COPY do the same for whichever of the two had the focus last.
    // The menu key and Shift+F10 on the list open its export menu.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetUpList();
    void SetUpPane();
    void Layout();
    bool OnListNotify(const NMHDR& header, LRESULT& result);
    void OnGetDispInfo(LVITEMA& item, bool wide);
    std::optional<size_t> SelectedEntry() const;
    void ShowSelectedEntry();
    void ShowPaneText(const std::string& text);
    void SelectOnly(size_t index);
    void ToggleWrap();
    bool ListHasFocus() const;
    void SelectAll();
    void Copy();
    // The export menu at `screen`, or under the focused row when the
    // keyboard asked for it (x and y -1).
    void ShowExportMenu(POINT screen);
    // The selected rows in the list's order.
    std::vector<size_t> SelectedRows() const;

    // Whether there are entries.
    bool HasEntries() const { return m_view != nullptr && m_view->HasEntries(); }

    const corvelle::ViewedDatabase* m_viewed = nullptr;
    std::unique_ptr<corvelle::RecordsView> m_view;  // the page's texts, in UTF-8
    ListerFont m_listerFont{};
    std::vector<int> m_tabStops;

    HWND m_hList = nullptr;
    CRichEditControl m_pane;
    CRecordPicture m_picture;
    HWND m_hLastFocus = nullptr;  // the list or the pane, for the host's commands
    std::string m_cell;           // the cell being handed to the list, UTF-8
    std::wstring m_wideCell;      // and as the list takes it
    std::optional<size_t> m_shownEntry;
    bool m_bRefreshPosted = false;
    bool m_bWrap = false;
};
