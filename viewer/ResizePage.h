// CResizePage: the base of every page of the resizable sheet, and the one
// interface the sheet and the entry points ask a page through: which page it
// is (for the commands table) and the host's find command. It owns the PROPSHEETPAGE that describes it to the
// sheet, keeps the rectangle its controls are laid out for, and moves itself
// to the rectangles the sheet gives it, recording by how much its right and
// bottom edges moved so that a derived page can move its controls the same.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <string>

#include "model/Commands.h"
#include "viewer/WindowObject.h"

class CResizePage : public CWindowObject {
public:
    // `nIDTemplate`: the page's dialog template in the plug-in module. The tab
    // shows the template's caption unless SetTitle gives another one.
    CResizePage(UINT nIDTemplate, corvelle::PageKind kind);
    // Destroys the page window if it still exists.
    ~CResizePage() override;

    // Makes the next WM_SHOWWINDOW repeat the first-show adjustment of
    // m_rcPage. Derived pages may set up their own state here as well.
    virtual void ResetFirstShow();
    // Moves the page to `pRect` (sheet client coordinates) and records the
    // deltas. Overrides call this first, then move their controls by
    // m_nDeltaX / m_nDeltaY (see MoveControlWithPage).
    virtual void SetPageRect(RECT* pRect);

    // The description the sheet creates the page from. Its lParam is this
    // object, which binds the page window at WM_INITDIALOG.
    const PROPSHEETPAGEA& GetPropSheetPage() const { return m_psp; }
    // Replaces the template's caption as the tab title.
    void SetTitle(const char* pszTitle);

    corvelle::PageKind Kind() const { return m_kind; }
    // The Lister's find command on this page (SearchRules' flags): selects
    // the next match and shows it; false when there is none.
    virtual bool Search(const std::wstring& needle, int flags) { return false; }

    HWND GetDlgItem(int nIDDlgItem) const;
    // Binds the control `nIDDlgItem` of this page to `control` (Attach).
    BOOL BindControl(CWindowObject& control, int nIDDlgItem);

    int m_nDeltaX = 0;  // old right edge minus new: positive when narrower
    int m_nDeltaY = 0;  // old bottom edge minus new: positive when shorter
    RECT m_rcPage{};    // sheet client coordinates; what the controls are laid out for
    BOOL m_bFirstShow = TRUE;
    bool m_bNoKeyForward = false;  // TRUE stops the sheet forwarding keys to the host

protected:
    // Runs at WM_INITDIALOG once the page is bound; the answer is the dialog
    // manager's (TRUE: focus to the first control). Overrides call this first.
    virtual BOOL OnInitDialog();
    // Binds the derived page's controls; called by OnInitDialog before the
    // page's rectangle is taken.
    virtual void DoDataExchange() {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Moves the child `hControl` so that it keeps its margins to the page's
    // right and bottom edges after SetPageRect: right by -m_nDeltaX, bottom by
    // -m_nDeltaY, left and top unchanged.
    void MoveControlWithPage(HWND hControl) const;
    // Where MoveControlWithPage would move it to (page client coordinates).
    RECT ControlRectWithPage(HWND hControl) const;

private:
    static INT_PTR CALLBACK PageDialogProc(HWND hDlg, UINT message, WPARAM wParam,
                                           LPARAM lParam);
    void OnFirstShow();

    corvelle::PageKind m_kind;
    PROPSHEETPAGEA m_psp{};
    std::string m_strTitle;
};
