// A page's key, as the commands table says what it does there: the key with
// the modifiers held while it was pressed.
#pragma once

#include <windows.h>

#include "model/Commands.h"
#include "viewer/KeyRouting.h"
#include "viewer/ResizePage.h"

inline corvelle::KeyAction PageKeyAction(const CResizePage& page, WPARAM virtualKey) {
    const corvelle::KeyStroke stroke =
        corvelle::StrokeOfVirtualKey(static_cast<uint32_t>(virtualKey), ::GetKeyState(VK_CONTROL) < 0,
                                     ::GetKeyState(VK_MENU) < 0, ::GetKeyState(VK_SHIFT) < 0);
    // Ctrl+digit is the sheet's, which knows how many pages there are.
    return corvelle::ActionFor(page.Kind(), stroke, 0);
}
