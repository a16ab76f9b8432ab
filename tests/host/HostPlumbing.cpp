// The module, files, the Lister window, the loop and the keyboard.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Harness.h"
#include "Watchdog.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle::host {
namespace {

// The host's default-parameters structure; the plug-in reads only the INI
// path at byte offset 12.
struct ListDefaultParams {
  int size;
  DWORD versionLow;
  DWORD versionHi;
  char defaultIniName[MAX_PATH];
};
static_assert(offsetof(ListDefaultParams, defaultIniName) == 12, "INI path at offset 12");

std::string ChosenModulePath() {
  char buffer[MAX_PATH * 2] = {};
  DWORD length = GetEnvironmentVariableA("CORVELLE_MODULE", buffer, sizeof buffer);
  if (length > 0 && length < sizeof buffer) return buffer;
  length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string path(buffer, length);
  return path.substr(0, path.find_last_of("\\/") + 1) + (sizeof(void*) == 8 ? "Corvelle.wlx64" : "Corvelle.wlx");
}

// Repeat count 1, the scan code, the extended bit for navigation keys and,
// for WM_KEYUP, the previous-state and transition bits.
LPARAM KeyLParam(UINT key, bool up) {
  LPARAM value = 1 | (static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) & 0xFF) << 16);
  if ((key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE) value |= 1 << 24;
  if (up) value |= (1u << 30) | (1u << 31);
  return value;
}

const char kListerClass[] = "CorvelleHostLister";

}  // namespace

PluginModule& PluginModule::Get() {
  static PluginModule module;
  return module;
}

PluginModule::PluginModule() : m_path(ChosenModulePath()) {
  // A missing module must fail the tests, not wait on an error box under Xvfb.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  m_module = LoadLibraryA(m_path.c_str());
  DWORD error = GetLastError();
  SetErrorMode(oldMode);
  if (!m_module) {
    m_loadError = "LoadLibrary failed, error " + std::to_string(error);
    return;
  }
  // The host takes them by their plain names: stdcall-decorated ones are useless.
  for (const char* name : {"ListLoad", "ListSendCommand", "ListCloseWindow", "ListSetDefaultParams"}) {
    if (!GetProcAddress(m_module, name)) m_loadError += std::string(" ") + name + " is not exported.";
  }
}

HWND PluginModule::ListLoad(HWND parent, const std::string& file) const {
  const Waiting waiting("ListLoad to return");
  std::string buffer = file;
  auto load = Entry<HWND(__stdcall*)(HWND, char*, int)>("ListLoad");
  return load ? load(parent, buffer.data(), 0) : nullptr;
}

int PluginModule::ListSendCommand(HWND listWin, int command) const {
  const Waiting waiting("ListSendCommand to return");
  auto send = Entry<int(__stdcall*)(HWND, int, int)>("ListSendCommand");
  return send ? send(listWin, command, 0) : -1;
}

void PluginModule::ListCloseWindow(HWND listWin) const {
  const Waiting waiting("ListCloseWindow to return");
  if (auto close = Entry<void(__stdcall*)(HWND)>("ListCloseWindow")) close(listWin);
}

void PluginModule::ListSetDefaultParams(const std::string& iniName) const {
  ListDefaultParams params{};
  params.size = sizeof params;
  params.versionLow = 20;
  params.versionHi = 2;
  std::strncpy(params.defaultIniName, iniName.c_str(), MAX_PATH - 1);
  if (auto set = Entry<void(__stdcall*)(ListDefaultParams*)>("ListSetDefaultParams")) set(&params);
}

TempDir::TempDir() {
  static unsigned serial = 0;
  std::error_code error;
  std::filesystem::path path;
  do {
    path = std::filesystem::temp_directory_path(error) /
           ("corvelle-host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial));
  } while (!error && !std::filesystem::create_directory(path, error) && !error);
  if (!error) m_path = path.string() + "\\";
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  std::string path = PathOf(name);
  EXPECT_TRUE(WriteFileBytes(path, content)) << path;
  return path;
}

std::string RecordDatabase(uint32_t records, const std::string& name) {
  samples::PalmDatabase database = samples::SyntheticRecordDatabase(records);
  database.name = name;
  return samples::SerializePalmDatabase(database);
}

std::string ResourceDatabase(uint32_t resources) {
  return samples::SerializePalmDatabase(samples::SyntheticResourceDatabase(resources));
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out.write(content.data(), static_cast<std::streamsize>(content.size())).flush());
}

ListerWindow::ListerWindow(ListerKind kind, RECT at) {
  static const bool registered = [] {
    WNDCLASSA lister = {};
    lister.lpfnWndProc = &ListerWindow::WindowProc;
    lister.hInstance = GetModuleHandleA(nullptr);
    lister.hCursor = LoadCursor(nullptr, IDC_ARROW);
    lister.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    lister.lpszClassName = kListerClass;
    return RegisterClassA(&lister) != 0;
  }();
  EXPECT_TRUE(registered);
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (kind == ListerKind::TopLevel) {
    m_lister = CreateWindowExA(0, kListerClass, "Lister", style, at.left, at.top, at.right - at.left,
                               at.bottom - at.top, nullptr, nullptr, instance, this);
  } else {
    m_outer = CreateWindowExA(0, kListerClass, "Panel", style, at.left, at.top, at.right - at.left,
                              at.bottom - at.top, nullptr, nullptr, instance, this);
    RECT client = ClientRectOf(m_outer);
    m_lister = CreateWindowExA(0, kListerClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                               client.bottom, m_outer, nullptr, instance, this);
  }
  ShowWindow(Top(), SW_SHOW);
  SetForegroundWindow(Top());
  SetActiveWindow(Top());
  SetFocus(m_lister);
  PumpMessages();
}

ListerWindow::~ListerWindow() {
  Close();
  if (IsWindow(Top())) DestroyWindow(Top());
  PumpMessages();
}

HWND ListerWindow::Open(const std::string& path) {
  Close();
  Adopt(PluginModule::Get().ListLoad(m_lister, path));
  return m_viewer;
}

void ListerWindow::Adopt(HWND viewer) {
  m_viewer = viewer;
  // The host does not pump between ListLoad and its own loop.
  PumpMessages();
  EXPECT_TRUE(PumpUntilFilled({FindViewerParts(viewer)})) << "the report still arrives";
}

void ListerWindow::Close() {
  if (!m_viewer) return;
  HWND viewer = m_viewer;
  m_viewer = nullptr;
  PluginModule::Get().ListCloseWindow(viewer);
  PumpMessages();
}

void ListerWindow::Resize(int dx, int dy) {
  RECT rect = RectIn(Top(), nullptr);
  SetWindowPos(Top(), nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
}

LRESULT CALLBACK ListerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ListerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  HWND viewer = self && self->m_viewer && IsWindow(self->m_viewer) ? self->m_viewer : nullptr;
  // The panel of an embedded Lister keeps the Lister over its client area, the Lister its viewer.
  HWND inside = self && window == self->m_outer ? self->m_lister : viewer;
  switch (message) {
    case WM_SIZE:
      if (inside) MoveWindow(inside, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (viewer) SetFocus(viewer);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool DispatchOne(UINT first, UINT last) {
  MSG message;
  if (!PeekMessageA(&message, nullptr, first, last, PM_REMOVE)) return false;
  TranslateMessage(&message);
  DispatchBegins(message);
  DispatchMessageA(&message);
  DispatchEnds();
  return true;
}

void PumpMessages(bool timersToo) {
  const Waiting waiting("the host's queue to go quiet (PumpMessages)", true);
  // Handling one message may post the next: stop after a few quiet rounds.
  for (int quiet = 0; quiet < 3;) {
    if (timersToo ? DispatchOne() : DispatchOne(0, WM_TIMER - 1) || DispatchOne(WM_TIMER + 1, 0xFFFF)) {
      quiet = 0;
    } else {
      ++quiet;
      Sleep(0);
    }
  }
}

void PumpMessagesFor(double milliseconds) {
  const Waiting waiting("a while of the host's loop (PumpMessagesFor)", true);
  for (const double end = NowMilliseconds() + milliseconds; NowMilliseconds() < end;) {
    if (!DispatchOne()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool PumpUntil(const std::function<bool()>& done, double limitMs) {
  const Waiting waiting("a condition of the test (PumpUntil)", true);
  for (const double end = NowMilliseconds() + limitMs; !done() && NowMilliseconds() < end;) PumpMessagesFor(20);
  return done();
}

bool PumpUntilFilled(const std::vector<ViewerParts>& viewers) {
  const Waiting waiting("the reports to be all in (PumpUntilFilled)");
  return PumpUntil([&viewers] {
    return std::none_of(viewers.begin(), viewers.end(), [](const ViewerParts& parts) { return ReportArriving(parts); });
  });
}

double NowMilliseconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool FocusWindow(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  if (top && GetActiveWindow() != top) {
    SetForegroundWindow(top);
    SetActiveWindow(top);
    PumpMessages();
  }
  SetFocus(window);
  PumpMessages();
  return GetFocus() == window;
}

void PressKey(HWND target, UINT key, unsigned modifiers, bool timersToo) {
  const Waiting waiting("a key to be handled (PressKey)");
  BYTE saved[256], held[256];
  GetKeyboardState(saved);
  std::memcpy(held, saved, sizeof held);
  if (modifiers & kCtrl) held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
  if (modifiers & kShift) held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
  SetKeyboardState(held);
  PostMessageA(target, WM_KEYDOWN, key, KeyLParam(key, false));
  PumpMessages(timersToo);
  PostMessageA(target, WM_KEYUP, key, KeyLParam(key, true));
  PumpMessages(timersToo);
  SetKeyboardState(saved);
}

MessageLog::MessageLog(HWND window) : m_window(window) {
  EXPECT_TRUE(window && SetWindowSubclass(window, &Subclass, reinterpret_cast<UINT_PTR>(this),
                                          reinterpret_cast<DWORD_PTR>(this)));
}

MessageLog::~MessageLog() {
  if (m_window && IsWindow(m_window)) RemoveWindowSubclass(m_window, &Subclass, reinterpret_cast<UINT_PTR>(this));
}

size_t MessageLog::Count(UINT message, WPARAM wParam) const {
  size_t count = 0;
  for (const MSG& m : m_messages) count += m.message == message && m.wParam == wParam;
  return count;
}

LRESULT CALLBACK MessageLog::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self) {
  auto* log = reinterpret_cast<MessageLog*>(self);
  log->m_messages.push_back(MSG{window, message, wParam, lParam, 0, {}});
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &Subclass, id);
    log->m_window = nullptr;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

RelayoutLog::RelayoutLog(HWND control, LRESULT bigText) : m_control(control), m_bigText(bigText) {
  const RECT client = ClientRectOf(control);
  m_client = SIZE{client.right, client.bottom};
  EXPECT_TRUE(control && SetWindowSubclass(control, &Subclass, reinterpret_cast<UINT_PTR>(this),
                                           reinterpret_cast<DWORD_PTR>(this)));
}

RelayoutLog::~RelayoutLog() {
  if (m_control && IsWindow(m_control)) RemoveWindowSubclass(m_control, &Subclass, reinterpret_cast<UINT_PTR>(this));
}

void RelayoutLog::Relaid(HWND control) {
  const LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  m_longest = std::max(m_longest, length);
  m_big += length > m_bigText;
}

LRESULT CALLBACK RelayoutLog::Subclass(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self) {
  auto* log = reinterpret_cast<RelayoutLog*>(self);
  if (message == WM_WINDOWPOSCHANGED) {
    // The client area is already the new one here, before the control sees it.
    const RECT client = ClientRectOf(control);
    if (client.right != log->m_client.cx || client.bottom != log->m_client.cy) log->Relaid(control);
    log->m_client = SIZE{client.right, client.bottom};
  } else if (message == EM_SETTARGETDEVICE) {
    log->Relaid(control);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &Subclass, id);
    log->m_control = nullptr;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace corvelle::host
