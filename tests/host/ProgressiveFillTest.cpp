// A big report arrives in pieces from the host's loop: its first screens when
// ListLoad returns, the rest while the host stays usable, and a copy or a
// search always acts on the whole report.
#include <cstring>
#include <memory>
#include <new>

#include "Harness.h"
#include "dump/PalmDump.h"
#include "model/ReportFillPlan.h"

namespace corvelle::host {
namespace {

using ListSearchTextProc = int(__stdcall*)(HWND listWin, char* searchString, int parameter);

void ExpectWholeReportWithTabStops(HWND control, const std::string& report) {
  std::string shown = ControlText(control);
  EXPECT_TRUE(shown == report) << shown.size() << " of " << report.size() << " bytes";
  LRESULT end = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  SendMessageA(control, EM_SETSEL, end - 3, end - 3);  // inside the last line
  PARAFORMAT2 format = ParagraphFormat(control);
  const LONG tabs[] = {400, 3200, 5500, 6500};
  EXPECT_EQ(format.dySpaceBefore, 60);
  EXPECT_EQ(TabStopsOf(format), std::vector<LONG>(tabs, tabs + 4));
}

using ProgressiveFill = ViewerTest;

HGLOBAL WINAPI GlobalAllocWithoutMemory(UINT, SIZE_T) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

TEST_F(ProgressiveFill, TwoBigReportsArriveWholeAtOnceWhileKeysSelectionAndViewHold) {
  const std::string paths[] = {WriteRecords(3000, "records.pdb"),
                               m_dir.Write("resources.prc", ResourceDatabase(2500))};
  ListerWindow listers[2];
  std::vector<ViewerParts> viewers;
  for (int i = 0; i < 2; ++i) {
    viewers.push_back(FindViewerParts(PluginModule::Get().ListLoad(listers[i].Handle(), paths[i])));
    ASSERT_TRUE(viewers[i].IsComplete());
    // The first screens at once, cut at a line end, and a title that says more is coming.
    std::string shown = ControlText(viewers[i].dumpControl), report = corvelle::DumpPalmFile(paths[i].c_str());
    EXPECT_TRUE(shown.size() >= 8000 && shown.size() < report.size()) << shown.size() << " bytes at once";
    EXPECT_TRUE(report.compare(0, shown.size(), shown) == 0 && shown.substr(shown.size() - 2) == "\r\n");
    EXPECT_TRUE(ReportArriving(viewers[i])) << DumpTabTitle(viewers[i]);
  }
  const HWND control = viewers[0].dumpControl;
  SendMessageA(control, EM_SETSEL, 40, 50);
  SendMessageA(control, EM_LINESCROLL, 0, 5);
  const LRESULT top = FirstVisibleLine(control);
  // The host's first paints come before any piece, and one viewer's pieces may
  // keep the other's waiting: wait for text to arrive, however long that takes.
  const size_t before = ControlText(control).size();
  ASSERT_TRUE(PumpUntil([&] { return ControlText(control).size() > before; })) << "no text arrived";
  ASSERT_TRUE(ReportArriving(viewers[0])) << "complete too soon to tell";
  EXPECT_EQ(FirstVisibleLine(control), top);
  EXPECT_TRUE(SelectionOf(control).cpMin == 40 && SelectionOf(control).cpMax == 50);
  // Wrapping, pages and sizes change while text arrives; a control that
  // holds much is renewed for them (asked for again below).
  PressKey(control, 'W', kNoModifier, false);
  EXPECT_FALSE(ShowsHorizontalScrollBar(FindViewerParts(viewers[0].frame).dumpControl));
  PressKey(FindViewerParts(viewers[0].frame).dumpControl, '2', kCtrl, false);
  EXPECT_NE(VisiblePage(viewers[0].sheet), viewers[0].dumpPage);
  PressKey(VisiblePage(viewers[0].sheet), '1', kCtrl, false);
  EXPECT_EQ(VisiblePage(viewers[0].sheet), viewers[0].dumpPage);
  const int width = RectIn(FindViewerParts(viewers[0].frame).dumpControl, nullptr).right;
  MoveWindow(viewers[0].frame, 0, 0, 500, 400, TRUE);
  PumpMessages(false);
  EXPECT_NE(RectIn(FindViewerParts(viewers[0].frame).dumpControl, nullptr).right, width);

  ASSERT_TRUE(PumpUntilFilled(viewers)) << "not complete after " << kFillLimitMs / 1000 << " s";
  viewers[0] = FindViewerParts(viewers[0].frame);
  EXPECT_EQ(SelectionOf(viewers[0].dumpControl).cpMin, 40);
  for (int i = 0; i < 2; ++i) {
    ExpectWholeReportWithTabStops(viewers[i].dumpControl, corvelle::DumpPalmFile(paths[i].c_str()));
    listers[i].Adopt(viewers[i].frame);
  }
}

TEST_F(ProgressiveFill, CopyAndSearchWhileTextArrivesWorkOnTheWholeReport) {
  std::string path = WriteRecords(3000);
  std::string report = corvelle::DumpPalmFile(path.c_str());
  ListerWindow lister;
  ViewerParts parts = FindViewerParts(PluginModule::Get().ListLoad(lister.Handle(), path));
  ASSERT_TRUE(parts.IsComplete());
  EmptyClipboardText();
  PluginModule::Get().ListSendCommand(parts.frame, kListCommandSelectAll);
  PluginModule::Get().ListSendCommand(parts.frame, kListCommandCopy);
  PumpMessages(false);
  ASSERT_TRUE(ReportArriving(parts)) << "no longer arriving";
  EXPECT_TRUE(ClipboardText() == report) << ClipboardText().size() << " of " << report.size() << " bytes";
  // The last record's ID has not arrived yet; finding it brings it in.
  auto search = PluginModule::Get().Entry<ListSearchTextProc>("ListSearchText");
  char needle[] = "100BB7h";
  SendMessageA(parts.dumpControl, EM_SETSEL, 0, 0);
  EXPECT_EQ(search(parts.frame, needle, 1), kListPluginOk);
  EXPECT_EQ(SelectionOf(parts.dumpControl).cpMin, static_cast<LONG>(report.find(needle)));
  EXPECT_EQ(SelectionOf(parts.dumpControl).cpMax, static_cast<LONG>(report.find(needle) + strlen(needle)));
  lister.Adopt(parts.frame);
}

TEST_F(ProgressiveFill, SmallMemoryBudgetStopsWithANoteAndCopyStillGivesTheWholeReport) {
  std::string path = WriteRecords(3000);
  std::string report = corvelle::DumpPalmFile(path.c_str());
  ListerWindow lister;
  ASSERT_TRUE(SetEnvironmentVariableA("CORVELLE_MEMORY_BUDGET_MB", "32"));
  HWND frame = lister.Open(path);  // the budget is read by ListLoad
  SetEnvironmentVariableA("CORVELLE_MEMORY_BUDGET_MB", nullptr);
  ViewerParts parts = FindViewerParts(frame);
  ASSERT_TRUE(parts.IsComplete() && PumpUntilFilled({parts}));
  std::string shown = ControlText(parts.dumpControl);
  size_t note = shown.find("\r\n*** Not enough memory");
  ASSERT_NE(note, std::string::npos) << "no note; " << shown.size() << " bytes shown";
  EXPECT_NE(shown.find("corvelle-dump prints the whole report", note), std::string::npos);
  EXPECT_LT(note, report.size() / 2);
  EXPECT_TRUE(report.compare(0, note, shown, 0, note) == 0);
  PluginModule::Get().ListSendCommand(frame, kListCommandSelectAll);
  PluginModule::Get().ListSendCommand(frame, kListCommandCopy);
  PumpMessages();
  EXPECT_TRUE(ClipboardText() == report) << ClipboardText().size() << " of " << report.size() << " bytes";
  // Without memory for the copy the clipboard keeps what it had; a message
  // box would not let the command return.
  PutClipboardText("kept");
  {
    PatchedImport noMemory(PluginModule::Get().Handle(), "kernel32.dll", "GlobalAlloc",
                           reinterpret_cast<void*>(&GlobalAllocWithoutMemory));
    ASSERT_TRUE(noMemory.Patched());
    PluginModule::Get().ListSendCommand(frame, kListCommandCopy);
    PumpMessages();  // the command is posted
  }
  EXPECT_TRUE(ClipboardText() == "kept") << ClipboardText().size() << " bytes on the clipboard";
  EXPECT_TRUE(IsWindow(frame) && IsWindowVisible(parts.dumpControl));
}

// Wine answers GlobalMemoryStatusEx from a snapshot it keeps for a second.
// That second is played here for the plug-in alone, from a snapshot taken
// while the viewers were open, whatever time closing them took.
MEMORYSTATUSEX g_snapshot = {};
DWORD g_snapshotEnds = 0;
BOOL WINAPI MemoryStatusFromSnapshot(MEMORYSTATUSEX* status) {
  if (static_cast<LONG>(GetTickCount() - g_snapshotEnds) < 0 && status->dwLength == sizeof g_snapshot) {
    *status = g_snapshot;
    return TRUE;
  }
  return GlobalMemoryStatusEx(status);
}

// A 32-bit process cannot hold the report of 65535 records: the page stops
// while the host still has its room, for real, and a 64-bit process is told
// it has 2 GB of address space to check the same everywhere. Then everything
// the host and the user do next must still work.
TEST_F(ProgressiveFill, AfterAStopForMemoryTheHostAndTheViewerStillWork) {
  constexpr uint64_t kMB = 1ull << 20, kAddressSpace = 2048 * kMB;
  struct InjectedAddressSpace {  // read by every ListLoad while it is set
    InjectedAddressSpace() { SetEnvironmentVariableA("CORVELLE_ADDRESS_SPACE_MB", "2048"); }
    ~InjectedAddressSpace() { SetEnvironmentVariableA("CORVELLE_ADDRESS_SPACE_MB", nullptr); }
  };
  std::unique_ptr<InjectedAddressSpace> injected;
  if (WholeAddressSpace() > kAddressSpace) injected = std::make_unique<InjectedAddressSpace>();
  const std::string path = WriteRecords(65535), small = WriteRecords(20, "small.pdb");
  const std::string report = corvelle::DumpPalmFile(path.c_str());
  const uint64_t freeBefore = kAddressSpace - UsedAddressSpace();
  size_t shownAtStop = 0;
  {
    ListerWindow first, second, third;
    const ViewerParts parts = OpenViewer(first, path);  // until the fill has stopped
    ASSERT_TRUE(parts.IsComplete());
    const uint64_t freeAtStop = kAddressSpace - UsedAddressSpace();
    // The room kept: 40 % of 2 GB, less what the test itself reads back below.
    EXPECT_GE(freeAtStop, kAddressSpace / 100 * 40 - 16 * kMB) << freeAtStop / kMB << " MB free";
    const std::string shown = ControlText(parts.dumpControl);
    const size_t note = shown.find("\r\n*** Not enough memory");
    ASSERT_NE(note, std::string::npos) << shown.size() << " of " << report.size() << " bytes shown, no note";
    EXPECT_TRUE(report.compare(0, note, shown, 0, note) == 0);
    shownAtStop = note;

    EmptyClipboardText();
    PluginModule::Get().ListSendCommand(parts.frame, kListCommandSelectAll);
    PluginModule::Get().ListSendCommand(parts.frame, kListCommandCopy);
    PumpMessages();
    EXPECT_TRUE(ClipboardText() == report) << ClipboardText().size() << " of " << report.size() << " bytes copied";
    EmptyClipboardText();
    // The search reads the whole report: a hit that is shown is selected, one
    // beyond the stop is refused.
    auto search = PluginModule::Get().Entry<ListSearchTextProc>("ListSearchText");
    std::string lastOffset = report.substr(report.rfind("Offset:"), 17), firstOffset = lastOffset.substr(0, 7);
    const int kFirstMatchingCase = 3;
    EXPECT_EQ(search(parts.frame, firstOffset.data(), kFirstMatchingCase), kListPluginOk);
    EXPECT_EQ(SelectionOf(parts.dumpControl).cpMin, static_cast<LONG>(report.find(firstOffset)));
    EXPECT_EQ(search(parts.frame, lastOffset.data(), kFirstMatchingCase), kListPluginError);
    // The user's wrap toggle fills a fresh control again, which stops for
    // memory as the first one did: a control that holds megabytes is never
    // laid out again (on 32-bit it did not come back).
    {
      RelayoutLog log(parts.dumpControl, corvelle::kWholeReportBytes);
      PressKey(parts.dumpControl, 'W', kNoModifier, false);
      EXPECT_EQ(log.BigRelayouts(), 0u) << "laid out again holding " << log.LongestRelaidText() << " characters";
    }
    const ViewerParts wrapped = FindViewerParts(parts.frame);
    ASSERT_TRUE(wrapped.IsComplete() && PumpUntilFilled({wrapped}));
    const std::string shownWrapped = ControlText(wrapped.dumpControl);
    const size_t noteWrapped = shownWrapped.find("\r\n*** Not enough memory");
    EXPECT_TRUE(noteWrapped != std::string::npos && report.compare(0, noteWrapped, shownWrapped, 0, noteWrapped) == 0)
        << shownWrapped.size() << " bytes shown after the wrap toggle";

    const ViewerParts again = OpenViewer(second, path), other = OpenViewer(third, small);
    ASSERT_TRUE(again.IsComplete() && other.IsComplete());
    const std::string shownAgain = ControlText(again.dumpControl);
    const size_t noteAgain = shownAgain.find("\r\n*** Not enough memory");
    EXPECT_TRUE(noteAgain != std::string::npos && report.compare(0, noteAgain, shownAgain, 0, noteAgain) == 0);
    EXPECT_TRUE(ControlText(other.dumpControl) == corvelle::DumpPalmFile(small.c_str()));
    // The host's own next big allocation, in one piece.
    std::unique_ptr<char[]> block(new (std::nothrow) char[64 * kMB]);
    ASSERT_NE(block, nullptr) << "no 64 MB for the host";
    std::memset(block.get(), 1, 64 * kMB);
    g_snapshot.dwLength = sizeof g_snapshot;
    GlobalMemoryStatusEx(&g_snapshot);
  }
  {
    // The room is back for the next viewer however soon it opens, even told
    // at first that the closed viewers still hold it: the same report stops
    // about where the first one did, not at its first line.
    PatchedImport snapshot(PluginModule::Get().Handle(), "kernel32.dll", "GlobalMemoryStatusEx",
                           reinterpret_cast<void*>(&MemoryStatusFromSnapshot));
    ASSERT_TRUE(snapshot.Patched());
    g_snapshotEnds = GetTickCount() + 1000;
    ListerWindow next;
    const std::string shown = ControlText(OpenViewer(next, path).dumpControl);
    const size_t note = shown.find("\r\n*** Not enough memory");
    EXPECT_TRUE(note != std::string::npos && note > shownAtStop / 2)
        << shown.size() << " bytes shown when opened again, " << shownAtStop << " the first time";
  }
  // The heap keeps some of what the control freed, but the room comes back.
  const uint64_t freeAfter = kAddressSpace - UsedAddressSpace();
  EXPECT_GE(freeAfter, freeBefore - freeBefore / 10) << freeAfter / kMB << " MB free after closing, "
                                                     << freeBefore / kMB << " MB before";
}

// What arrives never makes the control lay out its whole text again: the
// memory note, a line wider than the control, once showed its horizontal
// scroll bar, and on a 32-bit host the control never came back from laying
// out the megabytes above it. The user's wrap toggle and a new size are made
// on a fresh control that fills again in pieces, with the selection and the
// first line in view given back.
TEST_F(ProgressiveFill, NeitherWhatArrivesNorWrappingNorANewSizeLaysOutABigTextAgain) {
  const std::string path = WriteRecords(6000);
  const std::string report = corvelle::DumpPalmFile(path.c_str());
  constexpr LRESULT kBigText = corvelle::kWholeReportBytes;
  ListerWindow lister;
  ASSERT_TRUE(SetEnvironmentVariableA("CORVELLE_MEMORY_BUDGET_MB", "48"));
  const HWND frame = PluginModule::Get().ListLoad(lister.Handle(), path);
  SetEnvironmentVariableA("CORVELLE_MEMORY_BUDGET_MB", nullptr);
  ViewerParts parts = FindViewerParts(frame);
  ASSERT_TRUE(parts.IsComplete());
  {
    RelayoutLog log(parts.dumpControl, kBigText);
    lister.Adopt(frame);
    const std::string shown = ControlText(parts.dumpControl);
    const size_t note = shown.find("\r\n*** Not enough memory");
    ASSERT_NE(note, std::string::npos) << shown.size() << " bytes shown, no note";
    ASSERT_GT(note, size_t(kBigText)) << "too little shown to tell";
    EXPECT_EQ(log.BigRelayouts(), 0u) << "laid out again holding " << log.LongestRelaidText() << " characters";
  }
  SendMessageA(parts.dumpControl, EM_SETSEL, 40, 50);
  SendMessageA(parts.dumpControl, EM_LINESCROLL, 0, 300);
  const LRESULT inView = SendMessageA(parts.dumpControl, EM_LINEINDEX, FirstVisibleLine(parts.dumpControl), 0);
  ASSERT_GT(inView, 0);
  struct Step {
    const char* name;
    std::function<void(HWND control)> act;
  };
  const Step steps[] = {{"wrap", [](HWND control) { PressKey(control, 'W', kNoModifier, false); }},
                        {"unwrap", [](HWND control) { PressKey(control, 'W', kNoModifier, false); }},
                        {"a new size", [&](HWND) { lister.Resize(60, -40); }}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    {
      RelayoutLog log(parts.dumpControl, kBigText);
      step.act(parts.dumpControl);
      EXPECT_EQ(log.BigRelayouts(), 0u) << "laid out again holding " << log.LongestRelaidText() << " characters";
    }
    parts = FindViewerParts(frame);
    {
      RelayoutLog log(parts.dumpControl, kBigText);
      ASSERT_TRUE(PumpUntilFilled({parts}));
      EXPECT_EQ(log.BigRelayouts(), 0u) << "laid out again holding " << log.LongestRelaidText() << " characters";
    }
    const std::string shown = ControlText(parts.dumpControl);
    const size_t whole = std::min(shown.find("\r\n*** Not enough memory"), shown.size());
    EXPECT_TRUE(report.compare(0, whole, shown, 0, whole) == 0) << whole << " bytes shown";
    EXPECT_GT(shown.size(), size_t(inView));
    const LRESULT top = FirstVisibleLine(parts.dumpControl);
    EXPECT_LE(SendMessageA(parts.dumpControl, EM_LINEINDEX, top, 0), inView);
    EXPECT_GT(SendMessageA(parts.dumpControl, EM_LINEINDEX, top + 1, 0), inView);
    const CHARRANGE selection = SelectionOf(parts.dumpControl);
    EXPECT_TRUE(selection.cpMin == 40 && selection.cpMax == 50) << selection.cpMin << "-" << selection.cpMax;
  }
}

TEST_F(ProgressiveFill, ClosingWhileTextArrivesLeavesNoWindowOrTimer) {
  std::string path = WriteRecords(3000);
  ListerWindow lister;
  ViewerParts parts = FindViewerParts(PluginModule::Get().ListLoad(lister.Handle(), path));
  ASSERT_TRUE(parts.IsComplete());
  PumpMessagesFor(100);
  ASSERT_TRUE(ReportArriving(parts)) << "complete too soon to tell";
  PluginModule::Get().ListCloseWindow(parts.frame);
  PumpMessagesFor(200);  // a timer left behind would fire here
  EXPECT_FALSE(DispatchOne(WM_TIMER, WM_TIMER));
  EXPECT_FALSE(IsWindow(parts.dumpPage) || IsWindow(parts.frame));
  EXPECT_TRUE(ChildrenOf(lister.Handle()).empty());
}

}  // namespace
}  // namespace corvelle::host
