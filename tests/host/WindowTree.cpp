#include "WindowTree.h"

#include <commctrl.h>

#include <cstdio>

namespace corvelle::host {
namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

void DescribeInto(HWND window, int depth, std::string& out) {
  char line[400];
  std::snprintf(line, sizeof line, "%*s%s id=%d \"%.60s\"%s\n", depth * 2, "", ClassNameOf(window).c_str(),
                ControlIdOf(window), TextOf(window).c_str(), IsWindowVisible(window) ? "" : " (hidden)");
  out += line;
  for (HWND child : ChildrenOf(window)) DescribeInto(child, depth + 1, out);
}

}  // namespace

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

int ControlIdOf(HWND window) { return static_cast<int>(GetWindowLongPtrA(window, GWLP_ID)); }

std::string TextOf(HWND window) {
  char text[512] = {};
  LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> DescendantsOf(HWND root) {
  std::vector<HWND> all;
  for (HWND child : ChildrenOf(root)) {
    all.push_back(child);
    std::vector<HWND> below = DescendantsOf(child);
    all.insert(all.end(), below.begin(), below.end());
  }
  return all;
}

static bool Matches(HWND window, const std::string& className, int controlId) {
  return lstrcmpiA(ClassNameOf(window).c_str(), className.c_str()) == 0 &&
         (controlId == kAnyControlId || ControlIdOf(window) == controlId);
}

HWND FindChild(HWND parent, const std::string& className, int controlId) {
  for (HWND child : ChildrenOf(parent)) {
    if (Matches(child, className, controlId)) return child;
  }
  return nullptr;
}

HWND FindDescendant(HWND root, const std::string& className, int controlId) {
  for (HWND window : DescendantsOf(root)) {
    if (Matches(window, className, controlId)) return window;
  }
  return nullptr;
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> tops;
  EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&tops));
  std::vector<HWND> all;
  for (HWND top : tops) {
    all.push_back(top);
    std::vector<HWND> below = DescendantsOf(top);
    all.insert(all.end(), below.begin(), below.end());
  }
  return all;
}

ViewerParts FindViewerParts(HWND frame) {
  ViewerParts parts;
  if (!frame || !IsWindow(frame)) return parts;
  parts.frame = frame;
  parts.sheet = FindChild(frame, kDialogClass);
  if (!parts.sheet) return parts;
  parts.tabControl = FindChild(parts.sheet, kTabControlClass);
  for (HWND page : PagesOf(parts.sheet)) {
    HWND control = FindChild(page, kRichEditClass, kDumpControlId);
    if (control) {
      parts.dumpPage = page;
      parts.dumpControl = control;
      break;
    }
  }
  return parts;
}

std::string DescribeTree(HWND root) {
  std::string out;
  if (root && IsWindow(root)) DescribeInto(root, 0, out);
  return out.empty() ? "(no window)\n" : out;
}

std::vector<HWND> PagesOf(HWND sheet) {
  std::vector<HWND> pages;
  for (HWND child : ChildrenOf(sheet)) {
    if (lstrcmpiA(ClassNameOf(child).c_str(), kDialogClass) == 0) pages.push_back(child);
  }
  return pages;
}

HWND VisiblePage(HWND sheet) {
  for (HWND page : PagesOf(sheet)) {
    if (IsWindowVisible(page)) return page;
  }
  return nullptr;
}

std::vector<std::string> TabTitles(HWND tabControl) {
  std::vector<std::string> titles;
  int count = static_cast<int>(SendMessageA(tabControl, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabControl, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    titles.emplace_back(text);
  }
  return titles;
}

int SelectedTab(HWND tabControl) { return static_cast<int>(SendMessageA(tabControl, TCM_GETCURSEL, 0, 0)); }

RECT RectIn(HWND window, HWND reference) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  if (reference) MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientRectOf(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

int WidthOf(const RECT& rect) { return rect.right - rect.left; }
int HeightOf(const RECT& rect) { return rect.bottom - rect.top; }

std::string ToString(const RECT& rect) {
  char text[80];
  std::snprintf(text, sizeof text, "(%ld, %ld, %ld, %ld)", static_cast<long>(rect.left),
                static_cast<long>(rect.top), static_cast<long>(rect.right), static_cast<long>(rect.bottom));
  return text;
}

bool HasStyle(HWND window, LONG_PTR style) { return (GetWindowLongPtrA(window, GWL_STYLE) & style) == style; }

}  // namespace corvelle::host
