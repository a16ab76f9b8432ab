// A stand-in for the user in the modal loops the plug-in opens.
#pragma once

#include <string>
#include <vector>

#include "Harness.h"

namespace corvelle::host {

constexpr int kFileNameCombo = 0x47C;  // cmb13 of the Explorer-style save dialog

// Answers the modal loops that a menu or a link opens, from a thread timer
// that they dispatch: reads the menu and picks an item (or closes it), names
// the file in the save dialog (or cancels it), and says yes to any message box.
struct Answerer {
  int menuItem = -1;        // -1: close the menu without a choice
  std::wstring fileName;    // empty: cancel the save dialog
  std::vector<std::wstring> items;
  std::vector<bool> grayed;
  std::vector<std::wstring> boxes;  // each message box's caption, ": " and text
  bool menuDone = false, dialogDone = false;
  UINT_PTR timer;

  static inline Answerer* s_current = nullptr;
  Answerer() : timer(SetTimer(nullptr, 0, 40, &Tick)) { s_current = this; }
  ~Answerer() { KillTimer(nullptr, timer), s_current = nullptr; }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { s_current->Step(); }
  void Step() {
    if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu) && !menuDone) {
      menuDone = true;
      HMENU handle = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(handle); ++i) {
        wchar_t text[128] = {};
        if (GetMenuStringW(handle, i, text, 128, MF_BYPOSITION) == 0) continue;  // the separator
        items.emplace_back(text);
        grayed.push_back((GetMenuState(handle, i, MF_BYPOSITION) & MF_GRAYED) != 0);
      }
      if (menuItem < 0) {
        EndMenu();
        return;
      }
      for (int i = 0; i <= menuItem; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
      return;
    }
    for (HWND window : ThreadWindows()) {
      // Top-level dialogs only; GetParent would name their owner.
      if (HasStyle(window, WS_CHILD) || ClassNameOf(window) != "#32770" || !IsWindowVisible(window)) continue;
      if (GetDlgItem(window, kFileNameCombo) && !dialogDone) {
        dialogDone = true;
        if (!fileName.empty()) SetDlgItemTextW(window, kFileNameCombo, fileName.c_str());
        PostMessageA(window, WM_COMMAND, fileName.empty() ? IDCANCEL : IDOK, 0);
      } else if (!GetDlgItem(window, kFileNameCombo)) {
        wchar_t caption[128] = {}, text[512] = {};
        GetWindowTextW(window, caption, 128);
        GetDlgItemTextW(window, 0xFFFF, text, 512);
        boxes.push_back(std::wstring(caption) + L": " + text);
        PostMessageA(window, WM_COMMAND, GetDlgItem(window, IDYES) ? IDYES : IDOK, 0);
      }
      return;
    }
  }
};

}  // namespace corvelle::host
