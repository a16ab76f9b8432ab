// Holds the viewer on screen, page by page, for tools/screenshot.sh. Runs only
// when CORVELLE_SCREENSHOT_DIR names a directory: for each page the test
// writes "<page>.ready" there and waits (the host's loop running, so the
// window stays painted) until the script has taken its picture and written
// "<page>.taken".
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "AboutViewer.h"
#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Announces the page and waits up to a minute for the picture.
bool HoldForPicture(const std::string& directory, const std::string& page) {
  const std::string ready = directory + "\\" + page + ".ready";
  HANDLE file = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  for (int waited = 0; waited < 60000; waited += 100) {
    if (Exists(directory + "\\" + page + ".taken")) return true;
    PumpMessagesFor(100);
  }
  return false;
}

using AboutScreenshot = ViewerTest;

TEST_F(AboutScreenshot, HoldsBothPagesForThePictures) {
  const char* directory = std::getenv("CORVELLE_SCREENSHOT_DIR");
  if (directory == nullptr || *directory == '\0') GTEST_SKIP() << "CORVELLE_SCREENSHOT_DIR is not set";

  ListerWindow lister;
  PalmDatabase database = PalmDatabase::WithRecords(24);
  database.Name("MemoDB").Creator("memo");
  ViewerParts viewer = OpenViewer(lister, WriteDatabase(database, "MemoDB.pdb"));
  ASSERT_TRUE(viewer.IsComplete()) << DescribeTree(viewer.frame);
  PumpMessagesFor(500);
  ASSERT_TRUE(HoldForPicture(directory, "dump")) << "no picture of the dump page";

  AboutParts about = ShowAboutPage(viewer);
  ASSERT_TRUE(about.IsComplete()) << DescribeTree(viewer.frame);
  PumpMessagesFor(500);
  ASSERT_TRUE(HoldForPicture(directory, "about")) << "no picture of the About page";
}

}  // namespace
}  // namespace corvelle::host
