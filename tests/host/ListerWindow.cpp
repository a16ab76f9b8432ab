#include "ListerWindow.h"

#include "MessagePump.h"
#include "PluginModule.h"

namespace corvelle::host {
namespace {

const char kListerClass[] = "CorvelleHostLister";
const char kOuterClass[] = "CorvelleHostPanel";

// The outer window of an embedded Lister keeps the Lister over its client
// area, as a file panel keeps its quick-view pane.
LRESULT CALLBACK OuterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    HWND lister = FindWindowExA(window, nullptr, kListerClass, nullptr);
    if (lister) MoveWindow(lister, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterHostClasses(WNDPROC listerProc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA lister = {};
  lister.lpfnWndProc = listerProc;
  lister.hInstance = GetModuleHandleA(nullptr);
  lister.hCursor = LoadCursor(nullptr, IDC_ARROW);
  lister.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  lister.lpszClassName = kListerClass;
  RegisterClassA(&lister);
  WNDCLASSA outer = lister;
  outer.lpfnWndProc = OuterWindowProc;
  outer.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  outer.lpszClassName = kOuterClass;
  RegisterClassA(&outer);
  registered = true;
}

}  // namespace

RECT DefaultListerRect() { return RECT{40, 30, 40 + 640, 30 + 480}; }

ListerWindow::ListerWindow(ListerKind kind, RECT placement) : m_kind(kind) {
  RegisterHostClasses(&ListerWindow::WindowProc);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  int width = placement.right - placement.left;
  int height = placement.bottom - placement.top;
  DWORD topStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  if (kind == ListerKind::TopLevel) {
    m_lister = CreateWindowExA(0, kListerClass, "Lister - Corvelle test host", topStyle, placement.left,
                               placement.top, width, height, nullptr, nullptr, instance, this);
  } else {
    m_outer = CreateWindowExA(0, kOuterClass, "Panel - Corvelle test host", topStyle, placement.left,
                              placement.top, width, height, nullptr, nullptr, instance, nullptr);
    RECT client = {};
    GetClientRect(m_outer, &client);
    m_lister = CreateWindowExA(0, kListerClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                               client.bottom, m_outer, nullptr, instance, this);
  }
  HWND top = m_outer ? m_outer : m_lister;
  ShowWindow(top, SW_SHOW);
  UpdateWindow(top);
  SetForegroundWindow(top);
  SetActiveWindow(top);
  SetFocus(m_lister);
  PumpMessages();
}

ListerWindow::~ListerWindow() {
  Close();
  HWND top = m_outer ? m_outer : m_lister;
  if (IsWindow(top)) DestroyWindow(top);
  PumpMessages();
}

HWND ListerWindow::Open(const std::string& path, int showFlags) {
  Close();
  HWND viewer = PluginModule::Get().ListLoad(m_lister, path, showFlags);
  Adopt(viewer);
  return viewer;
}

void ListerWindow::Adopt(HWND viewer) {
  m_viewer = viewer;
  // The file manager does not pump between ListLoad and its own loop; the
  // messages the plug-in posted during ListLoad are handled from here on.
  PumpMessages();
}

void ListerWindow::Close() {
  if (!m_viewer) return;
  HWND viewer = m_viewer;
  m_viewer = nullptr;
  PluginModule::Get().ListCloseWindow(viewer);
  PumpMessages();
}

HWND ListerWindow::Release() {
  HWND viewer = m_viewer;
  m_viewer = nullptr;
  return viewer;
}

void ListerWindow::Resize(int width, int height) {
  HWND top = m_outer ? m_outer : m_lister;
  SetWindowPos(top, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
}

void ListerWindow::Place(const RECT& screenRect) {
  HWND top = m_outer ? m_outer : m_lister;
  MoveWindow(top, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
             screenRect.bottom - screenRect.top, TRUE);
  PumpMessages();
}

void ListerWindow::FocusViewer() {
  if (m_viewer) SetFocus(m_viewer);
  PumpMessages();
}

void ListerWindow::FitViewer() {
  if (!m_viewer || !IsWindow(m_viewer)) return;
  RECT client = {};
  GetClientRect(m_lister, &client);
  MoveWindow(m_viewer, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT CALLBACK ListerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ListerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_SIZE:
      if (self) self->FitViewer();
      return 0;
    case WM_SETFOCUS:
      // The Lister hands its focus on to the viewer, as the file manager does.
      if (self && self->m_viewer && IsWindow(self->m_viewer)) SetFocus(self->m_viewer);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace corvelle::host
