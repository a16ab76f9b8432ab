// The About page's two image links: attached with their URLs as tooltips,
// opened on the press, through the registry's HTML command when the shell
// fails, and reported in a message box when that fails too.
//
// The tests point the protocol and HTML commands of this Wine prefix's
// HKEY_CLASSES_ROOT at programs of their own and put the old values back;
// without that, a click would start the prefix's web browser.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AboutViewer.h"
#include "ViewerFixture.h"
#include "res/Maker.h"

namespace corvelle::host {
namespace {

// Sets the default value of HKEY_CLASSES_ROOT\<subkey> for the test's
// lifetime. Afterwards the old value is back, or the keys this object
// created are gone.
class ScopedClassesRootDefault {
 public:
  ScopedClassesRootDefault(const std::string& subkey, const std::string& value) : m_subkey(subkey) {
    // The outermost key that does not exist yet is the one to remove later.
    for (size_t end = 0; end != std::string::npos;) {
      end = subkey.find('\\', end + 1);
      std::string prefix = subkey.substr(0, end);
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_CLASSES_ROOT, prefix.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        m_created = prefix;
        break;
      }
      RegCloseKey(key);
    }
    if (m_created.empty()) {
      char old[1024] = {};
      LONG size = sizeof old;
      m_hadValue = RegQueryValueA(HKEY_CLASSES_ROOT, subkey.c_str(), old, &size) == ERROR_SUCCESS;
      m_oldValue = old;
    }
    m_ok = RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
  }
  ~ScopedClassesRootDefault() {
    if (!m_created.empty()) {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, m_created.c_str());
      RegDeleteKeyA(HKEY_CLASSES_ROOT, m_created.c_str());
    } else if (m_hadValue) {
      RegSetValueA(HKEY_CLASSES_ROOT, m_subkey.c_str(), REG_SZ, m_oldValue.c_str(),
                   static_cast<DWORD>(m_oldValue.size()));
    } else {
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_CLASSES_ROOT, m_subkey.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, nullptr);
        RegCloseKey(key);
      }
    }
  }
  ScopedClassesRootDefault(const ScopedClassesRootDefault&) = delete;
  ScopedClassesRootDefault& operator=(const ScopedClassesRootDefault&) = delete;
  bool Ok() const { return m_ok; }

 private:
  std::string m_subkey;
  std::string m_created;
  std::string m_oldValue;
  bool m_hadValue = false;
  bool m_ok = false;
};

// Reads and closes the plug-in's message box from inside the box's own modal
// loop: a thread timer keeps looking for it while the link's click handler
// waits for the user.
class MessageBoxCloser {
 public:
  MessageBoxCloser() {
    s_current = this;
    m_timer = SetTimer(nullptr, 0, 50, &MessageBoxCloser::OnTimer);
  }
  ~MessageBoxCloser() {
    KillTimer(nullptr, m_timer);
    s_current = nullptr;
  }
  MessageBoxCloser(const MessageBoxCloser&) = delete;
  MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;

  int Count() const { return m_count; }
  const std::string& Text() const { return m_text; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (s_current == nullptr) return;
    for (HWND window : ThreadWindows()) {
      if (ClassNameOf(window) != kDialogClass || TextOf(window) != "CORVELLE_WLX") continue;
      if (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) continue;
      for (HWND child : ChildrenOf(window)) {
        if (ClassNameOf(child) == "Static" && !TextOf(child).empty()) s_current->m_text = TextOf(child);
      }
      ++s_current->m_count;
      PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
  }

  static MessageBoxCloser* s_current;
  UINT_PTR m_timer = 0;
  int m_count = 0;
  std::string m_text;
};

MessageBoxCloser* MessageBoxCloser::s_current = nullptr;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits, with the host's loop running, until the file has its first line.
bool WaitForLine(const std::string& path, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    if (ReadFile(path).find('\n') != std::string::npos) return true;
    PumpMessagesFor(100);
  }
  return false;
}

std::string SystemProgram(const char* name) {
  char directory[MAX_PATH] = {};
  GetSystemDirectoryA(directory, MAX_PATH);
  return std::string(directory) + "\\" + name;
}

// What the page's reflected WM_CTLCOLORSTATIC sets up for the link: its
// text colour, background mode and brush.
struct LinkPaint {
  COLORREF text;
  int backgroundMode;
  HGDIOBJ brush;
};

LinkPaint PaintOf(HWND page, HWND link) {
  HDC dc = GetDC(link);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  LinkPaint paint;
  paint.brush = reinterpret_cast<HGDIOBJ>(
      SendMessageA(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link)));
  paint.text = GetTextColor(dc);
  paint.backgroundMode = GetBkMode(dc);
  ReleaseDC(link, dc);
  return paint;
}

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kActiveColour = RGB(0, 128, 128);
constexpr COLORREF kVisitedColour = RGB(128, 0, 128);

constexpr char kMissingProgram[] = "C:\\corvelle-missing\\nothing.exe";

struct LinkRow {
  const char* name;
  int controlId;
  const char* protocol;  // the scheme whose shell command the test breaks
  const char* url;
};

const LinkRow kLinks[] = {
    {"Mail", IDC_LINK_MAIL, "mailto", CORVELLE_MAKER_MAILTO},
    {"Web", IDC_LINK_WEB, "https", CORVELLE_MAKER_WEB},
};

class AboutLink : public ViewerParamTest<LinkRow> {
 protected:
  void SetUp() override {
    ViewerParamTest<LinkRow>::SetUp();
    if (HasFatalFailure()) return;
    m_viewer = OpenViewer(m_lister, WriteDatabase(PalmDatabase::WithRecords(3)));
    ASSERT_TRUE(m_viewer.IsComplete()) << DescribeTree(m_viewer.frame);
    m_about = ShowAboutPage(m_viewer);
    ASSERT_TRUE(m_about.IsComplete()) << DescribeTree(m_viewer.frame);
    m_link = GetDlgItem(m_about.page, GetParam().controlId);
  }

  // The shell cannot open the link's scheme: its command names no program.
  std::unique_ptr<ScopedClassesRootDefault> BreakShellCommand() {
    return std::make_unique<ScopedClassesRootDefault>(
        std::string(GetParam().protocol) + "\\shell\\open\\command", std::string("\"") + kMissingProgram + "\" \"%1\"");
  }

  // A left-button press on the link, through the queue as the system sends it.
  void Press() {
    PostMessageA(m_link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PumpMessages();
  }
  void Release() {
    PostMessageA(m_link, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    PumpMessages();
  }

  ListerWindow m_lister;
  ViewerParts m_viewer;
  AboutParts m_about;
  HWND m_link = nullptr;
};

TEST_P(AboutLink, IsAttachedWithItsUrlAsTooltip) {
  std::vector<std::string> tips;
  for (HWND window : ThreadWindows()) {
    if (ClassNameOf(window) != TOOLTIPS_CLASSA) continue;
    char text[300] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = m_link;
    tool.uId = 1;
    tool.lpszText = text;
    if (SendMessageA(window, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) {
      tips.push_back(text);
      EXPECT_EQ(tool.uFlags & TTF_SUBCLASS, 0u) << "the link relays the mouse itself";
    }
  }
  EXPECT_EQ(tips, std::vector<std::string>{GetParam().url});
}

// The host's loop never offers the plug-in mouse messages, so the link hands
// them to its tooltip itself; resting the pointer on it shows the URL.
TEST_P(AboutLink, PointerRestingOnItShowsTheTooltip) {
  HWND tip = nullptr;
  for (HWND window : ThreadWindows()) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = m_link;
    tool.uId = 1;
    if (ClassNameOf(window) == TOOLTIPS_CLASSA && SendMessageA(window, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)))
      tip = window;
  }
  ASSERT_NE(tip, nullptr);
  EXPECT_FALSE(IsWindowVisible(tip));

  RECT link = RectIn(m_link, nullptr);
  const POINT inside = {link.left + 5, link.top + 5};
  // The display reports the warp with moves of its own; let them arrive
  // first, then one move and rest: every move restarts the tip's delay.
  SetCursorPos(inside.x, inside.y);
  PumpMessagesFor(300);
  PostMessageA(m_link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  for (int i = 0; i < 30 && !IsWindowVisible(tip); ++i) PumpMessagesFor(100);
  EXPECT_TRUE(IsWindowVisible(tip)) << "the tooltip never appeared";
  EXPECT_EQ(GetCapture(), m_link) << "hovering takes the mouse capture";

  // The pointer leaves; the captured link sees a move outside itself. The
  // display does not always report the warp, so the move is sent when its
  // own has not come.
  SetCursorPos(link.left - 20, link.top - 20);
  PumpMessagesFor(300);
  if (GetCapture() == m_link) {
    PostMessageA(m_link, WM_MOUSEMOVE, 0, MAKELPARAM(-20, -20));
    PumpMessages();
  }
  EXPECT_EQ(GetCapture(), nullptr) << "leaving releases the capture";
}

TEST_P(AboutLink, PageHandsItsColourMessageToTheLink) {
  LinkPaint paint = PaintOf(m_about.page, m_link);
  EXPECT_EQ(paint.text, kLinkColour);
  EXPECT_EQ(paint.backgroundMode, TRANSPARENT);
  EXPECT_EQ(paint.brush, GetStockObject(NULL_BRUSH));

  SetFocus(m_link);
  EXPECT_EQ(PaintOf(m_about.page, m_link).text, kActiveColour);
  SetFocus(m_about.info);
  EXPECT_EQ(PaintOf(m_about.page, m_link).text, kLinkColour);
}

// Opens on the press (LS_OPENONPRESS), takes the focus (LS_FOCUSONCLICK), and
// the release opens nothing more.
TEST_P(AboutLink, PressRunsTheHtmlCommandWhenTheShellFails) {
  auto shell = BreakShellCommand();
  const std::string record = m_dir.PathOf("command-line.txt");
  // A recorder that is always there: cmd writes what follows "echo", i.e. the
  // blank and the URL that the link appends, into the file.
  ScopedClassesRootDefault htm(".htm", "CorvelleTest.htmlfile");
  ScopedClassesRootDefault command("CorvelleTest.htmlfile\\shell\\open\\command",
                                   "\"" + SystemProgram("cmd.exe") + "\" /c >\"" + record + "\" echo \"%1\" -tail");
  ASSERT_TRUE(shell->Ok() && htm.Ok() && command.Ok()) << "cannot set up the test prefix's registry";

  MessageBoxCloser boxes;
  Press();
  ASSERT_TRUE(WaitForLine(record, 10000)) << "the HTML command did not run";
  EXPECT_EQ(boxes.Count(), 0) << boxes.Text();
  // "echo" eats one blank of the two before the URL; the text after the
  // placeholder is gone.
  EXPECT_EQ(ReadFile(record), std::string(" ") + GetParam().url + "\r\n");
  EXPECT_EQ(GetFocus(), m_link);

  ASSERT_TRUE(DeleteFileA(record.c_str()));
  Release();
  PumpMessagesFor(1000);
  EXPECT_FALSE(FileExists(record)) << "the release opened the link again";

  SetFocus(m_about.info);
  EXPECT_EQ(PaintOf(m_about.page, m_link).text, kVisitedColour);
}

TEST_P(AboutLink, FailedOpenShowsTheReasonInAMessageBox) {
  auto shell = BreakShellCommand();
  ScopedClassesRootDefault htm(".htm", "CorvelleTest.htmlfile");
  ScopedClassesRootDefault command("CorvelleTest.htmlfile\\shell\\open\\command",
                                   std::string("\"") + kMissingProgram + "\" \"%1\"");
  ASSERT_TRUE(shell->Ok() && htm.Ok() && command.Ok()) << "cannot set up the test prefix's registry";

  MessageBoxCloser boxes;
  Press();
  PumpMessagesFor(300);
  EXPECT_EQ(boxes.Count(), 1);
  EXPECT_EQ(boxes.Text(), "Can't open link:\n\nThe specified file was not found.");

  // The link keeps working: a second press fails the same way.
  Press();
  PumpMessagesFor(300);
  EXPECT_EQ(boxes.Count(), 2);

  // A press leaves the link active until it has had and lost the focus.
  SetFocus(m_link);
  SetFocus(m_about.info);
  EXPECT_EQ(PaintOf(m_about.page, m_link).text, kLinkColour) << "a failed link is not visited";
}

TEST_P(AboutLink, ShowsTheHandCursorOnlyWhenWinHelpHasOne) {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string help = std::string(windows) + "\\winhlp32.exe";
  HMODULE module = LoadLibraryExA(help.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const bool hasHand = module != nullptr && LoadCursorA(module, MAKEINTRESOURCEA(106)) != nullptr;
  if (module != nullptr) FreeLibrary(module);

  const LRESULT handled = SendMessageA(m_link, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_link),
                                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(handled != 0, hasHand);
  EXPECT_EQ(SendMessageA(m_link, WM_NCHITTEST, 0, 0), HTCLIENT) << "a static would let the mouse through";
}

INSTANTIATE_TEST_SUITE_P(Links, AboutLink, testing::ValuesIn(kLinks), RowName());

}  // namespace
}  // namespace corvelle::host
