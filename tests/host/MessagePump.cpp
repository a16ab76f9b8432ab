#include "MessagePump.h"

#include <commctrl.h>

namespace corvelle::host {
namespace {

bool DispatchPending() {
  bool any = false;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    any = true;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return any;
}

// The lParam of a key message: repeat count 1, the key's scan code, and for
// WM_KEYUP the previous-state and transition bits.
LPARAM KeyLParam(UINT virtualKey, bool up) {
  UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  LPARAM value = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
  switch (virtualKey) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_INSERT: case VK_DELETE:
      value |= 1 << 24;  // extended key
      break;
  }
  if (up) value |= (1u << 30) | (1u << 31);
  return value;
}

}  // namespace

void PumpMessages() {
  // A few rounds: handling one message may post the next one.
  for (int quietRounds = 0; quietRounds < 3;) {
    if (DispatchPending()) {
      quietRounds = 0;
    } else {
      ++quietRounds;
      Sleep(0);
    }
  }
}

void PumpMessagesFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    DispatchPending();
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
  }
  PumpMessages();
}

ScopedModifiers::ScopedModifiers(unsigned modifiers) {
  GetKeyboardState(m_saved);
  BYTE state[256];
  CopyMemory(state, m_saved, sizeof state);
  if (modifiers & kCtrl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
  if (modifiers & kShift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
  SetKeyboardState(state);
}

ScopedModifiers::~ScopedModifiers() { SetKeyboardState(m_saved); }

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

void PressKey(HWND target, UINT virtualKey, unsigned modifiers) {
  ScopedModifiers held(modifiers);
  PostMessageA(target, WM_KEYDOWN, virtualKey, KeyLParam(virtualKey, false));
  PumpMessages();
  PostMessageA(target, WM_KEYUP, virtualKey, KeyLParam(virtualKey, true));
  PumpMessages();
}

void PressKeyOnFocus(UINT virtualKey, unsigned modifiers) { PressKey(GetFocus(), virtualKey, modifiers); }

MessageLog::MessageLog(HWND window) : m_window(window) {
  if (!window || !SetWindowSubclass(window, &MessageLog::Subclass, reinterpret_cast<UINT_PTR>(this),
                                    reinterpret_cast<DWORD_PTR>(this))) {
    m_window = nullptr;
  }
}

MessageLog::~MessageLog() {
  if (m_window && IsWindow(m_window)) {
    RemoveWindowSubclass(m_window, &MessageLog::Subclass, reinterpret_cast<UINT_PTR>(this));
  }
}

size_t MessageLog::Count(UINT message) const {
  size_t count = 0;
  for (const MSG& m : m_messages) count += m.message == message;
  return count;
}

size_t MessageLog::Count(UINT message, WPARAM wParam) const {
  size_t count = 0;
  for (const MSG& m : m_messages) count += m.message == message && m.wParam == wParam;
  return count;
}

LRESULT CALLBACK MessageLog::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self) {
  auto* log = reinterpret_cast<MessageLog*>(self);
  MSG record = {};
  record.hwnd = window;
  record.message = message;
  record.wParam = wParam;
  record.lParam = lParam;
  log->m_messages.push_back(record);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &MessageLog::Subclass, id);
    log->m_window = nullptr;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace corvelle::host
