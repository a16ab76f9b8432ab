// ListSearchText and ListSearchTextW: the Lister's find command, carried out
// by the page in front, each in what its text is held in (the report's ANSI
// bytes, the entries' code page, the book's Unicode text).
#include <string>

#include "plugin/ListerExports.h"
#include "viewer/List.h"
#include "viewer/WideText.h"

namespace {

// The find command on the page in front of `hListWin`, the search text in UTF-16.
int SearchFrontPage(HWND hListWin, const std::wstring& needle, int nSearchParameter) {
    CList* frame = CList::FromFrameHandle(hListWin);
    CListSheet* sheet = frame != nullptr ? frame->GetListSheet() : nullptr;
    CResizePage* page = sheet != nullptr ? sheet->GetActivePageObject() : nullptr;
    if (page == nullptr) return kListerError;
    return page->Search(needle, nSearchParameter) ? kListerOk : kListerError;
}

// The host's ANSI search text as UTF-16; empty when it does not convert.
std::wstring WideOf(const char* text) {
    return corvelle::WidenDeviceText(text, CP_ACP);
}

}  // namespace

extern "C" int __stdcall ListSearchText(HWND hListWin, char* pszSearchString, int nSearchParameter) {
    try {
        if (pszSearchString == nullptr) return kListerError;
        return SearchFrontPage(hListWin, WideOf(pszSearchString), nSearchParameter);
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
