// Holds the viewer on screen page by page for tools/screenshot.sh: for each
// page it writes "<page>.ready" into the folder given and waits, the loop
// running so that the window stays painted, until "<page>.taken" appears.
#include "Harness.h"

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

}  // namespace

CORVELLE_HOST_SCENARIO(Screenshots) {
  TempDir dir;
  PluginModule::Get().ListSetDefaultParams(dir.PathOf("plugins.ini"));
  ListerWindow lister;
  ViewerParts viewer = FindViewerParts(lister.Open(dir.Write("MemoDB.pdb", RecordDatabase(24, "MemoDB"))));
  if (!viewer.IsComplete()) return 2;
  PumpMessagesFor(500);
  if (!HoldForPicture(argument, "dump")) return 1;
  PressKey(viewer.tabControl, '2', kCtrl);
  PumpMessagesFor(500);
  return HoldForPicture(argument, "about") ? 0 : 1;
}

}  // namespace corvelle::host
