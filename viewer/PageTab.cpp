#include "viewer/PageTab.h"

#include <commctrl.h>
#include <prsht.h>

#include "viewer/ReportFiller.h"
#include "model/ReportFillPlan.h"

namespace {

HWND TabControlOf(HWND hPage) {
    const HWND hSheet = hPage != nullptr ? ::GetParent(hPage) : nullptr;
    return hSheet != nullptr ? reinterpret_cast<HWND>(::SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0)) : nullptr;
}

// The page's tab in its sheet's tab control, or -1.
int TabIndexOf(HWND hPage) {
    const HWND hSheet = hPage != nullptr ? ::GetParent(hPage) : nullptr;
    if (hSheet == nullptr) return -1;
    return static_cast<int>(::SendMessageA(hSheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(hPage), 0));
}

}  // namespace

std::string PageTabTitle(HWND hPage) {
    const HWND hTab = TabControlOf(hPage);
    const int index = TabIndexOf(hPage);
    char text[128] = {};
    if (hTab == nullptr || index < 0) return std::string();
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(hTab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

void ShowFillProgress(HWND hPage, const std::string& title, const CReportFiller& filler) {
    const HWND hTab = TabControlOf(hPage);
    const int index = TabIndexOf(hPage);
    if (hTab == nullptr || index < 0 || title.empty()) return;
    // The title says the text is still arriving, and goes back to the page's
    // own title once it is all in (or cut, which its last line says).
    const std::string shown =
        filler.IsArriving() ? corvelle::ArrivingTabTitle(title, filler.ShownBytes(), filler.TotalBytes()) : title;
    if (shown == PageTabTitle(hPage)) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(shown.c_str());
    ::SendMessageA(hTab, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    // A last tab that got narrower leaves its old edge on the screen (Wine's
    // tab control repaints only the tabs themselves).
    ::InvalidateRect(hTab, nullptr, TRUE);
}
