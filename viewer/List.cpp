#include "viewer/List.h"

#include <new>

namespace {

constexpr char kDumpPageTitle[] = "Image Dump";
// The sheet's window text; the sheet has no title bar, so it is never shown.
constexpr char kSheetCaption[] = "CList";

}  // namespace

CListSheet::CListSheet(const char* pszCaption, HWND hParent, UINT iSelectPage)
    : CPropertySheetRz(pszCaption, hParent, iSelectPage) {
    AddPage(&m_pageDump);
    m_pageDump.SetTitle(kDumpPageTitle);
    AddPage(&m_pageAbout);
    AddPage(&m_pageRecords);
}

CListSheet::~CListSheet() { DestroySheetWindow(); }

void CListSheet::AddTextPage(bool startHere) {
    if (m_bTextPage || GetSafeHwnd() != nullptr) return;
    AddPage(&m_pageText);
    m_bTextPage = true;
    if (startHere) SetStartPage(3);
}

CList::CList() {
    // Constructed inside the host's call: nothing may throw out of it. Without
    // a sheet the frame's window creation fails.
    try {
        m_pSheet.reset(new (std::nothrow) CListSheet(kSheetCaption, nullptr, 0));
    } catch (...) {
        m_pSheet.reset();
    }
}

CList::~CList() {
    m_bDeleting = true;
    m_pSheet.reset();
    if (HWND hWnd = m_hWnd) {
        ::DestroyWindow(hWnd);
    }
}

BOOL CList::Create(HWND hParent, DWORD dwStyle, const RECT& rect, UINT_PTR nId) {
    return CreateEx(0, dwStyle, rect, hParent, nId, nullptr);
}

BOOL CList::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, HWND hParent,
                     UINT_PTR nId, const char* pszText) {
    if (!CSheetHostWnd::CreateEx(dwExStyle, dwStyle, rect, hParent, nId, pszText)) {
        return FALSE;
    }
    m_bOwnedByWindow = true;
    return TRUE;
}

CListSheet* CList::GetSheet() { return static_cast<CListSheet*>(m_pSheet.get()); }

CList* CList::FromFrameHandle(HWND hWnd) {
    return dynamic_cast<CList*>(CWindowObject::FromHandle(hWnd));
}

void CList::PostNcDestroy() {
    if (m_bOwnedByWindow && !m_bDeleting) {
        delete this;
    }
}
