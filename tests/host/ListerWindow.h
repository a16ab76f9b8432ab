// A Lister-like window of the test host: the parent that ListLoad is given.
// Like the file manager's Lister it keeps the viewer over its whole client
// area and closes the viewer before it goes away.
#pragma once

#include <windows.h>

#include <string>

namespace corvelle::host {

enum class ListerKind {
  TopLevel,  // an overlapped window of its own, as the Lister normally is
  Embedded,  // a child of another top-level window (quick view in a panel)
};

// Where a new Lister window goes when the test does not say: screen
// coordinates for a top-level one, the outer window's for an embedded one.
RECT DefaultListerRect();

class ListerWindow {
 public:
  // Creates, shows and activates the window. Embedded: an outer top-level
  // window is created at `placement` and the Lister fills its client area.
  explicit ListerWindow(ListerKind kind = ListerKind::TopLevel, RECT placement = DefaultListerRect());
  // Closes the viewer (ListCloseWindow) and destroys the windows.
  ~ListerWindow();
  ListerWindow(const ListerWindow&) = delete;
  ListerWindow& operator=(const ListerWindow&) = delete;

  // The Lister window, the parent given to ListLoad.
  HWND Handle() const { return m_lister; }
  // Embedded: the top-level window that holds the Lister; else null.
  HWND Outer() const { return m_outer; }
  ListerKind Kind() const { return m_kind; }

  // ListLoad on this window. A viewer it returns is then kept over the client
  // area and closed with the Lister. Closes a viewer that was open before.
  HWND Open(const std::string& path, int showFlags = 0);
  // Takes on a viewer created by another entry point (ListLoadW) as if Open
  // had made it.
  void Adopt(HWND viewer);
  // The viewer's frame window, null when none is open.
  HWND Viewer() const { return m_viewer; }
  // ListCloseWindow on the open viewer, if any.
  void Close();
  // Forgets the viewer without closing it (a test that closes it itself).
  HWND Release();

  // Sets the outer size of the Lister window (the outer window's, when
  // embedded) and pumps messages so that the viewer follows.
  void Resize(int width, int height);
  // Moves and sizes the top-level window (the Lister, or the outer window).
  void Place(const RECT& screenRect);
  // Gives the keyboard focus to the viewer's frame, as the Lister does.
  void FocusViewer();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void FitViewer();

  ListerKind m_kind;
  HWND m_outer = nullptr;
  HWND m_lister = nullptr;
  HWND m_viewer = nullptr;
};

}  // namespace corvelle::host
