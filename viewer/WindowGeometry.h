// Small conversions between Win32 rectangles and the platform-free layout
// arithmetic, and the window measurements the sheet and its pages share.
#pragma once

#include <windows.h>

#include "viewer/SheetLayout.h"

inline corvelle::Rect32 ToRect32(const RECT& r) {
    return corvelle::Rect32{r.left, r.top, r.right, r.bottom};
}

inline RECT ToRect(const corvelle::Rect32& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// `hWnd`'s window rectangle in the client coordinates of `hReference`.
// MapWindowPoints, unlike ScreenToClient, also handles mirrored
// (right-to-left) windows.
inline RECT WindowRectIn(HWND hWnd, HWND hReference) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(HWND_DESKTOP, hReference, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Moves and sizes `hWnd` to `rc` (its parent's client coordinates), repainting.
inline void MoveWindowTo(HWND hWnd, const RECT& rc) {
    ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}
