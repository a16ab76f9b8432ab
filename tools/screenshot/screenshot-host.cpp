// Holds the viewer on screen page by page (the report, About, the Records
// page of a Memo database, of an application, of a Contacts database, of a
// Note Pad database and of a Photos picture database, and
// the Text page of a PalmDOC book, of a Mobipocket book in UTF-8, of an
// eReader book and of an early Mobipocket book whose PalmDOC text is HTML)
// for tools/screenshot.sh, as the test host's disabled test:
// for each page it writes "<page>.ready" into the folder
// CORVELLE_SCREENSHOT_FOLDER names and waits, the loop running so that the
// window stays painted, until "<page>.taken" appears.
#include <cstdlib>

#include "Harness.h"
#include "RecordFixtures.h"
#include "TextPageParts.h"
#include "tools/fixtures/PalmDocWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle::host {
namespace {

bool HoldForPicture(const std::string& folder, const std::string& page) {
  if (!WriteFileBytes(folder + "\\" + page + ".ready", "")) return false;
  for (int waited = 0; waited < 60000; waited += 100) {
    if (GetFileAttributesA((folder + "\\" + page + ".taken").c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    PumpMessagesFor(100);
  }
  return false;
}

TEST(Screenshots, DISABLED_HoldEachPage) {
  const char* folder = std::getenv("CORVELLE_SCREENSHOT_FOLDER");
  ASSERT_NE(folder, nullptr);
  TempDir dir;
  PluginModule::Get().ListSetDefaultParams(dir.PathOf("plugins.ini"));
  ListerWindow lister;
  ViewerParts viewer = FindViewerParts(lister.Open(dir.Write("MemoDB.pdb", RecordDatabase(24, "MemoDB"))));
  ASSERT_TRUE(viewer.IsComplete());
  PumpMessagesFor(500);
  ASSERT_TRUE(HoldForPicture(folder, "dump"));
  PressKey(viewer.tabControl, '2', kCtrl);
  PumpMessagesFor(500);
  EXPECT_TRUE(HoldForPicture(folder, "about"));
  // The Records page of a Memo database and the Resources page of the
  // application sample, each with an entry chosen: a memo, the launcher icon.
  const struct { const char* page; std::string file; int row; } entries[] = {
      {"records", dir.Write("Memos.pdb", samples::SerializePalmDatabase(samples::MemoSample())), 0},
      {"resources", dir.Write("Hello.prc", samples::SerializePalmDatabase(samples::ApplicationSample())), 9},
      {"contacts", dir.Write("ContactsDB-PAdd.pdb", ContactsFixture()), 0},
      {"notepad", dir.Write("NotePadDB.pdb", NotePadFixture()), 0},
      {"photo", dir.Write("Sunset.jpg.pdb", PhotoFixture()), 0},
  };
  for (const auto& entry : entries) {
    viewer = FindViewerParts(lister.Open(entry.file));
    ASSERT_TRUE(viewer.IsComplete());
    PressKey(viewer.dumpControl, '3', kCtrl);
    for (HWND page : PagesOf(viewer.sheet)) {
      if (HWND list = GetDlgItem(page, 1060)) {
        ListView_SetItemState(list, entry.row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        FocusWindow(list);
      }
    }
    PumpMessagesFor(500);
    EXPECT_TRUE(HoldForPicture(folder, entry.page));
  }
  // The Text page of a book, wrapped to the window.
  viewer = FindViewerParts(lister.Open(dir.Write(
      "Book.pdb", samples::SerializePalmDatabase(samples::PalmDocBook("Book", samples::SampleBookText(300))))));
  ASSERT_TRUE(viewer.IsComplete());
  PressKey(viewer.dumpControl, '4', kCtrl);
  PumpMessagesFor(500);
  EXPECT_TRUE(HoldForPicture(folder, "text"));
  // Books in other scripts, their chapter titles and styles.
  const struct { const char* page; std::string file; } books[] = {
      {"mobipocket-utf8-text", dir.Write("Mobipocket.prc", Utf8MobipocketBook())},
      {"ereader-text", dir.Write("EReader.pdb", EReaderChapterBook())},
      {"early-html-text", dir.Write("Early.prc", EarlyHtmlBook())},
  };
  for (const auto& book : books) {
    viewer = FindViewerParts(lister.Open(book.file));
    ASSERT_TRUE(viewer.IsComplete());
    PressKey(viewer.dumpControl, '4', kCtrl);
    PumpMessagesFor(500);
    EXPECT_TRUE(HoldForPicture(folder, book.page));
  }
}

}  // namespace
}  // namespace corvelle::host
