// The viewer's figures, printed rather than asserted: tools/bench-viewer.sh
// runs this in the test host as its one disabled test. For each database: how
// long ListLoad takes, how long until the whole report is in the control, the
// longest time one message of the host's loop took while the report arrived,
// and the process's memory at the end; then the thumbnail's time, the
// Records page's, and the Text page's first screen of a 10 MB book.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Harness.h"
#include "dump/PalmDump.h"
#include "tools/fixtures/PalmDocWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle::host {
namespace {

constexpr double kWaitLimitMs = 600000;

// The process's memory as the system reports it: Wine leaves some counters
// at 0, so the used address space is given too.
std::string MemoryFigures() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  const double megabyte = 1024.0 * 1024.0;
  char text[160];
  std::snprintf(text, sizeof text, "working set %.0f MB, commit %.0f MB, address space used %.0f MB, free %.0f MB",
                counters.WorkingSetSize / megabyte, counters.PagefileUsage / megabyte,
                (status.ullTotalVirtual - status.ullAvailVirtual) / megabyte, status.ullAvailVirtual / megabyte);
  return text;
}

void BenchSmall(const TempDir& dir) {
  std::string path = dir.Write("small.pdb", RecordDatabase(10));
  size_t reportSize = corvelle::DumpPalmFile(path.c_str()).size();
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    ListerWindow lister;
    double start = NowMilliseconds();
    HWND frame = PluginModule::Get().ListLoad(lister.Handle(), path);
    best = std::min(best, NowMilliseconds() - start);
    lister.Adopt(frame);
    PumpMessages();
  }
  std::printf("small database (%zu bytes of report): ListLoad %.0f ms (best of 5)\n", reportSize, best);
}

void BenchBig(const TempDir& dir, uint32_t records) {
  std::string path = dir.Write("big" + std::to_string(records) + ".pdb", RecordDatabase(records));
  std::string report = corvelle::DumpPalmFile(path.c_str());
  ListerWindow lister;
  double start = NowMilliseconds();
  HWND frame = PluginModule::Get().ListLoad(lister.Handle(), path);
  double loaded = NowMilliseconds() - start;
  // Not adopted by the Lister window: its Adopt pumps until the queue is
  // quiet, which takes the whole fill.
  ViewerParts parts = FindViewerParts(frame);
  if (!parts.IsComplete()) {
    std::printf("%u records: no viewer\n", records);
    return;
  }
  size_t firstShown = static_cast<size_t>(GetWindowTextLengthA(parts.dumpControl));
  double longest = 0;
  size_t messages = 0;
  double pieces = 0, painting = 0;
  size_t pieceCount = 0;
  while (DumpTabTitle(parts) != kDumpTabTitle && NowMilliseconds() - start < kWaitLimitMs) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      continue;
    }
    double before = NowMilliseconds();
    TranslateMessage(&message);
    DispatchMessageA(&message);
    double took = NowMilliseconds() - before;
    longest = std::max(longest, took);
    if (message.message == WM_TIMER) { pieces += took; ++pieceCount; }
    if (message.message == WM_PAINT) painting += took;
    ++messages;
  }
  double whole = NowMilliseconds() - start;
  // The memory figures at the stop (or the end), before anything reads the text back.
  const std::string memory = MemoryFigures();
  std::string shown = ControlText(parts.dumpControl);
  const char* outcome = shown == report                                     ? "whole report"
                        : shown.find("corvelle-dump") != std::string::npos ? "STOPPED for memory, with the note"
                                                                            : "INCOMPLETE";
  std::printf(
      "%u records (%zu bytes of report): ListLoad %.0f ms (%zu bytes shown), complete or stopped after %.0f ms, "
      "longest message %.0f ms of %zu (%zu timer ticks: %.0f ms, paints: %.0f ms), %s; %s (%zu bytes shown)\n",
      records, report.size(), loaded, firstShown, whole, longest, messages, pieceCount, pieces, painting,
      memory.c_str(), outcome, shown.size());
  PluginModule::Get().ListCloseWindow(frame);
}

void BenchPreview(const TempDir& dir) {
  using PreviewProc = HBITMAP(__stdcall*)(char*, int, int, char*, int);
  const auto preview = PluginModule::Get().Entry<PreviewProc>("ListGetPreviewBitmap");
  std::string app = dir.Write("Hello.prc", samples::SerializePalmDatabase(samples::ApplicationSample()));
  const double start = NowMilliseconds();
  for (int i = 0; i < 100; ++i) DeleteObject(preview(app.data(), 96, 96, nullptr, 0));
  std::printf("ListGetPreviewBitmap of Hello.prc at 96x96: %.3f ms a call\n", (NowMilliseconds() - start) / 100);
}

struct MemoryUse {
  double workingSet = 0, privateBytes = 0, addressSpace = 0;
};

MemoryUse CurrentMemoryUse() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  return {double(counters.WorkingSetSize), double(counters.PrivateUsage),
          double(status.ullTotalVirtual - status.ullAvailVirtual)};
}

// The Records page of a 65535-record database: from Ctrl+3 until the list
// is drawn, and what the process grew by meanwhile, per byte of the file.
// The report's fill is held (no timers), so the growth is the page's own.
void BenchRecordsPage(const TempDir& dir) {
  const uint32_t records = 65535;
  const std::string bytes = RecordDatabase(records);
  std::string path = dir.Write("records65535.pdb", bytes);
  ListerWindow lister;
  // A small database's page first, so that the code of the list and the
  // pane is in memory already and the growth below is the page's data.
  ViewerParts small = FindViewerParts(lister.Open(dir.Write("records10.pdb", RecordDatabase(10))));
  if (small.IsComplete()) PressKey(small.dumpControl, '3', kCtrl);
  lister.Close();
  ViewerParts parts = FindViewerParts(PluginModule::Get().ListLoad(lister.Handle(), path));
  if (!parts.IsComplete()) {
    std::printf("Records page: no viewer\n");
    return;
  }
  PumpMessages(false);
  const MemoryUse before = CurrentMemoryUse();
  const double start = NowMilliseconds();
  PressKey(parts.dumpControl, '3', kCtrl, false);
  HWND list = nullptr;
  for (HWND page : PagesOf(parts.sheet)) {
    if (HWND found = GetDlgItem(page, 1060)) list = found;
  }
  if (list) UpdateWindow(list);
  const double drawn = NowMilliseconds() - start;
  const MemoryUse after = CurrentMemoryUse();
  const double file = double(bytes.size());
  std::printf("Records page of %u records (%zu bytes of file, %d rows listed): Ctrl+3 to a drawn list %.0f ms; "
              "growth per byte of file, the page's own copy of the file (1.00) included: working set %.2f, "
              "private bytes %.2f, address space %.2f (0: not told by Wine)\n",
              records, bytes.size(), list ? ListView_GetItemCount(list) : -1, drawn,
              (after.workingSet - before.workingSet) / file, (after.privateBytes - before.privateBytes) / file,
              (after.addressSpace - before.addressSpace) / file);
  PluginModule::Get().ListCloseWindow(parts.frame);
}

// The CPU time this thread has had, in milliseconds: what the viewer's work
// costs whatever else the machine runs (Wine counts it in 10 ms steps).
double ThreadCpuMilliseconds() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
  return double(ticks(kernel) + ticks(user)) / 10000.0;
}

// Ctrl+4 on a viewer whose report is in, until the Text page's first screen
// is drawn; the control, or null. `took` and `cpu` in milliseconds.
HWND ShowTextPage(const ViewerParts& parts, double& took, double& cpu) {
  const double start = NowMilliseconds(), cpuStart = ThreadCpuMilliseconds();
  PressKey(parts.dumpControl, '4', kCtrl, false);
  HWND control = nullptr;
  for (HWND page : PagesOf(parts.sheet)) {
    if (HWND found = GetDlgItem(page, 1070)) control = found;
  }
  if (control) UpdateWindow(control);
  took = NowMilliseconds() - start;
  cpu = ThreadCpuMilliseconds() - cpuStart;
  return control;
}

// The text length that record 0 of a PalmDOC or Mobipocket book states.
size_t StatedTextLength(const std::string& file) {
  const auto at = [&file](size_t offset) -> uint32_t {
    if (offset + 4 > file.size()) return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data()) + offset;
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  };
  return at(size_t(at(78)) + 4);
}

// The Text page of a book: from Ctrl+4 until its first screen is drawn (best
// and median of five viewers, as the machine's other work makes single figures
// wander, and the mean CPU time of the host's thread, which that work does not
// change), then until the whole text is in, with the longest message of the
// host's loop meanwhile.
void BenchTextPage(const std::string& what, const std::string& path) {
  std::vector<double> firstScreens;
  double cpuTotal = 0;
  for (int i = 0; i < 5; ++i) {
    ListerWindow lister;
    ViewerParts parts = FindViewerParts(PluginModule::Get().ListLoad(lister.Handle(), path));
    if (!parts.IsComplete()) break;
    PumpUntilFilled({parts});  // the report first, so that only the page is measured
    double took = 0, cpu = 0;
    if (ShowTextPage(parts, took, cpu)) firstScreens.push_back(took);
    cpuTotal += cpu;
    PluginModule::Get().ListCloseWindow(parts.frame);
    PumpMessages();
  }
  ListerWindow lister;
  ViewerParts parts = FindViewerParts(PluginModule::Get().ListLoad(lister.Handle(), path));
  if (firstScreens.size() < 5 || !parts.IsComplete()) {
    std::printf("Text page of %s: no viewer or no page\n", what.c_str());
    return;
  }
  std::sort(firstScreens.begin(), firstScreens.end());
  PumpUntilFilled({parts});
  double took = 0, cpu = 0;
  const double start = NowMilliseconds();
  const HWND control = ShowTextPage(parts, took, cpu);
  const LRESULT firstShown = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  double longest = 0;
  const auto arriving = [&] { return TabTitles(parts.tabControl)[3].rfind("Text (", 0) == 0; };
  while (arriving() && NowMilliseconds() - start < kWaitLimitMs) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      continue;
    }
    const double before = NowMilliseconds();
    TranslateMessage(&message);
    DispatchMessageA(&message);
    longest = std::max(longest, NowMilliseconds() - before);
  }
  const double whole = NowMilliseconds() - start;
  const std::string memory = MemoryFigures();
  const LRESULT shown = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  std::printf("Text page of %s (%zu bytes of text, %zu of file): Ctrl+4 to a drawn first screen %.0f ms "
              "best, %.0f ms median of 5, %.0f ms of the thread's CPU time (%ld characters shown); whole text in after "
              "%.0f ms (%ld characters), longest message %.0f ms; %s\n",
              what.c_str(), StatedTextLength(ReadFileBytes(path)), ReadFileBytes(path).size(), firstScreens[0], firstScreens[2], cpuTotal / 5,
              long(firstShown), whole, long(shown), longest, memory.c_str());
  PluginModule::Get().ListCloseWindow(parts.frame);
}

// CORVELLE_BENCH_RECORDS names the record counts to measure (separated by
// blanks) instead of the usual ones.
TEST(BenchViewer, DISABLED_Figures) {
  ASSERT_TRUE(PluginModule::Get().IsLoaded()) << PluginModule::Get().LoadError();
  TempDir dir;
  PluginModule::Get().ListSetDefaultParams(dir.PathOf("plugins.ini"));
  std::printf("%d-bit module %s\n", static_cast<int>(sizeof(void*) * 8), PluginModule::Get().Path().c_str());
  BenchSmall(dir);
  std::vector<uint32_t> sizes = {3000, 20000, 40000, 65535};
  if (const char* records = std::getenv("CORVELLE_BENCH_RECORDS"); records && *records) {
    sizes.clear();
    for (char* end = nullptr; *records; records = end) {
      const unsigned long count = std::strtoul(records, &end, 10);
      if (end == records) break;
      sizes.push_back(static_cast<uint32_t>(count));
    }
  }
  for (uint32_t records : sizes) BenchBig(dir, records);
  BenchPreview(dir);
  BenchRecordsPage(dir);
  for (size_t paragraphs : {40, 45000}) {  // 9 KB of text, all of it the first screen; 10 MB
    const std::string text = samples::SampleBookText(paragraphs);
    BenchTextPage("a PalmDOC book", dir.Write("book" + std::to_string(paragraphs) + ".pdb",
                                              samples::SerializePalmDatabase(samples::PalmDocBook("Book", text))));
  }
  // CORVELLE_BENCH_BOOKS: more books' paths (separated by ';'), written by
  // tools/bench-viewer.sh (the Mobipocket books the engine's benchmark reads).
  if (const char* books = std::getenv("CORVELLE_BENCH_BOOKS"); books && *books) {
    for (std::string rest = books; !rest.empty();) {
      const size_t end = std::min(rest.find(';'), rest.size());
      if (end > 0) BenchTextPage(rest.substr(0, end), rest.substr(0, end));
      rest.erase(0, std::min(end + 1, rest.size()));
    }
  }
  std::fflush(stdout);
}

}  // namespace
}  // namespace corvelle::host
