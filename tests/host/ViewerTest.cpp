// What ListLoad and the other entry points make: the windows and how they
// follow the Lister's size, the report they show, which names are taken, the
// detect string, the search and the thumbnail.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "RecordFixtures.h"
#include "dump/LauncherIcon.h"
#include "dump/PalmDump.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle::host {
namespace {

using Viewer = ViewerTest;

// It neither writes nor holds the viewed file, and does not make the host's key.
TEST_F(Viewer, IsAChildFrameWithASheetOfThreeTabsAndAReadOnlyReport) {
  const char kHostKey[] = "Software\\Ghisler\\Total Commander";
  HKEY key = nullptr;
  const bool keyExisted = RegOpenKeyExA(HKEY_CURRENT_USER, kHostKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (key) RegCloseKey(key);
  const std::string path = WriteRecords(200), bytes = ReadFileBytes(path);
  ListerWindow lister(ListerKind::TopLevel, RECT{40, 30, 440, 510});  // narrower than the report's long lines
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete());
  EXPECT_EQ(GetParent(parts.frame), lister.Handle());
  EXPECT_EQ(GetWindowLongPtrA(parts.frame, GWL_STYLE), 0x50000900);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongPtrA(parts.frame, GWLP_ID)),
            static_cast<uint32_t>(reinterpret_cast<uintptr_t>(PluginModule::Get().Handle())));
  EXPECT_EQ(ToString(RectIn(parts.frame, lister.Handle())), ToString(ClientRectOf(lister.Handle())));
  EXPECT_TRUE(HasStyle(parts.sheet, WS_CHILD | WS_VISIBLE | WS_TABSTOP));
  EXPECT_FALSE(HasStyle(parts.sheet, WS_DISABLED) || HasStyle(parts.sheet, WS_CAPTION));
  EXPECT_EQ(ToString(RectIn(parts.sheet, parts.frame)), ToString(ClientRectOf(parts.frame)));
  for (HWND child : ChildrenOf(parts.sheet)) {
    EXPECT_FALSE(ClassNameOf(child) == "Button" && IsWindowVisible(child)) << "a sheet button shows";
  }
  EXPECT_EQ(TabTitles(parts.tabControl), (std::vector<std::string>{"Image Dump", "About", "Records"}));
  EXPECT_EQ(VisiblePage(parts.sheet), parts.dumpPage);
  EXPECT_EQ(PagesOf(parts.sheet).size(), 1u) << "the other pages are made when first chosen";
  EXPECT_TRUE(HasStyle(parts.dumpControl, WS_VSCROLL | ES_MULTILINE | ES_NOHIDESEL | ES_READONLY));
  // Long lines start unwrapped: each line of the report is one line of the
  // control, and one wider than the control in whatever font this machine
  // draws it with brings the horizontal bar.
  const std::string text = ControlText(parts.dumpControl);
  EXPECT_EQ(DisplayLineCount(parts.dumpControl), std::count(text.begin(), text.end(), '\n') + 1)
      << "long lines start wrapped";
  EXPECT_GT(WidestLineWidth(parts.dumpControl), ClientRectOf(parts.dumpControl).right) << "no line to scroll to";
  EXPECT_TRUE(ShowsHorizontalScrollBar(parts.dumpControl)) << "long lines start unwrapped";
  EXPECT_EQ(SelectionOf(parts.dumpControl).cpMax, 0);
  EXPECT_EQ(FirstVisibleLine(parts.dumpControl), 0);
  EXPECT_TRUE(ReadFileBytes(path) == bytes);
  // While the viewer shows it, another program may write or delete the file.
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE) << "the plug-in holds the viewed file";
  CloseHandle(writer);
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  EXPECT_TRUE(keyExisted || RegOpenKeyExA(HKEY_CURRENT_USER, kHostKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
      << "the key was made";
  // The text went in unpainted: the scroll bar still spans all of it.
  SCROLLINFO scroll = {};
  scroll.cbSize = sizeof scroll;
  scroll.fMask = SIF_RANGE | SIF_PAGE;
  ASSERT_TRUE(GetScrollInfo(parts.dumpControl, SB_VERT, &scroll));
  EXPECT_GT(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage) * 20) << "a long report, not scrollable";
}

struct ReportRow {
  const char* name;
  std::wstring fileName;     // in the test's folder; "" gives an empty path
  std::string (*content)();  // null: no such file
  bool taken;                // false: not the plug-in's file, no viewer
  int records = -1;          // the Records page's rows; -1: not shown
};

std::string SmallDatabase() { return RecordDatabase(4); }

const ReportRow kReports[] = {
    {"Records", L"memo.pdb", [] { return RecordDatabase(3); }, true},
    {"ResourcesUpperCaseName", L"app.PRC", [] { return ResourceDatabase(25); }, true},
    // The Records page reads the file again, when first shown, by the same name.
    {"CyrillicName", L"\x0417\x0430\x043C\x0435\x0442\x043A\x0438.pqa", SmallDatabase, true, 4},
    {"MissingFile", L"missing.pdb", nullptr, true},
    {"BackupSuffix", L"memo.pdb.bak", SmallDatabase, false},
    {"EmptyPath", L"", nullptr, false},
};

class Report : public ViewerParamTest<ReportRow> {};

// Through ListLoadW, so that names outside the code page are tried too (every
// other test opens its file through ListLoad). Up to 32 KB the report is whole
// when ListLoadW returns; a bigger one comes in from the host's loop.
TEST_P(Report, IsTheEnginesTextByteForByteWhenTheFileIsTaken) {
  const ReportRow& row = GetParam();
  auto loadW = PluginModule::Get().Entry<HWND(__stdcall*)(HWND, WCHAR*, int)>("ListLoadW");
  ASSERT_NE(loadW, nullptr);
  std::wstring path = row.fileName;
  if (!path.empty()) path = std::wstring(m_dir.Path().begin(), m_dir.Path().end()) + path;
  if (row.content) std::ofstream(std::filesystem::path(path), std::ios::binary) << row.content();
  ListerWindow lister;
  ViewerParts parts = FindViewerParts(loadW(lister.Handle(), path.data(), 0));
  if (!row.taken) {
    EXPECT_EQ(parts.frame, nullptr);
    EXPECT_TRUE(ChildrenOf(lister.Handle()).empty());
    return;
  }
  ASSERT_TRUE(parts.IsComplete());
  const std::string expected = DumpPalmFileW(path.c_str());
  if (expected.size() <= 32 * 1024) {
    EXPECT_EQ(DumpTabTitle(parts), kDumpTabTitle);
    EXPECT_TRUE(ControlText(parts.dumpControl) == expected) << "not whole when ListLoadW returned";
  }
  lister.Adopt(parts.frame);
  std::string shown = ControlText(parts.dumpControl);
  EXPECT_TRUE(shown == expected) << shown.size() << " bytes shown, " << expected.size() << " expected";
  if (row.records >= 0) {
    const HWND list = ShowRecords(parts).list;
    EXPECT_EQ(list ? ListView_GetItemCount(list) : -1, row.records);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, Report, testing::ValuesIn(kReports), RowName());

// Whole or not at all; the buffer edges are the rule's own tests.
TEST(DetectString, IsWrittenWholeOrNotAtAll) {
  auto detect = PluginModule::Get().Entry<void(__stdcall*)(char*, int)>("ListGetDetectString");
  ASSERT_NE(detect, nullptr);
  char whole[2048], none[8] = "#######";
  detect(whole, sizeof whole);
  detect(none, sizeof none);
  EXPECT_STREQ(whole, "EXT=\"PDB\" | EXT=\"PRC\" | EXT=\"PQA\"");
  EXPECT_STREQ(none, "");
}

constexpr int kFindFirst = 1, kMatchCase = 2, kWholeWords = 4, kBackwards = 8;

// The host's flags reach the search; the finding rules are the rule's own tests.
TEST_F(ViewerTest, SearchSelectsTheHitTheFlagsAskForAndFindNextVisitsEveryHit) {
  auto search = PluginModule::Get().Entry<int(__stdcall*)(HWND, char*, int)>("ListSearchText");
  ASSERT_NE(search, nullptr);
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, m_dir.Write("memo.pdb", RecordDatabase(60, "memorandum memo")));
  ASSERT_TRUE(parts.IsComplete());
  const std::string text = ControlText(parts.dumpControl);
  auto find = [&](std::string needle, int flags, HWND viewer) { return search(viewer, needle.data(), flags); };
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  const struct {
    const char* needle;
    int flags;
    size_t at;
  } kFinds[] = {
      {"MEMORANDUM", kFindFirst, lower.find("memorandum")},
      {"memo", kFindFirst | kWholeWords | kMatchCase, text.find("memorandum memo") + 11},
      {"MEMORANDUM", kFindFirst | kMatchCase, std::string::npos},
      {"Offset:", kFindFirst | kBackwards | kMatchCase, text.rfind("Offset:")},
  };
  for (const auto& row : kFinds) {
    SCOPED_TRACE(testing::Message() << row.needle << " flags " << row.flags);
    SendMessageA(parts.dumpControl, EM_SETSEL, 5, 5);
    const bool found = row.at != std::string::npos;
    EXPECT_EQ(find(row.needle, row.flags, parts.frame), found ? kListPluginOk : kListPluginError);
    const LONG start = found ? static_cast<LONG>(row.at) : 5;
    EXPECT_EQ(SelectionOf(parts.dumpControl).cpMin, start);
    EXPECT_EQ(SelectionOf(parts.dumpControl).cpMax, found ? start + static_cast<LONG>(strlen(row.needle)) : 5);
  }
  EXPECT_GT(FirstVisibleLine(parts.dumpControl), 0) << "the last hit was not scrolled into view";
  EXPECT_EQ(find("memo", kFindFirst, lister.Handle()), kListPluginError) << "not a viewer";

  std::vector<size_t> all;
  for (size_t at = text.find("Offset:"); at != std::string::npos; at = text.find("Offset:", at + 1)) all.push_back(at);
  ASSERT_GE(all.size(), 3u);
  for (bool backwards : {false, true}) {
    if (backwards) std::reverse(all.begin(), all.end());
    std::vector<size_t> visited;
    int flags = kFindFirst | kMatchCase | (backwards ? kBackwards : 0);
    while (visited.size() <= all.size() && find("Offset:", flags, parts.frame) == kListPluginOk) {
      visited.push_back(static_cast<size_t>(SelectionOf(parts.dumpControl).cpMin));
      flags &= ~kFindFirst;
    }
    EXPECT_EQ(visited, all) << (backwards ? "backwards" : "forwards");
  }
}

struct ResizeRow {
  const char* name;
  ListerKind kind;
  int dx, dy;
};

const ResizeRow kResizes[] = {
    {"WiderTaller", ListerKind::TopLevel, 30, 20},
    {"NarrowerShorter", ListerKind::TopLevel, -40, -30},
    {"EmbeddedWiderTaller", ListerKind::Embedded, 60, 40},
};

class Resize : public ViewerParamTest<ResizeRow> {};

// Every part follows the Lister's size, a hidden page too; the report keeps
// the margins its dialog template gives it. An embedded viewer leaves the
// focus where it was and starts enabled.
TEST_P(Resize, MovesTheRightAndBottomEdgesOfEveryPartTogether) {
  const ResizeRow& row = GetParam();
  ListerWindow lister(row.kind);
  const HWND edit = row.kind != ListerKind::Embedded ? nullptr
      : CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 120, 24, lister.Outer(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(!edit || FocusWindow(edit));
  ViewerParts parts = OpenViewer(lister, WriteRecords(3));
  ASSERT_TRUE(parts.IsComplete());
  EXPECT_TRUE(!edit || GetFocus() == edit) << "the viewer took the focus";
  EXPECT_FALSE(HasStyle(parts.sheet, WS_DISABLED));
  const HWND windows[] = {parts.frame, parts.sheet, parts.tabControl, parts.dumpPage, parts.dumpControl};
  auto rects = [&] {
    std::vector<RECT> all;
    for (HWND window : windows) all.push_back(RectIn(window, GetParent(window)));
    return all;
  };
  // The control sits where the template puts it: (7, 7) size 208 x 161 of a
  // 222 x 175 page, in dialog units. The dialog manager maps a control's
  // origin and its size apart, each rounded in the page's font, so its far
  // edges are not always the mapped sums (a 12-pixel-high font maps 7 and 161
  // to 11 and 242, but 168 to 252): the margins are taken the same way.
  RECT origin = {7, 7, 0, 0}, size = {208, 161, 0, 0}, page = {0, 0, 222, 175};
  for (RECT* units : {&origin, &size, &page}) MapDialogRect(parts.dumpPage, units);
  const RECT margins = {origin.left, origin.top, page.right - origin.left - size.left,
                        page.bottom - origin.top - size.top};
  auto marginsNow = [&] {
    RECT at = RectIn(parts.dumpControl, parts.dumpPage), client = ClientRectOf(parts.dumpPage);
    return RECT{at.left, at.top, client.right - at.right, client.bottom - at.bottom};
  };
  EXPECT_EQ(ToString(marginsNow()), ToString(margins));

  // The About page is made, then hidden while the Lister changes size.
  PressKey(parts.tabControl, '2', kCtrl);
  PressKey(parts.tabControl, '1', kCtrl);
  std::vector<RECT> before = rects();
  lister.Resize(row.dx, row.dy);
  std::vector<RECT> after = rects();
  for (size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(ClassNameOf(windows[i]));
    EXPECT_EQ(ToString(after[i]), ToString(RECT{before[i].left, before[i].top, before[i].right + row.dx,
                                                before[i].bottom + row.dy}));
  }
  EXPECT_EQ(ToString(marginsNow()), ToString(margins));

  // Minimised and restored, the layout is as it was.
  ShowWindow(lister.Top(), SW_MINIMIZE);
  PumpMessages();
  ShowWindow(lister.Top(), SW_RESTORE);
  PumpMessages();
  EXPECT_EQ(ToString(RectIn(parts.dumpControl, parts.dumpPage)), ToString(after.back()));
  PressKey(parts.tabControl, '2', kCtrl);
  HWND about = VisiblePage(parts.sheet);
  ASSERT_NE(about, parts.dumpPage);
  EXPECT_EQ(ToString(RectIn(about, parts.sheet)), ToString(RectIn(parts.dumpPage, parts.sheet)));
}

INSTANTIATE_TEST_SUITE_P(Lister, Resize, testing::ValuesIn(kResizes), RowName());

// ListGetPreviewBitmap(W) as the file manager's thumbnail view calls them:
// the launcher icon, scaled by whole factors and drawn over the window
// colour, pixel for pixel what the engine decodes; nothing for a file
// without one.
// The bitmap's pixels as 0x00RRGGBB, top row first, if it is side x side.
std::vector<COLORREF> SquarePixelsOf(HBITMAP bitmap, LONG side) {
  BITMAP info = {};
  GetObject(bitmap, sizeof(info), &info);
  if (info.bmWidth != side || info.bmHeight != side) return {};
  BITMAPINFO request = {};
  request.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<COLORREF> pixels(static_cast<size_t>(side) * side);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, side, pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return pixels;
}

TEST(PreviewBitmap, IsTheDecodedIconScaledOverTheWindowColourOrNothing) {
  const auto preview = PluginModule::Get().Entry<HBITMAP(__stdcall*)(char*, int, int, char*, int)>(
      "ListGetPreviewBitmap");
  ASSERT_NE(preview, nullptr);
  const auto of = [preview](std::string path, int width, int height) {  // a writable copy, as the host passes
    return preview(path.data(), width, height, nullptr, 0);
  };
  TempDir dir;
  const std::string app = dir.Write("Hello.prc", samples::SerializePalmDatabase(samples::ApplicationSample()));
  const std::string bytes = ReadFileBytes(app);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  // Box, and the side expected: 44-pixel double density twice, once, then 22-pixel 8 bits.
  const struct { int width, height; LONG side; } rows[] = {{96, 96, 88}, {200, 50, 44}, {43, 64, 22}, {16, 16, 16}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height));
    const std::vector<COLORREF> pixels = SquarePixelsOf(of(app, row.width, row.height), row.side);
    ASSERT_FALSE(pixels.empty()) << "no bitmap, or not " << row.side << " pixels square";
    IconImage icon;
    ASSERT_TRUE(DecodeLauncherIcon(reinterpret_cast<const uint8_t*>(bytes.data()),
                                   static_cast<uint32_t>(bytes.size()), row.width, row.height, icon));
    const IconImage expected = ScaleToFit(icon, row.width, row.height);
    for (size_t i = 0; i < pixels.size(); ++i) {
      const Rgba& p = expected.pixels[i];
      const COLORREF want = p.a == 0 ? window : RGB(p.r, p.g, p.b);
      ASSERT_EQ(pixels[i] & 0xFFFFFF, RGB(GetBValue(want), GetGValue(want), GetRValue(want))) << "pixel " << i;
    }
  }
  const std::string memos = dir.Write("Memos.pdb", samples::SerializePalmDatabase(samples::MemoSample()));
  for (const std::string& other : {memos, dir.Write("notes.txt", "text"), dir.PathOf("gone.prc")}) {
    EXPECT_EQ(of(other, 96, 96), nullptr) << other;
  }
  auto previewW = PluginModule::Get().Entry<HBITMAP(__stdcall*)(WCHAR*, int, int, char*, int)>(
      "ListGetPreviewBitmapW");
  ASSERT_NE(previewW, nullptr);
  std::wstring wide(app.begin(), app.end());
  EXPECT_EQ(SquarePixelsOf(previewW(wide.data(), 96, 96, nullptr, 0), 88).size(), 88u * 88u);
}

}  // namespace
}  // namespace corvelle::host
