#include "viewer/KeyHook.h"

#include "viewer/KeyRouting.h"
#include "viewer/Module.h"
#include "viewer/WindowObject.h"

corvelle::UniqueHook g_hKeyHook;
int g_nKeyHookRefs = 0;

namespace {

// Initialised sheets of this thread, whether or not the hook could be
// installed for them: the hook stays while any of them is open, even when the
// sheet that happened to install it is closed first.
int s_nHookedSheets = 0;

void CountSharers() { g_nKeyHookRefs = (g_hKeyHook && s_nHookedSheets > 1) ? s_nHookedSheets - 1 : 0; }

}  // namespace

void AcquireKeyHook() {
    ++s_nHookedSheets;
    if (!g_hKeyHook) {
        // When installing fails the hook stays empty: keyboard pre-translation
        // is then missing, and the next sheet tries again.
        g_hKeyHook.Reset(::SetWindowsHookExA(WH_GETMESSAGE, &KeyHookProc, CorvelleModule(),
                                             ::GetCurrentThreadId()));
    }
    CountSharers();
}

void ReleaseKeyHook() {
    if (s_nHookedSheets > 0) {
        --s_nHookedSheets;
    }
    if (s_nHookedSheets == 0) {
        g_hKeyHook.Reset();
    }
    CountSharers();
}

LRESULT CALLBACK KeyHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    auto* pMsg = reinterpret_cast<MSG*>(lParam);
    if (pMsg != nullptr &&
        corvelle::HookTakesMessage(nCode, static_cast<uintptr_t>(wParam), pMsg->message)) {
        BOOL handled = FALSE;
        // Nothing may unwind through the system's hook dispatch.
        try {
            handled = CWindowObject::PreTranslateChain(pMsg);
        } catch (...) {
            handled = FALSE;
        }
        if (handled) {
            pMsg->message = WM_NULL;
            pMsg->wParam = 0;
            pMsg->lParam = 0;
        }
    }
    return ::CallNextHookEx(g_hKeyHook.Get(), nCode, wParam, lParam);
}
