// The Corvelle test host plays the file manager around the plug-in module
// under Wine (or Windows): it loads the module once, as the host does, opens
// Lister windows, types keys through the thread's queue (where the plug-in's
// hook sees them) and reads the viewer back through window messages.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvelle::host {

constexpr int kListCommandCopy = 1, kListCommandSelectAll = 3;
constexpr int kListPluginOk = 0, kListPluginError = 1;

// The module under test: CORVELLE_MODULE, else Corvelle.wlx (32-bit) or
// Corvelle.wlx64 (64-bit) beside this program.
class PluginModule {
 public:
  static PluginModule& Get();
  bool IsLoaded() const { return m_loadError.empty(); }
  const std::string& LoadError() const { return m_loadError; }
  HMODULE Handle() const { return m_module; }
  const std::string& Path() const { return m_path; }
  std::string OptionsIniPath() const { return m_path.substr(0, m_path.find_last_of('.')) + ".ini"; }
  template <typename Proc>
  Proc Entry(const char* name) const {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(m_module ? GetProcAddress(m_module, name) : nullptr));
  }
  HWND ListLoad(HWND parent, const std::string& file) const;  // a writable copy, as the host passes
  int ListSendCommand(HWND listWin, int command) const;
  void ListCloseWindow(HWND listWin) const;
  void ListSetDefaultParams(const std::string& iniName) const;

 private:
  PluginModule();
  std::string m_path, m_loadError;
  HMODULE m_module = nullptr;
};

// ---- Files

// A fresh directory of its own under %TEMP%, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_path; }  // with its trailing backslash
  std::string PathOf(const std::string& name) const { return m_path + name; }
  std::string Write(const std::string& name, const std::string& content) const;  // the full path

 private:
  std::string m_path;
};

std::string RecordDatabase(uint32_t records, const std::string& name = "Corvelle test");
std::string ResourceDatabase(uint32_t resources);
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& content);

// ---- The Lister window

enum class ListerKind { TopLevel, Embedded };  // Embedded: a child of a panel window

// The parent given to ListLoad. It keeps the viewer over its client area,
// hands its focus on to it and closes it before going away.
class ListerWindow {
 public:
  explicit ListerWindow(ListerKind kind = ListerKind::TopLevel, RECT placement = RECT{40, 30, 680, 510});
  ~ListerWindow();
  ListerWindow(const ListerWindow&) = delete;
  ListerWindow& operator=(const ListerWindow&) = delete;
  HWND Handle() const { return m_lister; }
  HWND Outer() const { return m_outer; }  // the panel of an embedded Lister
  HWND Top() const { return m_outer ? m_outer : m_lister; }
  HWND Viewer() const { return m_viewer; }
  HWND Open(const std::string& path);  // ListLoad after closing the previous viewer, then a pump
  void Adopt(HWND viewer);             // a viewer made by another entry point, then a pump until its report is in
  void Close();                        // ListCloseWindow
  void Resize(int dx, int dy);         // grows the top-level window

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_outer = nullptr, m_lister = nullptr, m_viewer = nullptr;
};

// ---- The host's loop and the keyboard

// Dispatches one message of [first, last], if there is one.
bool DispatchOne(UINT first = 0, UINT last = 0);
// Runs the loop until the queue stays empty. Without timers, commands, keys
// and paints are handled but a big report gets no further.
void PumpMessages(bool timersToo = true);
void PumpMessagesFor(double milliseconds);  // for that long, timers included
double NowMilliseconds();
// How long a test waits for what the viewer does from the host's loop: a
// quiet queue says nothing (a big report's next piece may simply not be due
// yet), and a loaded machine fills many times slower than a quiet one.
constexpr double kFillLimitMs = 180000;  // below the watchdog's bound for a whole test
// Runs the loop, timers included, until `done` or the limit; answers `done`.
bool PumpUntil(const std::function<bool()>& done, double limitMs = kFillLimitMs);

enum KeyModifier : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2 };

// Activates the window's top-level window, then focuses it, as a click would.
bool FocusWindow(HWND window);
// WM_KEYDOWN and WM_KEYUP posted through the queue, each followed by a pump,
// with Ctrl and Shift held in the keyboard state (posted keys do not set it).
void PressKey(HWND target, UINT virtualKey, unsigned modifiers = kNoModifier, bool timersToo = true);
inline void PressKeyOnFocus(UINT key, unsigned modifiers = kNoModifier) { PressKey(GetFocus(), key, modifiers); }

// Records what a window's procedure receives, by subclassing it.
class MessageLog {
 public:
  explicit MessageLog(HWND window);
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;
  size_t Count(UINT message, WPARAM wParam) const;

 private:
  static LRESULT CALLBACK Subclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
  HWND m_window;
  std::vector<MSG> m_messages;
};

// Counts what makes a rich-edit control lay out again every line it holds (a
// new client size, by a move or by a scroll bar shown or hidden, and a new
// wrapping) while it holds more than `bigText` characters: each such message
// holds the host for as long as the text is long, on 32-bit Wine without end.
class RelayoutLog {
 public:
  RelayoutLog(HWND control, LRESULT bigText);
  ~RelayoutLog();
  RelayoutLog(const RelayoutLog&) = delete;
  RelayoutLog& operator=(const RelayoutLog&) = delete;
  size_t BigRelayouts() const { return m_big; }
  LRESULT LongestRelaidText() const { return m_longest; }  // characters, of any relayout

 private:
  static LRESULT CALLBACK Subclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
  void Relaid(HWND control);
  HWND m_control;
  LRESULT m_bigText, m_longest = 0;
  SIZE m_client{};
  size_t m_big = 0;
};

// ---- Windows as the host finds them

std::string ClassNameOf(HWND window);
std::string TextOf(HWND window);  // short texts: captions, statics
std::vector<HWND> ChildrenOf(HWND parent);
std::vector<HWND> DescendantsOf(HWND root);
std::vector<HWND> ThreadWindows();  // every window of this thread

// Frame → sheet → tab control and pages; the dump page holds RICHEDIT 1051.
struct ViewerParts {
  HWND frame = nullptr, sheet = nullptr, tabControl = nullptr, dumpPage = nullptr, dumpControl = nullptr;
  bool IsComplete() const { return frame && sheet && tabControl && dumpPage && dumpControl; }
};
ViewerParts FindViewerParts(HWND frame);
std::vector<HWND> PagesOf(HWND sheet);
HWND VisiblePage(HWND sheet);
std::vector<std::string> TabTitles(HWND tabControl);
// The dump page's own tab title. It reads "Image Dump (NN%)" while a long
// report arrives, and this again once the report is all in.
constexpr char kDumpTabTitle[] = "Image Dump";
inline std::string DumpTabTitle(const ViewerParts& parts) {
  const std::vector<std::string> titles = TabTitles(parts.tabControl);
  return titles.empty() ? std::string() : titles[0];
}
inline bool ReportArriving(const ViewerParts& parts) {
  return DumpTabTitle(parts).rfind(std::string(kDumpTabTitle) + " (", 0) == 0;
}
// Runs the loop until no report of `viewers` is arriving any more; false at the limit.
bool PumpUntilFilled(const std::vector<ViewerParts>& viewers);
inline int SelectedTab(HWND tabControl) { return TabCtrl_GetCurSel(tabControl); }

RECT RectIn(HWND window, HWND reference);  // reference null: the screen
RECT ClientRectOf(HWND window);
std::string ToString(const RECT& rect);
inline bool HasStyle(HWND window, LONG_PTR style) { return (GetWindowLongPtrA(window, GWL_STYLE) & style) == style; }

// ---- Rich-edit controls and the clipboard

std::string ControlText(HWND control);  // WM_GETTEXT, any size
// A rich-edit control or the clipboard may hand line breaks out as CR LF.
inline std::string WithoutCr(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}
CHARRANGE SelectionOf(HWND control);
CHARFORMATA DefaultCharFormat(HWND control);
PARAFORMAT2 ParagraphFormat(HWND control);  // of the selection
std::vector<LONG> TabStopsOf(const PARAFORMAT2& format);  // positions without flag bits
inline LRESULT DisplayLineCount(HWND control) { return SendMessageA(control, EM_GETLINECOUNT, 0, 0); }
inline LRESULT FirstVisibleLine(HWND control) { return SendMessageA(control, EM_GETFIRSTVISIBLELINE, 0, 0); }
bool ShowsHorizontalScrollBar(HWND control);
// The widest of the control's display lines, in pixels, from where its first
// character starts to where its line break (or the text's end) does.
LONG WidestLineWidth(HWND control);
std::string ClipboardText();
void EmptyClipboardText();
void PutClipboardText(const std::string& text);

// ---- What the process holds

struct ResourceCounts {
  long gdiObjects = -1, userObjects = -1, kernelHandles = -1, windows = 0;  // -1: unknown
};
// The process's used and whole address space, in bytes. Wine answers from a
// snapshot it keeps for a second, so the used figure waits that long first:
// read sooner after viewers closed, it still counted them.
uint64_t UsedAddressSpace();
uint64_t WholeAddressSpace();

// Points the module's import of `function` from `dll` at `replacement` while
// it lives, to make a system call fail where the machine cannot be made to
// (no memory on a 64-bit process, say). Patched() tells whether it was found.
class PatchedImport {
public:
  PatchedImport(HMODULE module, const char* dll, const char* function, void* replacement);
  ~PatchedImport();
  PatchedImport(const PatchedImport&) = delete;
  PatchedImport& operator=(const PatchedImport&) = delete;
  bool Patched() const { return m_slot != nullptr; }

private:
  void* Swap(void* value);
  void** m_slot = nullptr;
  void* m_original = nullptr;
};

// Wine answers 0 to GetGuiResources and GetProcessHandleCount, so there GDI
// objects are counted in its handle table and handles by probing.
ResourceCounts CurrentResourceCounts();

// ---- The tests' fixture

// The module must be there, the host configuration starts empty (no
// wincmd.ini beside the suggested INI path) and each test has its own folder.
template <typename Base = testing::Test>
class HostTest : public Base {
 protected:
  void SetUp() override {
    const PluginModule& module = PluginModule::Get();
    ASSERT_TRUE(module.IsLoaded()) << "plug-in module " << module.Path() << ": " << module.LoadError();
    module.ListSetDefaultParams(m_dir.PathOf("plugins.ini"));
  }
  // Opens the file in the Lister and finds the viewer; fails the test when incomplete.
  ViewerParts OpenViewer(ListerWindow& lister, const std::string& path) {
    ViewerParts parts = FindViewerParts(lister.Open(path));
    EXPECT_TRUE(parts.IsComplete()) << path;
    return parts;
  }
  std::string WriteRecords(uint32_t records, const std::string& name = "test.pdb") {
    return m_dir.Write(name, RecordDatabase(records));
  }
  TempDir m_dir;
};
using ViewerTest = HostTest<>;
template <typename Row>
using ViewerParamTest = HostTest<testing::TestWithParam<Row>>;

// Names the rows of a table by their `name` member.
struct RowName {
  template <typename Row>
  std::string operator()(const testing::TestParamInfo<Row>& info) const { return info.param.name; }
};

}  // namespace corvelle::host
