// The options file beside the module: a saved "Rect" moves a top-level
// Lister window when "autosave" allows it, and never an embedded one.
#include <gtest/gtest.h>

#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

const RECT kSaved = {120, 90, 120 + 560, 90 + 430};

std::string ValidRect() { return RectProfileValue(kSaved); }

struct RectCase {
  const char* name;
  ListerKind kind;
  std::string (*options)();  // the whole options file
  bool moves;
};

const RectCase kRectCases[] = {
    {"AutosaveAbsent", ListerKind::TopLevel, [] { return "[Options]\r\nRect=" + ValidRect() + "\r\n"; }, true},
    {"AutosaveOne", ListerKind::TopLevel,
     [] { return "[Options]\r\nautosave=1\r\nRect=" + ValidRect() + "\r\n"; }, true},
    {"AutosaveOtherNonZero", ListerKind::TopLevel,
     [] { return "[options]\r\nAUTOSAVE=7\r\nrect=" + ValidRect() + "\r\n"; }, true},
    {"AutosaveZero", ListerKind::TopLevel,
     [] { return "[Options]\r\nautosave=0\r\nRect=" + ValidRect() + "\r\n"; }, false},
    {"NoRect", ListerKind::TopLevel, [] { return std::string("[Options]\r\nautosave=1\r\n"); }, false},
    {"RectWithoutChecksum", ListerKind::TopLevel,
     [] { return "[Options]\r\nRect=" + ValidRect().substr(0, 32) + "\r\n"; }, false},
    {"RectWithWrongChecksum", ListerKind::TopLevel,
     [] {
       std::string value = ValidRect();
       value[33] = value[33] == '0' ? '1' : '0';
       return "[Options]\r\nRect=" + value + "\r\n";
     },
     false},
    {"RectWithANonHexDigit", ListerKind::TopLevel,
     [] {
       std::string value = ValidRect();
       value[5] = 'G';
       return "[Options]\r\nRect=" + value + "\r\n";
     },
     false},
    {"RectInAnotherSection", ListerKind::TopLevel, [] { return "[Lister]\r\nRect=" + ValidRect() + "\r\n"; },
     false},
    {"EmbeddedWithAutosave", ListerKind::Embedded,
     [] { return "[Options]\r\nautosave=1\r\nRect=" + ValidRect() + "\r\n"; }, false},
    {"EmbeddedAutosaveAbsent", ListerKind::Embedded, [] { return "[Options]\r\nRect=" + ValidRect() + "\r\n"; },
     false},
};

void PrintTo(const RectCase& row, std::ostream* out) { *out << row.name; }

class SavedRect : public ViewerParamTest<RectCase> {};

TEST_P(SavedRect, MovesTheListerOnlyWhenAllowed) {
  const RectCase& row = GetParam();
  const std::string optionsPath = PluginModule::Get().OptionsIniPath();
  const std::string options = row.options();
  ScopedFileContent optionsFile(optionsPath, options);
  std::string path = WriteDatabase(PalmDatabase::WithRecords(3));

  ListerWindow lister(row.kind);
  HWND top = lister.Outer() ? lister.Outer() : lister.Handle();
  RECT topBefore = RectIn(top, nullptr);
  RECT listerBefore = RectIn(lister.Handle(), nullptr);
  HWND viewer = lister.Open(path);
  ASSERT_NE(viewer, nullptr);

  if (row.moves) {
    EXPECT_EQ(ToString(RectIn(lister.Handle(), nullptr)), ToString(kSaved));
  } else {
    EXPECT_EQ(ToString(RectIn(top, nullptr)), ToString(topBefore));
    EXPECT_EQ(ToString(RectIn(lister.Handle(), nullptr)), ToString(listerBefore));
  }
  // The viewer fills the Lister wherever it went.
  EXPECT_EQ(ToString(RectIn(viewer, lister.Handle())), ToString(ClientRectOf(lister.Handle())));
  // The options are only read.
  EXPECT_TRUE(ReadFileBytes(optionsPath) == options) << optionsPath << " was written";
}

INSTANTIATE_TEST_SUITE_P(Options, SavedRect, testing::ValuesIn(kRectCases), RowName());

using EmbeddedViewer = ViewerTest;

TEST_F(EmbeddedViewer, LeavesTheFocusWhereItWasAndStartsEnabled) {
  ListerWindow lister(ListerKind::Embedded);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 120, 24, lister.Outer(),
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(FocusWindow(edit));
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  EXPECT_EQ(GetFocus(), edit) << "the embedded viewer took the focus";
  EXPECT_FALSE(HasStyle(parts.sheet, WS_DISABLED)) << "the sheet of an embedded viewer stays disabled";
  EXPECT_EQ(ToString(RectIn(parts.frame, lister.Handle())), ToString(ClientRectOf(lister.Handle())));
  DestroyWindow(edit);
}

}  // namespace
}  // namespace corvelle::host
