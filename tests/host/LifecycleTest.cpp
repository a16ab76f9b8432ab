// Opening and closing viewers leaves nothing behind and lets the module unload
// cleanly. (That a viewer writes nothing is checked where each part is shown.)
#include "Harness.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle::host {
namespace {

using Lifecycle = ViewerTest;

TEST_F(Lifecycle, OpenAndCloseCyclesLeaveNoWindowObjectOrHandleBehind) {
  // An application: its Resources page draws the icon of the tAIB row (row 9).
  std::string path = m_dir.Write("Hello.prc", samples::SerializePalmDatabase(samples::ApplicationSample()));
  ListerWindow lister;
  auto cycle = [&] {
    ViewerParts parts = FindViewerParts(lister.Open(path));
    if (parts.dumpControl) PressKey(parts.dumpControl, '2', kCtrl);  // the About page's objects too
    if (parts.dumpControl) PressKey(parts.dumpControl, '3', kCtrl);  // and the Records page's
    for (HWND page : PagesOf(parts.sheet)) {
      if (HWND list = GetDlgItem(page, 1060)) ListView_SetItemState(list, 9, LVIS_SELECTED, LVIS_SELECTED);
    }
    PumpMessages();
    std::vector<HWND> windows = DescendantsOf(parts.frame);
    lister.Close();
    for (HWND window : windows) EXPECT_FALSE(IsWindow(window)) << ClassNameOf(window) << " outlived the viewer";
  };
  for (int i = 0; i < 3; ++i) cycle();  // Wine's own first-use allocations
  // The benchmark script soaks with more cycles (CORVELLE_CYCLES).
  char cyclesText[16] = {};
  const int cycles = GetEnvironmentVariableA("CORVELLE_CYCLES", cyclesText, sizeof cyclesText) ? atoi(cyclesText) : 100;
  const ResourceCounts before = CurrentResourceCounts();
  const double start = NowMilliseconds();
  for (int i = 0; i < cycles && !HasFailure(); ++i) cycle();
  const double perCycle = (NowMilliseconds() - start) / cycles;
  const ResourceCounts after = CurrentResourceCounts();
  std::printf("[ figures  ] %d cycles, %.1f ms each; before/after: GDI objects %ld/%ld, USER objects %ld/%ld, "
              "handles %ld/%ld, windows %ld/%ld\n", cycles, perCycle, before.gdiObjects, after.gdiObjects,
              before.userObjects, after.userObjects, before.kernelHandles, after.kernelHandles, before.windows,
              after.windows);
  // A leak shows once per cycle, far above Wine's own noise.
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_LE(after.gdiObjects - before.gdiObjects, 10);
  EXPECT_LE(after.userObjects - before.userObjects, 10);
  EXPECT_LE(after.kernelHandles - before.kernelHandles, 10);
}

constexpr int kUnloadClean = 0, kModuleStaysLoaded = 5;

// Two viewers open and close, the module is unloaded, then keys are typed
// into a window of the host. A hook left behind would run code of the
// unloaded module: Windows crashes, Wine loads the module again.
int UnloadAfterClose(const std::string& path) {
  {
    ListerWindow first, second;
    if (!first.Open(path) || !second.Open(path)) return 2;
  }
  const std::string module = PluginModule::Get().Path();
  FreeLibrary(PluginModule::Get().Handle());
  if (GetModuleHandleA(module.c_str())) return kModuleStaysLoaded;
  HWND window = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
  FocusWindow(window);
  for (UINT key : {UINT('A'), UINT(VK_DOWN), UINT(VK_NEXT)}) PressKey(window, key);
  return GetModuleHandleA(module.c_str()) ? 4 : kUnloadClean;
}

// In a child copy of the host, which may crash (3) or find the hook still there (4).
TEST_F(Lifecycle, TheModuleUnloadsCleanlyOnceItsViewersAreClosed) {
  const std::string path = WriteRecords(3);
  EXPECT_EXIT(std::exit(UnloadAfterClose(path)),
              [](int status) { return status == kUnloadClean || status == kModuleStaysLoaded; }, "");
}

}  // namespace
}  // namespace corvelle::host
