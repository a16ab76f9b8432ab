// The About page of an open viewer as the host finds it, and the text its
// information box is to hold. Shared by the About page and link tests.
#pragma once

#include <windows.h>

#include <string>

#include "Harness.h"
#include "res/AboutText.h"
#include "res/resource.h"

namespace corvelle::host {

struct AboutParts {
  HWND page = nullptr;
  HWND info = nullptr;
  HWND banner = nullptr;
  HWND label = nullptr;
  HWND linkMail = nullptr;
  HWND linkWeb = nullptr;
  bool IsComplete() const { return page && info && banner && label && linkMail && linkWeb; }
};

// The About page is the sheet's page that holds the information box.
inline AboutParts FindAboutParts(HWND sheet) {
  AboutParts parts;
  for (HWND page : PagesOf(sheet)) {
    if (HWND info = FindChild(page, kRichEditClass, IDC_ABOUT_INFO)) {
      parts.page = page;
      parts.info = info;
    }
  }
  if (!parts.page) return parts;
  parts.banner = GetDlgItem(parts.page, IDB_BANNER);
  parts.linkMail = GetDlgItem(parts.page, IDC_LINK_MAIL);
  parts.linkWeb = GetDlgItem(parts.page, IDC_LINK_WEB);
  for (HWND child : ChildrenOf(parts.page)) {
    if (TextOf(child) == "Information :") parts.label = child;
  }
  return parts;
}

// Chooses the About tab as the user does: Ctrl+2 while the report has the focus.
inline AboutParts ShowAboutPage(const ViewerParts& viewer) {
  SetFocus(viewer.dumpControl);
  PressKey(viewer.dumpControl, '2', kCtrl);
  PumpMessages();
  return FindAboutParts(viewer.sheet);
}

// String table entries 1, 5, 18, 17, 4 and 3, in the order the page joins them.
inline std::string ExpectedInformationText() {
  return CORVELLE_TEXT_TITLE CORVELLE_TEXT_HISTORY CORVELLE_TEXT_V002 CORVELLE_TEXT_V001
      CORVELLE_TEXT_CONTACT CORVELLE_TEXT_RIGHTS;
}

// A rich-edit control may hand its line breaks out as CR LF; the page gave it LF.
inline std::string WithLineFeeds(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace corvelle::host
