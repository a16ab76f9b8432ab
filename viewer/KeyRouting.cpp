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

int PageForCtrlDigit(uint32_t virtualKey, int pageCount) {
    if (virtualKey < kVk0 || virtualKey > kVk9) {
        return -1;
    }
    const int index = static_cast<int>(virtualKey) - static_cast<int>(kVk1);
    if (index < 0 || index >= pageCount) {
        return -1;
    }
    return index;
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
