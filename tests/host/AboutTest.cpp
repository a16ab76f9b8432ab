// The About page as the user meets it, and its two links: tooltip, colours,
// opening through the shell or the registry's HTML command, and the message
// box when both fail. The tests point this Wine prefix's protocol and HTML
// commands at programs of their own and put the old values back.
#include "ModalAnswerer.h"
#include "res/AboutText.h"
#include "res/Maker.h"
#include "res/resource.h"

namespace corvelle::host {
namespace {

const std::string kInformation = CORVELLE_TEXT_TITLE CORVELLE_TEXT_HISTORY CORVELLE_TEXT_V002 CORVELLE_TEXT_V001
    CORVELLE_TEXT_CONTACT CORVELLE_TEXT_RIGHTS;

// A viewer showing its About page, chosen with Ctrl+2 from the report.
template <typename Base>
class AboutPage : public HostTest<Base> {
 protected:
  void SetUp() override {
    HostTest<Base>::SetUp();
    m_viewer = this->OpenViewer(m_lister, this->WriteRecords(3));
    ASSERT_TRUE(m_viewer.IsComplete());
    ASSERT_TRUE(FocusWindow(m_viewer.dumpControl));
    PressKeyOnFocus('2', kCtrl);
    m_page = VisiblePage(m_viewer.sheet);
    m_info = GetDlgItem(m_page, IDC_ABOUT_INFO);
    ASSERT_NE(m_info, nullptr);
  }
  ListerWindow m_lister;
  ViewerParts m_viewer;
  HWND m_page = nullptr, m_info = nullptr;
};
using About = AboutPage<testing::Test>;

// Shown over the report's rectangle; select-all and copy take the whole text
// wherever the focus is; of its parts only the information box follows the size.
TEST_F(About, ShowsTheTwentyFourLinesCopiesThemAllAndGrowsOnlyTheInformationBox) {
  EXPECT_EQ(SelectedTab(m_viewer.tabControl), 1);
  EXPECT_FALSE(IsWindowVisible(m_viewer.dumpPage));
  EXPECT_EQ(ToString(RectIn(m_page, m_viewer.sheet)), ToString(RectIn(m_viewer.dumpPage, m_viewer.sheet)));
  const std::string text = WithoutCr(ControlText(m_info));
  EXPECT_EQ(text, kInformation);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 23);
  EXPECT_TRUE(HasStyle(m_info, ES_READONLY | ES_MULTILINE | WS_VSCROLL));
  for (HWND focus : {m_info, GetDlgItem(m_page, IDC_LINK_MAIL), m_page}) {
    SCOPED_TRACE(ClassNameOf(focus));
    SetFocus(focus);
    EmptyClipboardText();
    if (focus == m_page) {
      PostMessageA(GetDlgItem(m_page, IDC_LINK_WEB), EM_SETSEL, 5, 10);  // any range selects all
    } else {
      EXPECT_EQ(PluginModule::Get().ListSendCommand(m_viewer.frame, kListCommandSelectAll), kListPluginOk);
    }
    PumpMessages();
    EXPECT_EQ(SelectionOf(m_info).cpMin, 0);
    EXPECT_GE(SelectionOf(m_info).cpMax, SendMessageA(m_info, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(PluginModule::Get().ListSendCommand(m_viewer.frame, kListCommandCopy), kListPluginOk);
    PumpMessages();
    EXPECT_EQ(WithoutCr(ClipboardText()), kInformation);
  }
  EXPECT_EQ(SelectionOf(m_viewer.dumpControl).cpMax, 0) << "the commands reached the hidden report";

  auto placesOfOthers = [this] {
    std::vector<std::string> places;
    for (HWND child : ChildrenOf(m_page)) places.push_back(child == m_info ? "" : ToString(RectIn(child, m_page)));
    return places;
  };
  const std::vector<std::string> others = placesOfOthers();
  const RECT info = RectIn(m_info, m_page);
  m_lister.Resize(30, -20);
  EXPECT_EQ(ToString(RectIn(m_info, m_page)), ToString(RECT{info.left, info.top, info.right + 30, info.bottom - 20}));
  EXPECT_EQ(placesOfOthers(), others);
}

// Sets HKEY_CLASSES_ROOT\<subkey>'s default value for the object's lifetime.
class ScopedClassesRootValue {
 public:
  ScopedClassesRootValue(const std::string& subkey, const std::string& value) : m_subkey(subkey) {
    // The outermost key that is missing now is the one to remove afterwards.
    for (size_t end = 0; end != std::string::npos && m_created.empty();) {
      end = subkey.find('\\', end + 1);
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.substr(0, end).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        m_created = subkey.substr(0, end);
      }
      if (key) RegCloseKey(key);
    }
    char old[1024] = {};
    LONG size = sizeof old;
    RegQueryValueA(HKEY_CLASSES_ROOT, subkey.c_str(), old, &size);
    m_old = old;
    EXPECT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, value.c_str(), value.size()), ERROR_SUCCESS);
  }
  ~ScopedClassesRootValue() {
    if (!m_created.empty()) {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, m_created.c_str());
      RegDeleteKeyA(HKEY_CLASSES_ROOT, m_created.c_str());
    } else {
      RegSetValueA(HKEY_CLASSES_ROOT, m_subkey.c_str(), REG_SZ, m_old.c_str(), m_old.size());
    }
  }

 private:
  std::string m_subkey, m_created, m_old;
};

struct LinkRow {
  const char* name;
  int id;
  const char* scheme;
  const char* url;
};

const LinkRow kLinks[] = {{"Mail", IDC_LINK_MAIL, "mailto", CORVELLE_MAKER_MAILTO},
                          {"Web", IDC_LINK_WEB, "https", CORVELLE_MAKER_WEB}};

class Link : public AboutPage<testing::TestWithParam<LinkRow>> {
 protected:
  void SetUp() override {
    AboutPage::SetUp();
    m_link = GetDlgItem(m_page, GetParam().id);
    ASSERT_NE(m_link, nullptr);
  }
  COLORREF Colour() {
    HDC dc = GetDC(m_link);
    SendMessageA(m_page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_link));
    COLORREF colour = GetTextColor(dc);
    ReleaseDC(m_link, dc);
    return colour;
  }
  void Press() {
    PostMessageA(m_link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PumpMessagesFor(300);
  }
  HWND m_link = nullptr;
};

// The shell cannot open the link's scheme. The ".htm" file type's command
// fails first (a message box says why), then it writes what it was given.
TEST_P(Link, OpensOnPressThroughTheHtmlCommandWhenTheShellFailsAndShowsItsUrlAsTooltip) {
  const std::string missing = "\"C:\\corvelle-missing\\nothing.exe\" \"%1\"", record = m_dir.PathOf("command.txt");
  const std::string command = "CorvelleTest.htmlfile\\shell\\open\\command";
  ScopedClassesRootValue shell(std::string(GetParam().scheme) + "\\shell\\open\\command", missing);
  ScopedClassesRootValue htm(".htm", "CorvelleTest.htmlfile");
  Answerer answer;  // closes the message box a failed link shows
  EXPECT_EQ(Colour(), RGB(0, 0, 255));
  {
    ScopedClassesRootValue fails(command, missing);
    Press();
    const std::wstring why = L"CORVELLE_WLX: Can't open link:\n\nThe specified file was not found.";
    EXPECT_TRUE(answer.boxes == std::vector<std::wstring>{why}) << answer.boxes.size() << " boxes";
    SetFocus(m_link);
    EXPECT_EQ(Colour(), RGB(0, 128, 128)) << "active";
    SetFocus(m_info);
    EXPECT_EQ(Colour(), RGB(0, 0, 255)) << "a failed link is not visited";
  }
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  // cmd writes what follows "echo": the blank and the URL the link appends.
  const std::string echo = "\"" + std::string(system) + "\\cmd.exe\" /c >\"" + record + "\" echo \"%1\" -tail";
  ScopedClassesRootValue works(command, echo);
  Press();
  for (int i = 0; i < 100 && ReadFileBytes(record).find('\n') == std::string::npos; ++i) PumpMessagesFor(100);
  EXPECT_EQ(ReadFileBytes(record), std::string(" ") + GetParam().url + "\r\n");
  EXPECT_EQ(answer.boxes.size(), 1u);
  EXPECT_EQ(GetFocus(), m_link);
  DeleteFileA(record.c_str());
  PostMessageA(m_link, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  PumpMessagesFor(1000);
  EXPECT_TRUE(ReadFileBytes(record).empty()) << "the release opened the link again";
  SetFocus(m_info);
  EXPECT_EQ(Colour(), RGB(128, 0, 128)) << "visited";

  // The URL is the tooltip, shown when the pointer rests.
  HWND tip = nullptr;
  char text[300] = {};
  for (HWND window : ThreadWindows()) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = m_link;
    tool.uId = 1;
    tool.lpszText = text;
    const bool knowsTheLink = SendMessageA(window, TTM_GETTOOLINFOA, 0, LPARAM(&tool)) != 0;
    if (ClassNameOf(window) == TOOLTIPS_CLASSA && knowsTheLink) tip = window;
  }
  ASSERT_NE(tip, nullptr);
  EXPECT_STREQ(text, GetParam().url);
  // The host's loop never offers the plug-in mouse messages: the link relays them.
  RECT link = RectIn(m_link, nullptr);
  SetCursorPos(link.left + 5, link.top + 5);
  PumpMessagesFor(300);
  PostMessageA(m_link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  for (int i = 0; i < 30 && !IsWindowVisible(tip); ++i) PumpMessagesFor(100);
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(SendMessageA(m_link, WM_NCHITTEST, 0, 0), HTCLIENT) << "a plain static lets the mouse through";
}

INSTANTIATE_TEST_SUITE_P(Links, Link, testing::ValuesIn(kLinks), RowName());

}  // namespace
}  // namespace corvelle::host
