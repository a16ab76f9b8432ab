#include "viewer/KeyRouting.h"

namespace corvelle {

namespace {

// Keys posted to the host and consumed: Escape, Delete, Space, the digits and
// letters (0x30 to 0x5A, which also covers the unassigned 0x3A to 0x40), and
// the numeric keypad's digits and operators (0x60 to 0x6F).
bool HostOnlyKey(uint32_t vk) {
    return vk == kVkEscape || vk == kVkDelete || vk == kVkSpace || (vk >= 0x30 && vk <= 0x5A) ||
           (vk >= 0x60 && vk <= 0x6F);
}

bool SharedKey(uint32_t vk) {
    return vk == kVkDown || vk == kVkUp || vk == kVkLeft || vk == kVkRight || vk == kVkReturn ||
           vk == kVkTab;
}

}  // namespace

KeyRoute RouteSheetKey(uint32_t virtualKey) {
    if (SharedKey(virtualKey)) {
        return KeyRoute::ForwardAndKeep;
    }
    if (HostOnlyKey(virtualKey)) {
        return KeyRoute::ForwardAndConsume;
    }
    return KeyRoute::Keep;
}

KeyStroke StrokeOfVirtualKey(uint32_t virtualKey, bool ctrl, bool alt, bool shift) {
    uint32_t named = 0;
    switch (virtualKey) {
    case kVkTab: named = key::kTab; break;
    case kVkInsert: named = key::kInsert; break;
    case kVkApps: named = key::kMenu; break;
    case kVkF10: named = key::kF10; break;
    case kVkEscape: named = key::kEscape; break;
    default:
        // Letters and digits have their characters as virtual keys; anything
        // else is put beyond every named key.
        named = (virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')
                    ? virtualKey
                    : 0x10000 + virtualKey;
        break;
    }
    return KeyStroke{named, ctrl, alt, shift};
}

bool HookTakesMessage(int hookCode, uintptr_t removeFlag, uint32_t message) {
    // Some systems pass the whole PeekMessage flag word (PM_REMOVE | PM_NOYIELD);
    // only the remove bit matters.
    if (hookCode < 0 || (removeFlag & kPmRemove) == 0) {
        return false;
    }
    return (message >= kWmKeyFirst && message <= kWmKeyLast) || message == kEmSetSel ||
           message == kWmCopy;
}

}  // namespace corvelle
