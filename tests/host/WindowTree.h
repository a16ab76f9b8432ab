// Finding the viewer's windows and measuring them, from the outside.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace corvelle::host {

constexpr int kAnyControlId = -1;

// The viewer's window classes and ids as the host sees them.
constexpr char kDialogClass[] = "#32770";
constexpr char kTabControlClass[] = "SysTabControl32";
constexpr char kRichEditClass[] = "RICHEDIT";
constexpr int kDumpControlId = 1051;

std::string ClassNameOf(HWND window);
int ControlIdOf(HWND window);
std::string TextOf(HWND window);  // WM_GETTEXT, for small texts such as captions

// The direct children of `parent`, in Z order.
std::vector<HWND> ChildrenOf(HWND parent);
// All windows below `root`, depth first.
std::vector<HWND> DescendantsOf(HWND root);
// The first direct child / descendant of that class (exact, case-insensitive
// as the system compares class names) and, unless kAnyControlId, that id.
HWND FindChild(HWND parent, const std::string& className, int controlId = kAnyControlId);
HWND FindDescendant(HWND root, const std::string& className, int controlId = kAnyControlId);
// Every window of this thread: its top-level windows and their descendants.
std::vector<HWND> ThreadWindows();

// The windows of one viewer, found from its frame: frame → sheet ("#32770")
// → tab control and pages ("#32770"); the dump page is the page that holds
// the "RICHEDIT" control 1051. A part that is not found is null; Describe()
// says what was found.
struct ViewerParts {
  HWND frame = nullptr;
  HWND sheet = nullptr;
  HWND tabControl = nullptr;
  HWND dumpPage = nullptr;
  HWND dumpControl = nullptr;
  bool IsComplete() const { return frame && sheet && tabControl && dumpPage && dumpControl; }
};
ViewerParts FindViewerParts(HWND frame);
// The tree below `root` as indented "class id text" lines, for failure messages.
std::string DescribeTree(HWND root);

// The pages of a sheet ("#32770" children) and the one that is showing.
std::vector<HWND> PagesOf(HWND sheet);
HWND VisiblePage(HWND sheet);

std::vector<std::string> TabTitles(HWND tabControl);
int SelectedTab(HWND tabControl);

// A window's rectangle in the client coordinates of `reference` (the screen
// when reference is null).
RECT RectIn(HWND window, HWND reference);
RECT ClientRectOf(HWND window);
int WidthOf(const RECT& rect);
int HeightOf(const RECT& rect);
std::string ToString(const RECT& rect);

bool HasStyle(HWND window, LONG_PTR style);

}  // namespace corvelle::host
