// A page's own tab in its property sheet: its title, read when a fill starts
// and changed while text arrives, so that the tab says how much is in
// ("Image Dump (42%)", "Text (7%)") and goes back to its own title after.
#pragma once

#include <windows.h>

#include <string>

class CReportFiller;

// The title of the tab of `hPage`; empty when the page is in no sheet.
std::string PageTabTitle(HWND hPage);
// `title` with the filler's percentage while its text arrives, else `title`
// itself, on the tab of `hPage` (nothing for an empty title).
void ShowFillProgress(HWND hPage, const std::string& title, const CReportFiller& filler);
