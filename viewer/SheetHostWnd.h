// CSheetHostWnd: a plain child window that owns one CPropertySheetRz, creates
// the sheet's window inside itself, keeps it filling its client area and
// passes the focus on to it. The viewer frame is one.
#pragma once

#include <windows.h>

#include <memory>

#include "viewer/PropertySheetRz.h"
#include "viewer/WindowObject.h"

class CSheetHostWnd : public CWindowObject {
public:
    CSheetHostWnd() = default;
    // Deletes the sheet (which destroys its window).
    ~CSheetHostWnd() override;

    virtual CPropertySheetRz* GetSheet() { return m_pSheet.get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Creates the sheet window as a child of this window (run from WM_CREATE):
    // 0 when the sheet window exists, -1 when there is no sheet to create or
    // its window cannot be created, which makes this window's creation fail.
    int CreateSheet();

    // Supplied by the derived window's constructor; null if that failed.
    std::unique_ptr<CPropertySheetRz> m_pSheet;
};
