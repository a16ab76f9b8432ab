// CPropertySheetRz: a property sheet that lives as a borderless child window
// inside a host window, fills the host's client area, keeps its tab control
// and active page sized to it, switches pages on Ctrl+digit, and hands the
// host application's keys to the host window even while one of its controls
// has the focus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "viewer/ResizePage.h"
#include "viewer/WindowObject.h"

// Posted by the sheet to itself to lay out a page that has just become active,
// after the property sheet has finished placing it.
constexpr UINT WM_RESIZEPAGE = WM_USER + 111;

class CPropertySheetRz : public CWindowObject {
public:
    // `hParent` is only recorded; the window is created by Create().
    CPropertySheetRz(const char* pszCaption, HWND hParent, UINT iSelectPage);
    // Destroys the sheet window if it still exists and gives back the
    // keyboard hook if this sheet took it.
    ~CPropertySheetRz() override;

    // Pages are shown in the order they are added; they must outlive the
    // sheet window.
    void AddPage(CResizePage* pPage);
    // The page the sheet opens on (from 0), for a Create still to come.
    void SetStartPage(UINT iPage) { m_nStartPage = iPage; }

    // Creates the sheet as a modeless child of `hParent` with `dwStyle` and
    // `dwExStyle` in place of the property sheet's own template styles. Its
    // standard buttons are hidden and disabled and the sheet ends above them.
    BOOL Create(HWND hParent, DWORD dwStyle, DWORD dwExStyle);
    // Destroys the sheet window (and with it the page windows).
    void DestroySheetWindow();

    // Fills the parent's client area; the tab control and the active page
    // keep their margins. Without `bForce` nothing happens when the size
    // already matches.
    void FitToParent(BOOL bForce);

    HWND GetTabControl() const;
    int GetPageCount() const;
    // The object of the page in front, or null when the sheet has no window.
    CResizePage* GetActivePageObject() const;
    // The window of the page in front, or null.
    HWND GetActivePageHwnd() const;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    // Runs once the property sheet has initialised its window.
    virtual BOOL OnInitDialog();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The rectangle the last layout gave the active page (sheet client
    // coordinates); every page that becomes active later is moved to it.
    RECT m_rcActivePage{};

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
    void Bind(HWND hWnd);
    void HideStandardButtons();
    BOOL ForwardKey(const MSG& msg, BOOL bConsume) const;

    std::string m_strCaption;
    HWND m_hWndParent = nullptr;
    UINT m_nStartPage = 0;
    std::vector<CResizePage*> m_pages;
    DWORD m_dwCreateStyle = 0;
    DWORD m_dwCreateExStyle = 0;
    bool m_bLaidOut = false;     // m_rcActivePage holds a layout
    bool m_bHoldsHook = false;   // this sheet took the keyboard hook
};
