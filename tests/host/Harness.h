// The Corvelle test host plays the file manager around the plug-in module
// under Wine (or Windows): it loads the module once, as the host does, opens
// Lister windows, types keys through the thread's queue (where the plug-in's
// hook sees them) and reads the viewer back through window messages.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvelle::host {

// ---- The module and its entry points

constexpr int kListCommandCopy = 1;
constexpr int kListCommandSelectAll = 3;
constexpr int kListPluginOk = 0;
constexpr int kListPluginError = 1;

class PluginModule {
 public:
  // Loaded on first use from --module=PATH, CORVELLE_MODULE, or Corvelle.wlx
  // (32-bit) / Corvelle.wlx64 (64-bit) beside the host program.
  static PluginModule& Get();
  static void SetPathOverride(const std::string& path);

  bool IsLoaded() const { return m_loadError.empty(); }
  const std::string& LoadError() const { return m_loadError; }
  HMODULE Handle() const { return m_module; }
  const std::string& Path() const { return m_path; }
  std::string OptionsIniPath() const;

  template <typename Proc>
  Proc Entry(const char* name) const {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(m_module ? GetProcAddress(m_module, name) : nullptr));
  }

  HWND ListLoad(HWND parent, const std::string& file, int showFlags = 0) const;
  int ListSendCommand(HWND listWin, int command, int parameter = 0) const;
  void ListCloseWindow(HWND listWin) const;
  void ListSetDefaultParams(const std::string& iniName) const;

 private:
  PluginModule();
  std::string m_path;
  std::string m_loadError;
  HMODULE m_module = nullptr;
};

#define CORVELLE_REQUIRE_PLUGIN()                                                                  \
  ASSERT_TRUE(::corvelle::host::PluginModule::Get().IsLoaded())                                    \
      << "plug-in module " << ::corvelle::host::PluginModule::Get().Path() << ": "                 \
      << ::corvelle::host::PluginModule::Get().LoadError()

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

// Gives a file the content for the object's lifetime, then puts back what was
// there: for files the test does not own, such as the options file.
class ScopedFileContent {
 public:
  ScopedFileContent(const std::string& path, const std::string& content);
  ~ScopedFileContent();
  ScopedFileContent(const ScopedFileContent&) = delete;
  ScopedFileContent& operator=(const ScopedFileContent&) = delete;

 private:
  std::string m_path;
  bool m_existed;
  std::string m_previous;
};

// A RECT as the profile functions store a structure: hex byte pairs, then the sum.
std::string RectProfileValue(const RECT& rect);

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
  // ListLoad (after closing the previous viewer); pumps what it posted.
  HWND Open(const std::string& path);
  void Adopt(HWND viewer);  // a viewer made by another entry point
  void Close();             // ListCloseWindow
  void Resize(int dx, int dy);  // grows the top-level window

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_outer = nullptr;
  HWND m_lister = nullptr;
  HWND m_viewer = nullptr;
};

// ---- The host's loop and the keyboard

// Runs the loop until the queue stays empty; the timed form also waits for
// timers and input.
void PumpMessages();
void PumpMessagesFor(DWORD milliseconds);

enum KeyModifier : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2 };

// Holds Ctrl and/or Shift in the keyboard state (what GetKeyState answers)
// for its lifetime: posted keys do not change that state.
class ScopedModifiers {
 public:
  explicit ScopedModifiers(unsigned modifiers);
  ~ScopedModifiers() { SetKeyboardState(m_saved); }
  ScopedModifiers(const ScopedModifiers&) = delete;
  ScopedModifiers& operator=(const ScopedModifiers&) = delete;

 private:
  BYTE m_saved[256];
};

// Activates the window's top-level window, then focuses it, as a click would.
bool FocusWindow(HWND window);
// WM_KEYDOWN and WM_KEYUP posted through the queue with the modifiers held
// in the keyboard state, each followed by a pump.
void PressKey(HWND target, UINT virtualKey, unsigned modifiers = kNoModifier);
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

// ---- Windows as the host finds them

constexpr char kDialogClass[] = "#32770";
constexpr char kRichEditClass[] = "RICHEDIT";
constexpr int kDumpControlId = 1051;

std::string ClassNameOf(HWND window);
std::string TextOf(HWND window);  // short texts: captions, statics
std::vector<HWND> ChildrenOf(HWND parent);
std::vector<HWND> DescendantsOf(HWND root);
std::vector<HWND> ThreadWindows();  // every window of this thread
HWND FindChild(HWND parent, const char* className, int controlId = -1);

// Frame → sheet → tab control and pages; the dump page holds RICHEDIT 1051.
struct ViewerParts {
  HWND frame = nullptr, sheet = nullptr, tabControl = nullptr, dumpPage = nullptr, dumpControl = nullptr;
  bool IsComplete() const { return frame && sheet && tabControl && dumpPage && dumpControl; }
};
ViewerParts FindViewerParts(HWND frame);
std::string DescribeTree(HWND root);  // indented "class id text" lines

std::vector<HWND> PagesOf(HWND sheet);
HWND VisiblePage(HWND sheet);
std::vector<std::string> TabTitles(HWND tabControl);
int SelectedTab(HWND tabControl);

RECT RectIn(HWND window, HWND reference);  // reference null: the screen
RECT ClientRectOf(HWND window);
std::string ToString(const RECT& rect);
bool HasStyle(HWND window, LONG_PTR style);

// ---- Rich-edit controls and the clipboard

std::string ControlText(HWND control);  // WM_GETTEXT, any size
CHARRANGE SelectionOf(HWND control);
std::string SelectedText(HWND control);
CHARFORMATA DefaultCharFormat(HWND control);
PARAFORMAT2 ParagraphFormat(HWND control);  // of the selection
std::vector<LONG> TabStopsOf(const PARAFORMAT2& format);  // positions without flag bits
LRESULT DisplayLineCount(HWND control);
LRESULT FirstVisibleLine(HWND control);
bool ShowsHorizontalScrollBar(HWND control);
std::string ClipboardText();
bool SetClipboardText(const std::string& text);

// ---- What the process holds

struct ResourceCounts {
  long gdiObjects = -1, userObjects = -1, kernelHandles = -1, windows = 0;  // -1: unknown
};
// Wine answers 0 to GetGuiResources and GetProcessHandleCount, so there GDI
// objects are counted in its handle table and handles by probing.
ResourceCounts CurrentResourceCounts();
std::string Describe(const ResourceCounts& counts);
double NowMilliseconds();

// ---- Scenarios in a second copy of the host

// For checks that may crash the process (unloading the module):
//   CORVELLE_HOST_SCENARIO(Name) { ...; return 0; }   // gets `argument`
using ScenarioMain = int (*)(const std::string& argument);
struct ScenarioRegistration {
  ScenarioRegistration(const char* name, ScenarioMain main);
};
#define CORVELLE_HOST_SCENARIO(name)                                                                  \
  static int ScenarioMain_##name(const std::string& argument);                                        \
  static ::corvelle::host::ScenarioRegistration registration_##name(#name, &ScenarioMain_##name);     \
  static int ScenarioMain_##name(const std::string& argument)

constexpr DWORD kChildCrashed = 3;
constexpr DWORD kChildDidNotFinish = 0xFFFFFFFF;
// The child's exit code; kChildDidNotFinish when it did not start or end in time.
DWORD RunScenarioInChild(const std::string& name, const std::string& argument, DWORD timeLimitMs);
int RunScenario(const std::string& name, const std::string& argument);

// ---- The tests' fixture

// The module must be there, the host configuration starts empty (no
// wincmd.ini beside the suggested INI path) and each test has its own folder.
template <typename Base = testing::Test>
class HostTest : public Base {
 protected:
  void SetUp() override {
    CORVELLE_REQUIRE_PLUGIN();
    PluginModule::Get().ListSetDefaultParams(m_dir.PathOf("plugins.ini"));
  }
  // Opens the file in the Lister and finds the viewer; fails the test when incomplete.
  ViewerParts OpenViewer(ListerWindow& lister, const std::string& path) {
    ViewerParts parts = FindViewerParts(lister.Open(path));
    EXPECT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
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
