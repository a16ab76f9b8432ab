// The host's Lister font and the tab stops derived from its height, read from
// the wincmd.ini beside the INI path that ListSetDefaultParams suggested.
#include <gtest/gtest.h>

#include <cstring>

#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

constexpr int kTwipsPerPoint = 20;

struct FontCase {
  const char* name;
  const char* font1;         // null: no wincmd.ini at all
  const char* face;          // null: the control's own face stays
  int pixels;                // field 1 of Font1; 0: the control's own size stays
  bool bold;
  bool italic;
};

const FontCase kFonts[] = {
    {"NoWincmdIni", nullptr, nullptr, 0, false, false},
    {"CourierBold", "Courier New,-13,b", "Courier New", -13, true, false},
    {"ItalicThenBold", "Arial,-13,i,b", "Arial", -13, true, true},
    {"UpperCaseBIsNotBold", "Arial,-13,B", "Arial", -13, false, false},
    {"SpaceBeforeBIsNotBold", "Arial,-13, b", "Arial", -13, false, false},
    {"BoldWordIsNotBold", "Arial,-13,bold", "Arial", -13, false, false},
    {"FaceOnly", "Arial", "Arial", 0, false, false},
    {"SixteenPixels", "Tahoma,-16", "Tahoma", -16, false, false},
    {"TwelvePixels", "Tahoma,-12,i", "Tahoma", -12, false, true},
    {"EmptyValue", "", nullptr, 0, false, false},
};

// The character height in twips that a Font1 pixel size stands for on this
// screen: pixels × 72 ÷ dpi points, rounded as MulDiv rounds.
int ExpectedHeightTwips(int pixels, HWND window) {
  HDC dc = GetDC(window);
  int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(window, dc);
  return -kTwipsPerPoint * MulDiv(pixels, 72, dpi);
}

std::vector<LONG> ExpectedTabStops(int height) {
  if (height < 200) return {400, 3200, 5500, 6500};
  return {3 * height, 25 * height, 43 * height, 45 * height};
}

std::vector<LONG> TabStopsOf(const PARAFORMAT2& format) {
  std::vector<LONG> tabs;
  for (int i = 0; i < format.cTabCount && i < MAX_TAB_STOPS; ++i) tabs.push_back(TabPosition(format.rgxTabs[i]));
  return tabs;
}

void PrintTo(const FontCase& row, std::ostream* out) { *out << row.name; }

class ListerFont : public ViewerParamTest<FontCase> {
 protected:
  // The face and size the control has with no Lister font at all.
  static CHARFORMATA PlainFormat(const TempDir& dir, const std::string& path) {
    ResetHostConfiguration(dir);
    ListerWindow lister;
    ViewerParts parts = OpenViewer(lister, path);
    return parts.dumpControl ? DefaultCharFormat(parts.dumpControl) : CHARFORMATA{};
  }
};

TEST_P(ListerFont, SetsTheControlsFormatAndTabStops) {
  const FontCase& row = GetParam();
  std::string path = WriteDatabase(PalmDatabase::WithRecords(30));
  TempDir plainDir;
  CHARFORMATA plain = PlainFormat(plainDir, path);
  ASSERT_NE(plain.cbSize, 0u) << "no viewer without a Lister font";

  std::string wincmd = row.font1 ? m_dir.Write("wincmd.ini", WincmdIniText(row.font1)) : std::string();
  PluginModule::Get().ListSetDefaultParams(m_dir.PathOf("plugins.ini"));
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);

  CHARFORMATA format = DefaultCharFormat(parts.dumpControl);
  EXPECT_STREQ(format.szFaceName, row.face ? row.face : plain.szFaceName);
  int height = row.pixels ? ExpectedHeightTwips(row.pixels, lister.Handle()) : 0;
  EXPECT_EQ(format.yHeight, height ? height : plain.yHeight);
  EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, row.bold || (plain.dwEffects & CFE_BOLD) != 0);
  EXPECT_EQ((format.dwEffects & CFE_ITALIC) != 0, row.italic || (plain.dwEffects & CFE_ITALIC) != 0);

  // The tab stops and paragraph spacing cover the whole text, first line to last.
  std::vector<LONG> expectedTabs = ExpectedTabStops(height);
  LRESULT length = SendMessageA(parts.dumpControl, WM_GETTEXTLENGTH, 0, 0);
  for (LPARAM at : {LPARAM{0}, static_cast<LPARAM>(length / 2), static_cast<LPARAM>(length)}) {
    SCOPED_TRACE(testing::Message() << "paragraph at character " << at);
    SendMessageA(parts.dumpControl, EM_SETSEL, at, at);
    PARAFORMAT2 paragraph = ParagraphFormat(parts.dumpControl);
    EXPECT_EQ(TabStopsOf(paragraph), expectedTabs);
    EXPECT_EQ(paragraph.dySpaceBefore, 60);
  }
  if (row.font1) {
    EXPECT_EQ(ReadFileBytes(wincmd), WincmdIniText(row.font1)) << "wincmd.ini was written";
  }
}

INSTANTIATE_TEST_SUITE_P(Wincmd, ListerFont, testing::ValuesIn(kFonts), RowName());

using ListerFontSource = ViewerTest;

TEST_F(ListerFontSource, IsTheWincmdIniBesideTheSuggestedPathNotTheSuggestedFileItself) {
  // The suggested file holds a font too; only wincmd.ini in its directory counts.
  m_dir.Write("plugins.ini", WincmdIniText("Courier New,-13,b"));
  TempDir hostDir;
  hostDir.Write("wincmd.ini", WincmdIniText("Arial,-16,i"));
  PluginModule::Get().ListSetDefaultParams(hostDir.PathOf("lsplugin.ini"));
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  CHARFORMATA format = DefaultCharFormat(parts.dumpControl);
  EXPECT_STREQ(format.szFaceName, "Arial");
  EXPECT_TRUE(format.dwEffects & CFE_ITALIC);
  EXPECT_FALSE(format.dwEffects & CFE_BOLD);
}

TEST_F(ListerFontSource, LatestSuggestedPathWins) {
  TempDir first;
  first.Write("wincmd.ini", WincmdIniText("Courier New,-13"));
  TempDir second;
  second.Write("wincmd.ini", WincmdIniText("Tahoma,-13"));
  std::string path = WriteDatabase(PalmDatabase::WithRecords(3));
  PluginModule::Get().ListSetDefaultParams(first.PathOf("plugins.ini"));
  PluginModule::Get().ListSetDefaultParams(second.PathOf("plugins.ini"));
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  EXPECT_STREQ(DefaultCharFormat(parts.dumpControl).szFaceName, "Tahoma");
}

TEST_F(ListerFontSource, IsReadAgainAtEveryListLoad) {
  std::string path = WriteDatabase(PalmDatabase::WithRecords(3));
  m_dir.Write("wincmd.ini", WincmdIniText("Courier New,-13"));
  {
    ListerWindow lister;
    ViewerParts parts = OpenViewer(lister, path);
    ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
    EXPECT_STREQ(DefaultCharFormat(parts.dumpControl).szFaceName, "Courier New");
  }
  m_dir.Write("wincmd.ini", WincmdIniText("Tahoma,-13"));
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, path);
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  EXPECT_STREQ(DefaultCharFormat(parts.dumpControl).szFaceName, "Tahoma");
}

// The file manager's key, made by the test and removed with everything the
// test put there.
class ScopedHostKey {
 public:
  static constexpr char kPath[] = "Software\\Ghisler\\Total Commander";
  ScopedHostKey() {
    HKEY key = nullptr;
    m_existed = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ghisler", 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    if (!m_existed) RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
  }
  ~ScopedHostKey() {
    if (m_key) RegCloseKey(m_key);
    if (!m_existed) RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ghisler");
  }
  bool Existed() const { return m_existed; }
  void Set(const char* name, const std::string& value) {
    RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }

 private:
  bool m_existed = false;
  HKEY m_key = nullptr;
};

struct RegistryCase {
  const char* name;
  const char* iniFileName;  // "IniFileName"
  bool followed;
};

// Only a path relative to "InstallDir" (beginning with a dot) is followed.
const RegistryCase kRegistryCases[] = {
    {"RelativeIniFileName", ".\\wincmd.ini", true},
    {"AbsoluteIniFileName", "$wincmd.ini", false},
};

void PrintTo(const RegistryCase& row, std::ostream* out) { *out << row.name; }

class HostRegistry : public ViewerParamTest<RegistryCase> {};

TEST_P(HostRegistry, NamesTheWincmdIniWhenNoneIsBesideTheSuggestedPath) {
  ScopedHostKey hostKey;
  if (hostKey.Existed()) GTEST_SKIP() << "the file manager's settings exist on this system; not touching them";
  TempDir installDir;
  installDir.Write("wincmd.ini", WincmdIniText("Tahoma,-13,i"));
  std::string installPath = installDir.Path().substr(0, installDir.Path().size() - 1);  // no final backslash
  std::string iniFileName = GetParam().iniFileName;
  if (iniFileName[0] == '$') iniFileName = installDir.Path() + iniFileName.substr(1);
  hostKey.Set("InstallDir", installPath);
  hostKey.Set("IniFileName", iniFileName);

  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(3)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  CHARFORMATA format = DefaultCharFormat(parts.dumpControl);
  if (GetParam().followed) {
    EXPECT_STREQ(format.szFaceName, "Tahoma");
    EXPECT_TRUE(format.dwEffects & CFE_ITALIC);
  } else {
    EXPECT_STRNE(format.szFaceName, "Tahoma");
  }
}

INSTANTIATE_TEST_SUITE_P(Wincmd, HostRegistry, testing::ValuesIn(kRegistryCases), RowName());

}  // namespace
}  // namespace corvelle::host
