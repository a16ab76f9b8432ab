// ListSendCommand: copy and select-all reach the active page through the
// queue; every other command is refused.
#include <gtest/gtest.h>

#include "ViewerFixture.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

class ListCommands : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    if (HasFatalFailure()) return;
    m_path = WriteDatabase(PalmDatabase::WithRecords(40));
    m_parts = OpenViewer(m_lister, m_path);
    ASSERT_TRUE(m_parts.IsComplete()) << DescribeTree(m_parts.frame);
  }

  ListerWindow m_lister;
  std::string m_path;
  ViewerParts m_parts;
};

TEST_F(ListCommands, SelectAllSelectsTheWholeReport) {
  EXPECT_EQ(PluginModule::Get().ListSendCommand(m_parts.frame, kListCommandSelectAll), kListPluginOk);
  PumpMessages();
  EXPECT_TRUE(SelectedText(m_parts.dumpControl) == corvelle::DumpPalmFile(m_path.c_str()))
      << "selected: " << SelectedText(m_parts.dumpControl).size() << " bytes";
}

TEST_F(ListCommands, CommandsArePostedAndActOnlyInTheHostsLoop) {
  EXPECT_EQ(PluginModule::Get().ListSendCommand(m_parts.frame, kListCommandSelectAll), kListPluginOk);
  CHARRANGE before = SelectionOf(m_parts.dumpControl);
  EXPECT_EQ(before.cpMax - before.cpMin, 0) << "select-all acted before the host's loop ran";
  PumpMessages();
  CHARRANGE after = SelectionOf(m_parts.dumpControl);
  EXPECT_GT(after.cpMax - after.cpMin, 0);
}

TEST_F(ListCommands, CopyAfterSelectAllPutsTheReportOnTheClipboard) {
  ASSERT_TRUE(SetClipboardText("before the copy"));
  EXPECT_EQ(PluginModule::Get().ListSendCommand(m_parts.frame, kListCommandSelectAll), kListPluginOk);
  EXPECT_EQ(PluginModule::Get().ListSendCommand(m_parts.frame, kListCommandCopy), kListPluginOk);
  PumpMessages();
  EXPECT_TRUE(ClipboardText() == corvelle::DumpPalmFile(m_path.c_str()))
      << "clipboard: " << ClipboardText().substr(0, 80);
}

TEST_F(ListCommands, CopyPutsTheSelectionOnTheClipboard) {
  ASSERT_TRUE(SetClipboardText("before the copy"));
  SendMessageA(m_parts.dumpControl, EM_SETSEL, 0, 6);
  EXPECT_EQ(PluginModule::Get().ListSendCommand(m_parts.frame, kListCommandCopy), kListPluginOk);
  PumpMessages();
  EXPECT_EQ(ClipboardText(), corvelle::DumpPalmFile(m_path.c_str()).substr(0, 6));
}

TEST_F(ListCommands, BothCommandsAreAcceptedWhileTheAboutPageIsShowing) {
  ASSERT_TRUE(FocusWindow(m_parts.dumpControl));
  PressKey(m_parts.dumpControl, '2', kCtrl);
  ASSERT_EQ(SelectedTab(m_parts.tabControl), 1);
  EXPECT_EQ(PluginModule::Get().ListSendCommand(m_parts.frame, kListCommandSelectAll), kListPluginOk);
  EXPECT_EQ(PluginModule::Get().ListSendCommand(m_parts.frame, kListCommandCopy), kListPluginOk);
  PumpMessages();
  CHARRANGE dumpSelection = SelectionOf(m_parts.dumpControl);
  EXPECT_EQ(dumpSelection.cpMax - dumpSelection.cpMin, 0) << "the commands went to the hidden dump page";
}

struct RefusedCommand {
  const char* name;
  int command;
};

const RefusedCommand kRefusedCommands[] = {
    {"Zero", 0}, {"Two", 2}, {"Four", 4}, {"Five", 5}, {"Negative", -1}, {"Large", 0x10001},
};

void PrintTo(const RefusedCommand& row, std::ostream* out) { *out << row.name; }

class RefusedCommands : public ViewerParamTest<RefusedCommand> {};

TEST_P(RefusedCommands, GiveErrorAndChangeNothing) {
  ListerWindow lister;
  std::string path = WriteDatabase(PalmDatabase::WithRecords(5));
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  ASSERT_TRUE(SetClipboardText("untouched"));
  SendMessageA(parts.dumpControl, EM_SETSEL, 3, 9);
  EXPECT_EQ(PluginModule::Get().ListSendCommand(parts.frame, GetParam().command, 0), kListPluginError);
  PumpMessages();
  CHARRANGE selection = SelectionOf(parts.dumpControl);
  EXPECT_EQ(selection.cpMin, 3);
  EXPECT_EQ(selection.cpMax, 9);
  EXPECT_EQ(ClipboardText(), "untouched");
  EXPECT_TRUE(ControlText(parts.dumpControl) == corvelle::DumpPalmFile(path.c_str()));
}

INSTANTIATE_TEST_SUITE_P(ListSendCommand, RefusedCommands, testing::ValuesIn(kRefusedCommands), RowName());

}  // namespace
}  // namespace corvelle::host
