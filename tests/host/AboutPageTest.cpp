// The About page as the user meets it: chosen with Ctrl+2, showing the
// information text, answering the host's select-all and copy, following the
// Lister's size with its information box only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AboutViewer.h"
#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

using AboutPage = ViewerTest;

TEST_F(AboutPage, CtrlTwoShowsItOverTheDumpPageRectangle) {
  ListerWindow lister;
  ViewerParts viewer = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(viewer.IsComplete()) << DescribeTree(viewer.frame);
  const RECT dumpRect = RectIn(viewer.dumpPage, viewer.sheet);

  AboutParts about = ShowAboutPage(viewer);
  ASSERT_TRUE(about.IsComplete()) << DescribeTree(viewer.frame);
  EXPECT_EQ(VisiblePage(viewer.sheet), about.page);
  EXPECT_EQ(SelectedTab(viewer.tabControl), 1);
  EXPECT_EQ(ToString(RectIn(about.page, viewer.sheet)), ToString(dumpRect));
  EXPECT_FALSE(IsWindowVisible(viewer.dumpPage));
}

TEST_F(AboutPage, InformationBoxHoldsTheTwentyFourComposedLines) {
  ListerWindow lister;
  ViewerParts viewer = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(viewer.IsComplete()) << DescribeTree(viewer.frame);
  AboutParts about = ShowAboutPage(viewer);
  ASSERT_TRUE(about.IsComplete()) << DescribeTree(viewer.frame);

  const std::string text = WithLineFeeds(ControlText(about.info));
  EXPECT_EQ(text, ExpectedInformationText());
  size_t lineFeeds = 0;
  for (char c : text) lineFeeds += c == '\n';
  EXPECT_EQ(lineFeeds + 1, 24u) << text;
  EXPECT_TRUE(HasStyle(about.info, ES_READONLY | ES_MULTILINE | WS_VSCROLL));
  EXPECT_TRUE(SendMessageA(about.info, EM_GETOPTIONS, 0, 0) & ECO_SAVESEL);
}

// How the select-all reaches the page, and where the focus is meanwhile.
enum class SelectAllBy { HostCommand, PostedToPage, PostedToWebLink };
enum class FocusOn { InformationBox, MailLink, Page };

struct CommandRow {
  const char* name;
  SelectAllBy selectAll;
  FocusOn focus;
};

const CommandRow kCommands[] = {
    {"HostCommandsWithFocusInTheBox", SelectAllBy::HostCommand, FocusOn::InformationBox},
    {"HostCommandsWithFocusOnALink", SelectAllBy::HostCommand, FocusOn::MailLink},
    // Whatever range the message asks for, the whole text is selected.
    {"PostedRangeFiveToTen", SelectAllBy::PostedToPage, FocusOn::Page},
    {"PostedToALinkOfThePage", SelectAllBy::PostedToWebLink, FocusOn::InformationBox},
};

class AboutPageCommands : public ViewerParamTest<CommandRow> {};

TEST_P(AboutPageCommands, SelectAllAndCopyPutTheWholeTextOnTheClipboard) {
  const CommandRow& row = GetParam();
  ListerWindow lister;
  ViewerParts viewer = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(viewer.IsComplete()) << DescribeTree(viewer.frame);
  AboutParts about = ShowAboutPage(viewer);
  ASSERT_TRUE(about.IsComplete()) << DescribeTree(viewer.frame);

  HWND focus = row.focus == FocusOn::MailLink ? about.linkMail
               : row.focus == FocusOn::Page   ? about.page
                                              : about.info;
  SetFocus(focus);
  PumpMessages();
  ASSERT_TRUE(SetClipboardText("stale clipboard text"));

  switch (row.selectAll) {
    case SelectAllBy::HostCommand:
      EXPECT_EQ(PluginModule::Get().ListSendCommand(viewer.frame, kListCommandSelectAll), kListPluginOk);
      break;
    case SelectAllBy::PostedToPage:
      PostMessageA(about.page, EM_SETSEL, 5, 10);
      break;
    case SelectAllBy::PostedToWebLink:
      PostMessageA(about.linkWeb, EM_SETSEL, 5, 10);
      break;
  }
  PumpMessages();
  const LONG length = static_cast<LONG>(SendMessageA(about.info, WM_GETTEXTLENGTH, 0, 0));
  // The selection runs to the end, past the control's closing paragraph mark.
  CHARRANGE selection = SelectionOf(about.info);
  EXPECT_EQ(selection.cpMin, 0);
  EXPECT_GE(selection.cpMax, length);

  EXPECT_EQ(PluginModule::Get().ListSendCommand(viewer.frame, kListCommandCopy), kListPluginOk);
  PumpMessages();
  EXPECT_EQ(WithLineFeeds(ClipboardText()), ExpectedInformationText());
}

INSTANTIATE_TEST_SUITE_P(Rows, AboutPageCommands, testing::ValuesIn(kCommands), RowName());

struct ResizeRow {
  const char* name;
  int dx;
  int dy;
};

const ResizeRow kResizes[] = {
    {"ThirtyWiderTwentyTaller", 30, 20},
    {"FiftyNarrowerTwentyShorter", -50, -20},
};

class AboutPageResize : public ViewerParamTest<ResizeRow> {};

TEST_P(AboutPageResize, OnlyTheInformationBoxFollowsTheLister) {
  const ResizeRow& row = GetParam();
  ListerWindow lister;
  ViewerParts viewer = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(viewer.IsComplete()) << DescribeTree(viewer.frame);
  AboutParts about = ShowAboutPage(viewer);
  ASSERT_TRUE(about.IsComplete()) << DescribeTree(viewer.frame);

  const HWND fixed[] = {about.banner, about.label, about.linkMail, about.linkWeb};
  std::vector<std::string> fixedBefore;
  for (HWND control : fixed) fixedBefore.push_back(ToString(RectIn(control, about.page)));
  const RECT infoBefore = RectIn(about.info, about.page);
  const RECT pageBefore = RectIn(about.page, viewer.sheet);

  RECT outer;
  GetWindowRect(lister.Handle(), &outer);
  lister.Resize(WidthOf(outer) + row.dx, HeightOf(outer) + row.dy);
  PumpMessages();

  const RECT pageAfter = RectIn(about.page, viewer.sheet);
  ASSERT_EQ(WidthOf(pageAfter) - WidthOf(pageBefore), row.dx) << "the page itself did not follow";
  ASSERT_EQ(HeightOf(pageAfter) - HeightOf(pageBefore), row.dy);
  const RECT infoAfter = RectIn(about.info, about.page);
  EXPECT_EQ(infoAfter.left, infoBefore.left);
  EXPECT_EQ(infoAfter.top, infoBefore.top);
  EXPECT_EQ(WidthOf(infoAfter) - WidthOf(infoBefore), row.dx);
  EXPECT_EQ(HeightOf(infoAfter) - HeightOf(infoBefore), row.dy);
  for (size_t i = 0; i < fixedBefore.size(); ++i) {
    SCOPED_TRACE("control " + std::to_string(ControlIdOf(fixed[i])));
    EXPECT_EQ(ToString(RectIn(fixed[i], about.page)), fixedBefore[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, AboutPageResize, testing::ValuesIn(kResizes), RowName());

}  // namespace
}  // namespace corvelle::host
