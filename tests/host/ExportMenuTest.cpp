// The Records page's export menu: what it offers for each kind of database,
// and the save dialog answered as a user would, with the file compared to
// what `corvelle-dump --export` writes (ExportToText, linked in here).
#include <algorithm>
#include <filesystem>
#include <memory>

#include "ModalAnswerer.h"
#include "RecordFixtures.h"
#include "export/Export.h"

namespace corvelle::host {
namespace {

struct MenuRow {
  const char* name;
  std::string (*bytes)();
  std::vector<std::wstring> formats;  // as the menu names them, in its order
};

// Text for memos, vCard for contacts, JSON for any database, image files for
// one with pictures; never raw, the command line's folder of every entry.
const MenuRow kMenus[] = {
    {"Memo", MemoFixture, {L"text", L"JSON"}},
    {"Address", AddressFixture, {L"vCard", L"JSON"}},
    {"Resources", ApplicationFixture, {L"JSON", L"image files"}},
};

class ExportMenu : public ViewerParamTest<MenuRow> {};

TEST_P(ExportMenu, OffersTheFormatsThatFitForAllAndForTheSelection) {
  const MenuRow& row = GetParam();
  ListerWindow lister;
  const HWND list = ShowRecords(OpenViewer(lister, m_dir.Write("db.pdb", row.bytes()))).list;
  ASSERT_NE(list, nullptr);
  std::vector<std::wstring> expected;
  for (const wchar_t* scope : {L"all", L"selected"}) {
    for (const std::wstring& format : row.formats) expected.push_back(std::wstring(L"Export ") + scope + L" as " + format + L"\u2026");
  }
  for (bool anySelected : {false, true}) {
    SCOPED_TRACE(anySelected ? "a row selected" : "nothing selected");
    if (anySelected) ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    FocusWindow(list);
    Answerer answer;
    PressKey(list, VK_APPS, kNoModifier, false);  // the menu's own loop runs the timer
    EXPECT_TRUE(answer.items == expected) << answer.items.size() << " items";
    for (size_t i = 0; i < answer.grayed.size(); ++i) EXPECT_EQ(answer.grayed[i], !anySelected && i >= row.formats.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Databases, ExportMenu, testing::ValuesIn(kMenus), RowName());

using ExportFile = ViewerTest;

// Through the right button's path (WM_CONTEXTMENU from the list).
TEST_F(ExportFile, IsWrittenOnlyWhereTheUserSaysAndEqualsTheCommandLinesExport) {
  const ModelledFile file{AddressFixture()};
  const std::string& bytes = file.bytes;
  const std::string viewed = m_dir.Write("Contacts.pdb", bytes);
  std::string expected, error;
  ASSERT_TRUE(ExportToText(file.model, ExportType::kVCard, ExportOptions{}, expected, error)) << error;
  ListerWindow lister;
  const HWND list = ShowRecords(OpenViewer(lister, viewed)).list;
  ASSERT_NE(list, nullptr);
  const std::string out = m_dir.PathOf("out.vcf");
  const struct { const char* name; int item; std::wstring file; bool written; } cases[] = {
      {"menu closed", -1, L"", false},
      {"dialog cancelled", 0, L"", false},
      {"the viewed file named", 0, std::wstring(viewed.begin(), viewed.end()), false},
      {"saved", 0, std::wstring(out.begin(), out.end()), true},
  };
  for (const auto& step : cases) {
    SCOPED_TRACE(step.name);
    Answerer answer;
    answer.menuItem = step.item;
    answer.fileName = step.file;
    RECT rect = RectIn(list, nullptr);
    SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(rect.left + 20, rect.top + 30));
    PumpMessages(false);
    EXPECT_TRUE(answer.menuDone);
    EXPECT_EQ(answer.dialogDone, step.item >= 0);
    EXPECT_EQ(GetFileAttributesA(out.c_str()) != INVALID_FILE_ATTRIBUTES, step.written);
    EXPECT_TRUE(ReadFileBytes(viewed) == bytes) << "the viewed file changed";
    const bool refused = std::any_of(answer.boxes.begin(), answer.boxes.end(), [](const std::wstring& box) {
      return box.find(L"cannot replace the file being viewed") != std::wstring::npos;
    });
    EXPECT_EQ(refused, step.file == std::wstring(viewed.begin(), viewed.end()));
    if (step.written) {
      EXPECT_TRUE(ReadFileBytes(out) == expected) << ReadFileBytes(out).size() << " bytes written";
    }
  }
}

// A disk that fills up during the export: WriteFile takes half of what it is
// given, then fails as Windows does on a full disk.
BOOL WINAPI WriteFileOnAFullDisk(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  WriteFile(file, bytes, size / 2, written, overlapped);
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

// Over a file the user already has (the save dialog asks, and is told yes): a
// good export replaces it whole; one whose write fails leaves it as it was,
// says so, and leaves no temporary beside it.
TEST_F(ExportFile, OverAnExistingFileReplacesItWholeOrLeavesItAsItWas) {
  const ModelledFile file{AddressFixture()};
  const std::string viewed = m_dir.Write("Contacts.pdb", file.bytes);
  std::string expected, error;
  ASSERT_TRUE(ExportToText(file.model, ExportType::kVCard, ExportOptions{}, expected, error)) << error;
  ListerWindow lister;
  const HWND list = ShowRecords(OpenViewer(lister, viewed)).list;
  ASSERT_NE(list, nullptr);
  const std::string out = m_dir.PathOf("out.vcf"), usersFile = "the file the user had there\r\n";
  const struct { const char* name; bool diskFull; } cases[] = {{"the disk full", true}, {"written", false}};
  for (const auto& step : cases) {
    SCOPED_TRACE(step.name);
    ASSERT_TRUE(WriteFileBytes(out, usersFile));
    std::unique_ptr<PatchedImport> fullDisk;
    if (step.diskFull) {
      fullDisk = std::make_unique<PatchedImport>(PluginModule::Get().Handle(), "kernel32.dll", "WriteFile",
                                                 reinterpret_cast<void*>(&WriteFileOnAFullDisk));
      ASSERT_TRUE(fullDisk->Patched());
    }
    Answerer answer;
    answer.menuItem = 0;
    answer.fileName = std::wstring(out.begin(), out.end());
    RECT rect = RectIn(list, nullptr);
    SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(rect.left + 20, rect.top + 30));
    PumpMessages(false);
    fullDisk.reset();
    EXPECT_TRUE(answer.menuDone && answer.dialogDone);
    EXPECT_TRUE(ReadFileBytes(out) == (step.diskFull ? usersFile : expected)) << ReadFileBytes(out).size() << " bytes";
    const bool told = std::any_of(answer.boxes.begin(), answer.boxes.end(), [](const std::wstring& box) {
      return box.find(L"could not be written") != std::wstring::npos;
    });
    EXPECT_EQ(told, step.diskFull);
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
      EXPECT_NE(entry.path().extension().string(), ".part") << entry.path().filename().string() << " left beside it";
    EXPECT_TRUE(ReadFileBytes(viewed) == file.bytes) << "the viewed file changed";
  }
}

// The pictures go into the new folder the save dialog names, each file the
// command line's: a Note Pad drawing as PNG by Windows' imaging.
TEST_F(ExportFile, OfPicturesMakesTheFolderTheUserNames) {
  const ModelledFile file{NotePadFixture()};
  const std::string viewed = m_dir.Write("NotePadDB.pdb", file.bytes);
  std::string expectedName, expected, error;
  const auto keep = [&](const std::string& name, std::string_view bytes) {
    expectedName = name;
    expected = std::string(bytes);
    return true;
  };
  ASSERT_TRUE(ExportToFiles(DecodedDatabase(file.model), ExportType::kImages, ExportOptions{}, keep, error)) << error;
  ListerWindow lister;
  const HWND list = ShowRecords(OpenViewer(lister, viewed)).list;
  ASSERT_NE(list, nullptr);
  const std::string folder = m_dir.PathOf("Drawings");
  Answerer answer;
  answer.menuItem = 1;  // "Export all as image files..."
  answer.fileName = std::wstring(folder.begin(), folder.end());
  RECT rect = RectIn(list, nullptr);
  SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(rect.left + 20, rect.top + 30));
  PumpMessages(false);
  ASSERT_TRUE(answer.menuDone && answer.dialogDone);
  EXPECT_TRUE(answer.boxes.empty()) << testing::PrintToString(answer.boxes.size());
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  ASSERT_EQ(names, std::vector<std::string>{expectedName});
  EXPECT_EQ(expectedName, "00000 Square.png");
  EXPECT_TRUE(ReadFileBytes(folder + "\\" + expectedName) == expected)
      << "the file is what the command line writes";
  EXPECT_TRUE(ReadFileBytes(viewed) == file.bytes) << "the viewed file changed";
}

}  // namespace
}  // namespace corvelle::host
