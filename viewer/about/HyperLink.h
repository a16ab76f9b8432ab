// CHyperLink: turns a static control of a dialog (text or image) into a
// hyperlink. It takes the existing window over through the one window binding
// of the plug-in and creates no window of its own except its tooltip.
#pragma once

#include <windows.h>

#include <string>

#include "about/LinkStyle.h"
#include "base/UniqueHandle.h"
#include "viewer/WindowObject.h"

class CHyperLink : public CWindowObject {
public:
    CHyperLink();
    // Gives the control back the font it had, then frees the link font and
    // the tooltip: the control may outlive its link for a moment.
    ~CHyperLink() override;

    // Binds the static control `hStatic` and runs the attach step: URL and
    // window text fill each other in, the link font is made, the hand cursor
    // loaded and the tooltip created.
    BOOL AttachLink(HWND hStatic);

    void SetLinkUrl(const char* pszUrl);
    const std::string& GetLinkUrl() const { return m_strUrl; }
    // Removes, then adds style bits; refuses a change that does both to one
    // bit. With `bApply` and a window, the font, size and colour follow.
    BOOL ChangeLinkStyle(DWORD dwRemove, DWORD dwAdd, BOOL bApply);
    DWORD GetLinkStyle() const { return m_dwLinkStyle; }
    // Makes a copy of `hFont` the link font; `hFont` may be the link font itself.
    void ApplyFont(HFONT hFont);
    void FitToText();
    // Opens the URL; marks the link visited, or beeps and says why it failed.
    void ActivateLink();

    // Opens `pszUrl` with the shell, else with the registry's HTML command.
    // Greater than 32 on success, otherwise the failing call's code.
    static int OpenUrl(const char* pszUrl, int nShowCmd);
    static void ShowOpenError(int nError);
    // Reads the default value of hKeyRoot\pszSubKey into `pszOut` (at least
    // 260 characters). ERROR_SUCCESS, or the registry's error code with
    // `pszOut` untouched.
    static LONG ReadRegDefault(HKEY hKeyRoot, const char* pszSubKey, char* pszOut);
    static void LoadHandCursor();

    // The page reflects WM_CTLCOLORSTATIC to the link it is for: nonzero with
    // the brush in *pResult when `hControl` is one of ours.
    static BOOL ReflectCtlColor(HWND hControl, HDC hDC, LRESULT* pResult);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    static COLORREF s_crLink;
    static COLORREF s_crActive;
    static COLORREF s_crVisited;
    static COLORREF s_crHover;
    // Shared by every link; loaded once, released when the module goes.
    static corvelle::UniqueCursor s_hHandCursor;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PreSubclassWindow();
    HBRUSH OnCtlColor(HDC hDC);
    void OnMouseMove(POINT point);
    void OnLButtonDown();
    void OnLButtonUp();
    void Repaint();
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    // A copy of the control's current font with the underline as styled.
    void RemakeLinkFont(HFONT hControlFont);
    void CreateToolTip();

    BOOL m_bActive = FALSE;
    BOOL m_bHover = FALSE;
    BOOL m_bVisited = FALSE;
    DWORD m_dwLinkStyle = corvelle::kDefaultLinkStyle;
    std::string m_strUrl;
    corvelle::UniqueFont m_linkFont;
    corvelle::UniqueWindow m_toolTip;
    HFONT m_hOriginalFont = nullptr;  // the dialog's, not ours to delete
};
