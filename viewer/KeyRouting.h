// Which keyboard input the viewer keeps, which it hands to the host, and which
// messages its thread hook looks at. Free of Win32 so that the tables are
// checked natively; the values are the Windows ones.
#pragma once

#include <cstdint>

#include "model/Commands.h"

namespace corvelle {

// Virtual-key codes the routing depends on.
constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkReturn = 0x0D;
constexpr uint32_t kVkEscape = 0x1B;
constexpr uint32_t kVkSpace = 0x20;
constexpr uint32_t kVkLeft = 0x25;
constexpr uint32_t kVkUp = 0x26;
constexpr uint32_t kVkRight = 0x27;
constexpr uint32_t kVkDown = 0x28;
constexpr uint32_t kVkDelete = 0x2E;
constexpr uint32_t kVkInsert = 0x2D;
constexpr uint32_t kVkApps = 0x5D;
constexpr uint32_t kVkF10 = 0x79;

// Messages the routing depends on.
constexpr uint32_t kWmKeyFirst = 0x0100;  // WM_KEYDOWN
constexpr uint32_t kWmKeyLast = 0x0108;   // one past WM_SYSDEADCHAR, as the hook has always taken it
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kEmSetSel = 0x00B1;
constexpr uint32_t kWmCopy = 0x0301;
constexpr uint32_t kPmRemove = 0x0001;

// What the sheet does with a WM_KEYDOWN before its own dialog navigation.
enum class KeyRoute {
    Keep,             // not forwarded: the sheet's navigation gets it
    ForwardAndKeep,   // a copy goes to the host window, the sheet still handles it
    ForwardAndConsume // a copy goes to the host window; the sheet is done with it
};

// The host keeps its own keys while the viewer has the focus: the arrows,
// Return and Tab reach both, Escape, Delete, Space, digits, letters and the
// numeric keypad reach only the host. Everything else (PageUp/PageDown,
// Home, End, function keys) stays in the viewer.
KeyRoute RouteSheetKey(uint32_t virtualKey);

// A virtual key as the commands table names it (model/Commands.h): letters
// and digits are their characters; keys the table does not know stay apart.
KeyStroke StrokeOfVirtualKey(uint32_t virtualKey, bool ctrl, bool alt, bool shift);

// Whether the thread hook offers a retrieved message to the pre-translation
// chain: keyboard messages and the two edit commands that the host's
// commands post to the active page, and only when the message is being taken
// off the queue (a peek would otherwise handle it twice).
bool HookTakesMessage(int hookCode, uintptr_t removeFlag, uint32_t message);

// The pre-translation walk from a message's target up through its parents.
// `parentOf(w)` gives the parent or a null window (at the top), `objectOf(w)`
// the plug-in's object for a window or null for a foreign one, and
// `translate(object)` asks the object; the first that answers true ends the
// walk. A null target is never handled.
template <typename Window, typename ParentOf, typename ObjectOf, typename Translate>
bool WalkPreTranslateChain(Window target, ParentOf parentOf, ObjectOf objectOf,
                           Translate translate) {
    for (Window window = target; window != Window{}; window = parentOf(window)) {
        auto* object = objectOf(window);
        if (object != nullptr && translate(object)) {
            return true;
        }
    }
    return false;
}

}  // namespace corvelle
