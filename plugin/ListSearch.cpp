// ListSearchText and ListSearchTextW: the Lister's find command, carried out
// on the page in front: the Records page looks through its entries, the Text
// page through its document's UTF-16 text, the others through their control's
// text in the ANSI code page.
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

// A text of `codePage` as UTF-16, and back; empty when it does not convert.
std::wstring WideOf(const char* text, UINT codePage) {
    const int length = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

std::string NarrowOf(const std::wstring& text, UINT codePage) {
    const int length = ::WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length) - 1);
    return narrow;
}

// The report's page (and the About page): their control's text in the ANSI
// code page.
int SearchControlText(CListSheet& sheet, HWND page, const std::string& needle, int nSearchParameter) {
    const HWND control = FindRichEditChild(page);
    if (control == nullptr) return kListerError;

    // Rich edit 1.0 counts CR LF as two characters, as the text has them,
    // so positions in the text are the control's positions.
    CHARRANGE selection{};
    ::SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    // The dump page is searched in the whole report it holds, which may
    // not all be in its control yet.
    CListpagePty& dumpPage = sheet.m_pageDump;
    const bool onDumpPage = dumpPage.GetSafeHwnd() == page;
    const std::string controlText = onDumpPage ? std::string() : ControlText(control);
    const std::string& text = onDumpPage ? dumpPage.m_strText : controlText;
    const corvelle::TextRange current{static_cast<size_t>(selection.cpMin < 0 ? 0 : selection.cpMin),
                                      static_cast<size_t>(selection.cpMax < 0 ? 0 : selection.cpMax)};
    const auto hit = corvelle::FindMatch(text, needle, current, nSearchParameter);
    if (!hit) return kListerError;
    // A hit beyond what has arrived brings the report in up to it; one
    // beyond what memory lets the control hold cannot be shown.
    if (onDumpPage && !dumpPage.ShowReportUpTo(hit->end)) return kListerError;

    CHARRANGE found{static_cast<LONG>(hit->start), static_cast<LONG>(hit->end)};
    ::SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&found));
    ::SendMessageA(control, EM_SCROLLCARET, 0, 0);
    return kListerOk;
}

// The find command on the page in front of `hListWin`, the search text in
// UTF-16 and given to each page in what its text is held in.
int SearchFrontPage(HWND hListWin, const std::wstring& needle, int nSearchParameter) {
    CList* frame = CList::FromFrameHandle(hListWin);
    CListSheet* sheet = frame != nullptr ? frame->GetListSheet() : nullptr;
    const HWND page = sheet != nullptr ? sheet->GetActivePageHwnd() : nullptr;
    if (page == nullptr) return kListerError;
    if (sheet->HasTextPage() && page == sheet->m_pageText.GetSafeHwnd()) {
        const std::u16string units(needle.begin(), needle.end());
        return sheet->m_pageText.Search(units, nSearchParameter) ? kListerOk : kListerError;
    }
    // The Records page looks through its entries, not through a text; they
    // hold the file's bytes, in the code page of the options.
    if (page == sheet->m_pageRecords.GetSafeHwnd()) {
        const std::string inFile = NarrowOf(needle, sheet->m_pageRecords.Encoding().windowsCodePage);
        return sheet->m_pageRecords.Search(inFile, nSearchParameter) ? kListerOk : kListerError;
    }
    return SearchControlText(*sheet, page, NarrowOf(needle, CP_ACP), nSearchParameter);
}

}  // namespace

extern "C" int __stdcall ListSearchText(HWND hListWin, char* pszSearchString, int nSearchParameter) {
    try {
        if (pszSearchString == nullptr) return kListerError;
        return SearchFrontPage(hListWin, WideOf(pszSearchString, CP_ACP), nSearchParameter);
    } catch (...) {
        // Nothing may unwind into the host.
        return kListerError;
    }
}

// The host asks with a UTF-16 search text where the plug-in offers this: a
// book's text in any script is then found as typed.
extern "C" int __stdcall ListSearchTextW(HWND hListWin, WCHAR* pszSearchString, int nSearchParameter) {
    try {
        if (pszSearchString == nullptr) return kListerError;
        return SearchFrontPage(hListWin, pszSearchString, nSearchParameter);
    } catch (...) {
        return kListerError;
    }
}
