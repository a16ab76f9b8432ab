// The host's message loop and the user's keyboard, played by the test.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace corvelle::host {

// Runs the host's loop (PeekMessage with PM_REMOVE, TranslateMessage,
// DispatchMessage) until the queue stays empty, so that messages posted while
// handling others (forwarded keys, WM_RESIZEPAGE) are handled too.
void PumpMessages();
// The same, for at least `milliseconds`, also waiting for timers and input.
void PumpMessagesFor(DWORD milliseconds);

enum KeyModifier : unsigned {
  kNoModifier = 0,
  kCtrl = 1,
  kShift = 2,
};

// Holds Ctrl and/or Shift down in the thread's keyboard state (what
// GetKeyState answers) until destroyed. Posted key messages do not change
// that state, so a test that posts Ctrl+2 has to set it itself.
class ScopedModifiers {
 public:
  explicit ScopedModifiers(unsigned modifiers);
  ~ScopedModifiers();
  ScopedModifiers(const ScopedModifiers&) = delete;
  ScopedModifiers& operator=(const ScopedModifiers&) = delete;

 private:
  BYTE m_saved[256];
};

// Gives the keyboard focus to `window` as a click would: its top-level window
// is activated first, so that activation does not move the focus elsewhere
// afterwards. True when the window has the focus.
bool FocusWindow(HWND window);

// One key stroke as the system delivers it: WM_KEYDOWN and then WM_KEYUP
// posted to `target` through the thread's queue (where the plug-in's
// WH_GETMESSAGE hook sees them), each followed by a pump, with the modifiers
// held meanwhile.
void PressKey(HWND target, UINT virtualKey, unsigned modifiers = kNoModifier);
// The same, aimed at the window that has the keyboard focus now.
void PressKeyOnFocus(UINT virtualKey, unsigned modifiers = kNoModifier);

// Records the messages that a window's procedure receives, by subclassing it
// for the log's lifetime. Messages that the plug-in's hook neutralised never
// get here; posted copies of keys do.
class MessageLog {
 public:
  explicit MessageLog(HWND window);
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  // How many times the window received `message` (with this wParam).
  size_t Count(UINT message) const;
  size_t Count(UINT message, WPARAM wParam) const;
  const std::vector<MSG>& Messages() const { return m_messages; }
  void Clear() { m_messages.clear(); }
  bool IsAttached() const { return m_window != nullptr; }

 private:
  static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  HWND m_window;
  std::vector<MSG> m_messages;
};

}  // namespace corvelle::host
