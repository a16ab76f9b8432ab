// The viewer: the frame CList that the host knows by its window handle, and
// the sheet CListSheet inside it with the "Image Dump", About and Records
// pages, and for a database with a text (a book) the Text page.
//
// For the entry points:
//   auto* frame = new CList;                       // constructs sheet and pages
//   frame->Create(hLister, style, rect, id)        // or CreateEx(0, style, rect, hLister, id)
//       FALSE: no window; the caller still owns the object and deletes it.
//       TRUE: the window owns the object from now on (see below).
//   CListSheet* sheet = frame->GetSheet();         // also GetListSheet()
//   sheet->m_pageDump (CListpagePty): m_listerFont, SetTabStops(), m_strText,
//       ShowText(), ApplyCharFormat(), ApplyParaFormat(), m_bFirstShow
//   sheet->FitToParent(TRUE)
//   sheet->GetActivePageObject() / GetActivePageHwnd()   // the page in front
//   CList::FromFrameHandle(hWnd)                   // null for anything but a live frame
//   delete frame;                                  // ListCloseWindow: tears everything down
//   CWindowObject::UnregisterWindowClass();        // at DLL_PROCESS_DETACH (optional, safe)
//
// Ownership: deleting the frame deletes the sheet and destroys all windows.
// If the windows are destroyed without that (the Lister window goes away
// first), the frame deletes itself at its WM_NCDESTROY; its handle then no
// longer finds it, so a later ListCloseWindow frees nothing twice.
#pragma once

#include <windows.h>

#include <memory>

#include "model/ViewedDatabase.h"
#include "viewer/ListpagePty.h"
#include "viewer/PropertySheetRz.h"
#include "viewer/SheetHostWnd.h"
#include "viewer/about/About.h"
#include "viewer/records/RecordsPage.h"
#include "viewer/text/TextPage.h"

class CListSheet : public CPropertySheetRz {
public:
    CListSheet(const char* pszCaption, HWND hParent, UINT iSelectPage);
    // Destroys the sheet window first, so the page windows go with the
    // property sheet that created them, before the page objects.
    ~CListSheet() override;

    // Adds the Text page as the fourth tab, and makes it the one the sheet
    // opens on when `startHere`; both before the sheet's window is made.
    void AddTextPage(bool startHere);
    bool HasTextPage() const { return m_bTextPage; }

    // The file, read once; every page asks it. Declared before the pages,
    // so that it outlives them.
    std::unique_ptr<corvelle::ViewedDatabase> m_pViewed;
    CListpagePty m_pageDump;
    CAbout m_pageAbout;
    CRecordsPage m_pageRecords;  // "Records" or "Resources", built when first shown
    CTextPage m_pageText;        // "Text", built when first shown; only once added

private:
    bool m_bTextPage = false;
};

class CList : public CSheetHostWnd {
public:
    CList();
    ~CList() override;

    BOOL Create(HWND hParent, DWORD dwStyle, const RECT& rect, UINT_PTR nId);
    BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, HWND hParent, UINT_PTR nId,
                  const char* pszText = nullptr) override;

    CListSheet* GetSheet() override;
    CListSheet* GetListSheet() { return GetSheet(); }

    static CList* FromFrameHandle(HWND hWnd);

protected:
    void PostNcDestroy() override;

private:
    bool m_bOwnedByWindow = false;  // created: the window's end frees the object
    bool m_bDeleting = false;       // being deleted: the window's end must not
};
