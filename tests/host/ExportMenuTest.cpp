// The Records page's export menu: what it offers for each kind of database,
// and the save dialog answered as a user would, with the file compared to
// what `corvelle-dump --export` writes (ExportToText, linked in here).
#include <algorithm>

#include "RecordFixtures.h"
#include "export/Export.h"

namespace corvelle::host {
namespace {

constexpr int kFileNameCombo = 0x47C;  // cmb13 of the Explorer-style save dialog

// Answers the modal loops the menu opens, from a thread timer that they
// dispatch: reads the menu and picks an item (or closes it), names the file
// in the save dialog (or cancels it), and says yes to any message box.
struct Answerer {
  int menuItem = -1;        // -1: close the menu without a choice
  std::wstring fileName;    // empty: cancel the save dialog
  std::vector<std::wstring> items;
  std::vector<bool> grayed;
  std::vector<std::wstring> boxes;  // the message boxes' texts
  bool menuDone = false, dialogDone = false;
  UINT_PTR timer;

  static inline Answerer* s_current = nullptr;
  Answerer() : timer(SetTimer(nullptr, 0, 40, &Tick)) { s_current = this; }
  ~Answerer() { KillTimer(nullptr, timer), s_current = nullptr; }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { s_current->Step(); }
  void Step() {
    if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu) && !menuDone) {
      menuDone = true;
      HMENU handle = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(handle); ++i) {
        wchar_t text[128] = {};
        if (GetMenuStringW(handle, i, text, 128, MF_BYPOSITION) == 0) continue;  // the separator
        items.emplace_back(text);
        grayed.push_back((GetMenuState(handle, i, MF_BYPOSITION) & MF_GRAYED) != 0);
      }
      if (menuItem < 0) {
        EndMenu();
        return;
      }
      for (int i = 0; i <= menuItem; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
      return;
    }
    for (HWND window : ThreadWindows()) {
      // Top-level dialogs only; GetParent would name their owner.
      if (HasStyle(window, WS_CHILD) || ClassNameOf(window) != "#32770" || !IsWindowVisible(window)) continue;
      if (GetDlgItem(window, kFileNameCombo) && !dialogDone) {
        dialogDone = true;
        if (!fileName.empty()) SetDlgItemTextW(window, kFileNameCombo, fileName.c_str());
        PostMessageA(window, WM_COMMAND, fileName.empty() ? IDCANCEL : IDOK, 0);
      } else if (!GetDlgItem(window, kFileNameCombo)) {
        wchar_t text[512] = {};
        GetDlgItemTextW(window, 0xFFFF, text, 512);
        boxes.emplace_back(text);
        PostMessageA(window, WM_COMMAND, GetDlgItem(window, IDYES) ? IDYES : IDOK, 0);
      }
      return;
    }
  }
};

struct MenuRow {
  const char* name;
  std::string (*bytes)();
  std::vector<std::wstring> formats;  // as the menu names them, in its order
};

std::string Address() { return kRecordFixtures[2].bytes(); }
std::string Application() { return kRecordFixtures[6].bytes(); }

// Text for memos, vCard for contacts, JSON for any database; never raw, which
// writes a folder.
const MenuRow kMenus[] = {
    {"Memo", MemoFixture, {L"text", L"JSON"}},
    {"Address", Address, {L"vCard", L"JSON"}},
    {"Resources", Application, {L"JSON"}},
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
  const ModelledFile file{Address()};
  const std::string& bytes = file.bytes;
  const std::string viewed = m_dir.Write("Contacts.pdb", bytes);
  std::string expected, error;
  ASSERT_TRUE(ExportToText(file.model, ExportFormat::kVCard, ExportOptions{}, expected, error)) << error;
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

}  // namespace
}  // namespace corvelle::host
