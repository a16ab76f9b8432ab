// ListSearchText: the Lister's find command, carried out on the rich-edit
// control of the page in front.
#include <richedit.h>

#include <cstring>
#include <string>

#include "plugin/ListerExports.h"
#include "plugin/SearchRules.h"
#include "viewer/List.h"

namespace {

// The page's text control: the first child of the rich-edit class, so that
// the dump page and the About page are searched alike.
HWND FindRichEditChild(HWND hPage) {
    for (HWND child = ::GetWindow(hPage, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = {};
        ::GetClassNameA(child, className, sizeof className);
        if (::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, className, 8, "RICHEDIT", 8) ==
            CSTR_EQUAL) {
            return child;
        }
    }
    return nullptr;
}

std::string ControlText(HWND hControl) {
    const int length = ::GetWindowTextLengthA(hControl);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hControl, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

}  // namespace

extern "C" int __stdcall ListSearchText(HWND hListWin, char* pszSearchString,
                                        int nSearchParameter) {
    try {
        if (pszSearchString == nullptr) return kListerError;
        CList* frame = CList::FromFrameHandle(hListWin);
        CListSheet* sheet = frame != nullptr ? frame->GetListSheet() : nullptr;
        const HWND page = sheet != nullptr ? sheet->GetActivePageHwnd() : nullptr;
        // The Records page looks through its entries, not through a text.
        if (page != nullptr && page == sheet->m_pageRecords.GetSafeHwnd()) {
            return sheet->m_pageRecords.Search(pszSearchString, nSearchParameter) ? kListerOk : kListerError;
        }
        const HWND control = page != nullptr ? FindRichEditChild(page) : nullptr;
        if (control == nullptr) return kListerError;

        // Rich edit 1.0 counts CR LF as two characters, as the text has them,
        // so positions in the text are the control's positions.
        CHARRANGE selection{};
        ::SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        // The dump page is searched in the whole report it holds, which may
        // not all be in its control yet.
        CListpagePty& dumpPage = sheet->m_pageDump;
        const bool onDumpPage = dumpPage.GetSafeHwnd() == page;
        const std::string controlText = onDumpPage ? std::string() : ControlText(control);
        const std::string& text = onDumpPage ? dumpPage.m_strText : controlText;
        const corvelle::TextRange current{static_cast<size_t>(selection.cpMin < 0 ? 0 : selection.cpMin),
                                          static_cast<size_t>(selection.cpMax < 0 ? 0 : selection.cpMax)};
        const auto hit = corvelle::FindMatch(text, pszSearchString, current, nSearchParameter);
        if (!hit) return kListerError;
        // A hit beyond what has arrived brings the report in up to it; one
        // beyond what memory lets the control hold cannot be shown.
        if (onDumpPage && !dumpPage.ShowReportUpTo(hit->end)) return kListerError;

        CHARRANGE found{static_cast<LONG>(hit->start), static_cast<LONG>(hit->end)};
        ::SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&found));
        ::SendMessageA(control, EM_SCROLLCARET, 0, 0);
        return kListerOk;
    } catch (...) {
        return kListerError;
    }
}
