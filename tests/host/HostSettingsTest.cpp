// What the viewer takes from the host's configuration and its own options:
// the Lister font and tab stops, the saved window position. All only read.
#include "Harness.h"

namespace corvelle::host {
namespace {

std::string WincmdIni(const std::string& font1) { return "[Lister]\r\nFont1=" + font1 + "\r\n"; }

struct FontRow {
  const char* name;
  const char *font1, *face;
  int pixels;
  bool bold, italic;
};

const FontRow kFonts[] = {
    {"ItalicThenBold", "Arial,-13,i,b", "Arial", -13, true, true},
    {"SixteenPixels", "Tahoma,-16", "Tahoma", -16, false, false},
};

class ListerFont : public ViewerParamTest<FontRow> {};

TEST_P(ListerFont, SetsTheReportsFormatAndTabStopsOnEveryLine) {
  const FontRow& row = GetParam();
  std::string path = WriteRecords(30);
  CHARFORMATA plain;
  {
    ListerWindow lister;
    ViewerParts parts = OpenViewer(lister, path);
    ASSERT_TRUE(parts.IsComplete());
    plain = DefaultCharFormat(parts.dumpControl);
  }
  const std::string wincmd = m_dir.Write("wincmd.ini", WincmdIni(row.font1));
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete());
  CHARFORMATA format = DefaultCharFormat(parts.dumpControl);
  EXPECT_STREQ(format.szFaceName, row.face);
  HDC dc = GetDC(lister.Handle());
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(lister.Handle(), dc);
  const int height = -20 * MulDiv(row.pixels, 72, dpi);  // twips, rounded as MulDiv rounds
  EXPECT_EQ(format.yHeight, height);
  EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, row.bold || (plain.dwEffects & CFE_BOLD));
  EXPECT_EQ((format.dwEffects & CFE_ITALIC) != 0, row.italic || (plain.dwEffects & CFE_ITALIC));

  const std::vector<LONG> tabs = height < 200 ? std::vector<LONG>{400, 3200, 5500, 6500}
                                              : std::vector<LONG>{3 * height, 25 * height, 43 * height, 45 * height};
  const LPARAM length = SendMessageA(parts.dumpControl, WM_GETTEXTLENGTH, 0, 0);
  for (LPARAM at : {LPARAM{0}, length / 2, length}) {
    SCOPED_TRACE(testing::Message() << "paragraph at " << at);
    SendMessageA(parts.dumpControl, EM_SETSEL, at, at);
    PARAFORMAT2 paragraph = ParagraphFormat(parts.dumpControl);
    EXPECT_EQ(TabStopsOf(paragraph), tabs);
    EXPECT_EQ(paragraph.dySpaceBefore, 60);
  }
  EXPECT_TRUE(ReadFileBytes(wincmd) == WincmdIni(row.font1)) << "wincmd.ini was written";
}

INSTANTIATE_TEST_SUITE_P(Wincmd, ListerFont, testing::ValuesIn(kFonts), RowName());

// With no wincmd.ini beside the suggested path, the host's registry key names
// it, relative to its "InstallDir" (which names are followed is the rule's own test).
TEST_F(ViewerTest, ListerFontFollowsTheHostsRegistryKey) {
  HKEY ghisler = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ghisler", 0, KEY_READ, &ghisler) == ERROR_SUCCESS) {
    RegCloseKey(ghisler);
    GTEST_SKIP() << "the file manager's settings exist here; not touching them";
  }
  TempDir install;
  install.Write("wincmd.ini", WincmdIni("Tahoma,-13,i"));
  const std::string dir = install.Path().substr(0, install.Path().size() - 1), ini = ".\\wincmd.ini";
  const char kKey[] = "Software\\Ghisler\\Total Commander";
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "InstallDir", REG_SZ, dir.c_str(), dir.size() + 1), 0);
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "IniFileName", REG_SZ, ini.c_str(), ini.size() + 1), 0);
  std::string face;
  {
    ListerWindow lister;
    ViewerParts parts = OpenViewer(lister, WriteRecords(3));
    face = DefaultCharFormat(parts.dumpControl).szFaceName;
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ghisler");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ghisler");
  EXPECT_EQ(face, "Tahoma");
}

const RECT kSaved = {120, 90, 680, 520};
// kSaved as the profile functions store a structure: its bytes in hex, then the low byte of their sum.
const std::string kSavedValue = "780000005A000000A802000008020000" "86";

struct RectRow {
  const char* name;
  ListerKind kind;
  std::string options;
  bool moves;
};

const RectRow kRects[] = {
    {"AutosaveAbsent", ListerKind::TopLevel, "[Options]\r\nRect=" + kSavedValue, true},
    {"OtherNonZeroAnyCase", ListerKind::TopLevel, "[options]\r\nAUTOSAVE=7\r\nrect=" + kSavedValue, true},
    {"AutosaveZero", ListerKind::TopLevel, "[Options]\r\nautosave=0\r\nRect=" + kSavedValue, false},
    {"Embedded", ListerKind::Embedded, "[Options]\r\nautosave=1\r\nRect=" + kSavedValue, false},
};

class SavedRect : public ViewerParamTest<RectRow> {};

TEST_P(SavedRect, MovesATopLevelListerOnlyWhenAllowed) {
  const RectRow& row = GetParam();
  const std::string options = row.options + "\r\n", path = PluginModule::Get().OptionsIniPath();
  // The options file beside the module is not the test's own: what was there goes back.
  struct Restore {
    std::string path, previous;
    bool existed;
    ~Restore() { existed ? (void)WriteFileBytes(path, previous) : (void)DeleteFileA(path.c_str()); }
  } restore{path, ReadFileBytes(path), GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES};
  ASSERT_TRUE(WriteFileBytes(path, options));
  ListerWindow lister(row.kind);
  const RECT before = RectIn(lister.Handle(), nullptr);
  ASSERT_NE(lister.Open(WriteRecords(3)), nullptr);
  EXPECT_EQ(ToString(RectIn(lister.Handle(), nullptr)), ToString(row.moves ? kSaved : before));
  EXPECT_EQ(ToString(RectIn(lister.Viewer(), lister.Handle())), ToString(ClientRectOf(lister.Handle())));
  EXPECT_TRUE(ReadFileBytes(path) == options) << "the options were written";
}

INSTANTIATE_TEST_SUITE_P(Options, SavedRect, testing::ValuesIn(kRects), RowName());

}  // namespace
}  // namespace corvelle::host
