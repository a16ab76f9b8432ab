#include "viewer/WindowObject.h"

#include <commctrl.h>

#include "viewer/KeyRouting.h"
#include "viewer/Module.h"

namespace {

// Our subclass is recognised by its procedure and this id together, so a
// window subclassed by somebody else (or by another module) is never taken
// for one of ours.
constexpr UINT_PTR kBindingId = 0x436F7276;  // "Corv"

constexpr char kObjectClassName[] = "CorvelleWindow";

}  // namespace

CWindowObject::~CWindowObject() {
    if (m_hWnd != nullptr) {
        Detach();
    }
}

CWindowObject* CWindowObject::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    DWORD_PTR refData = 0;
    if (!::GetWindowSubclass(hWnd, &CWindowObject::SubclassProc, kBindingId, &refData)) {
        return nullptr;
    }
    return reinterpret_cast<CWindowObject*>(refData);
}

BOOL CWindowObject::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandle(hWnd) != nullptr) {
        return FALSE;
    }
    if (!::SetWindowSubclass(hWnd, &CWindowObject::SubclassProc, kBindingId,
                             reinterpret_cast<DWORD_PTR>(this))) {
        return FALSE;
    }
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWindowObject::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        ::RemoveWindowSubclass(hWnd, &CWindowObject::SubclassProc, kBindingId);
        m_hWnd = nullptr;
    }
    return hWnd;
}

LRESULT CWindowObject::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CWindowObject::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowObject::SubclassProc(HWND hWnd, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR uIdSubclass,
                                             DWORD_PTR dwRefData) {
    auto* self = reinterpret_cast<CWindowObject*>(dwRefData);
    if (message != WM_NCDESTROY) {
        // Nothing may unwind through the system's message dispatch: a handler
        // that fails leaves the message to the default processing.
        try {
            return self->WindowProc(message, wParam, lParam);
        } catch (...) {
            return ::DefSubclassProc(hWnd, message, wParam, lParam);
        }
    }
    // The last message of the window: unbind before passing it on, so that the
    // object never sees a handle that is about to become invalid, then let the
    // object react (a self-owning object may delete itself there).
    ::RemoveWindowSubclass(hWnd, &CWindowObject::SubclassProc, uIdSubclass);
    self->m_hWnd = nullptr;
    LRESULT result = ::DefSubclassProc(hWnd, message, wParam, lParam);
    self->PostNcDestroy();
    return result;
}

LRESULT CALLBACK CWindowObject::ClassWindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    // Once bound, messages reach this procedure only through DefSubclassProc:
    // then it is the class's default processing and nothing else.
    if (message == WM_NCCREATE && FromHandle(hWnd) == nullptr) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* self = static_cast<CWindowObject*>(create->lpCreateParams);
        if (self == nullptr || !self->Attach(hWnd)) {
            return FALSE;
        }
        return self->WindowProc(message, wParam, lParam);
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

ATOM CWindowObject::s_classAtom = 0;

ATOM CWindowObject::RegisterObjectClass() {
    if (s_classAtom != 0) {
        return s_classAtom;
    }
    HINSTANCE hInstance = CorvelleModule();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    // A class registered by a DLL outlives the DLL's unloading. After a reload
    // at the same address it is still there, with our same procedure: reuse it.
    if (::GetClassInfoExA(hInstance, kObjectClassName, &wc)) {
        if (wc.lpfnWndProc == &CWindowObject::ClassWindowProc) {
            s_classAtom = static_cast<ATOM>(::GetClassInfoExA(hInstance, kObjectClassName, &wc));
            return s_classAtom;
        }
        ::UnregisterClassA(kObjectClassName, hInstance);
    }
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CWindowObject::ClassWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kObjectClassName;
    s_classAtom = ::RegisterClassExA(&wc);
    return s_classAtom;
}

void CWindowObject::UnregisterWindowClass() {
    if (s_classAtom != 0 && ::UnregisterClassA(kObjectClassName, CorvelleModule())) {
        s_classAtom = 0;
    }
}

BOOL CWindowObject::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, HWND hParent,
                             UINT_PTR nId, const char* pszText) {
    if (m_hWnd != nullptr || RegisterObjectClass() == 0) {
        return FALSE;
    }
    // For a child window the menu argument carries its control id.
    HMENU hMenuOrId = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(nId) : nullptr;
    HWND hWnd = ::CreateWindowExA(dwExStyle, kObjectClassName, pszText != nullptr ? pszText : "",
                                  dwStyle, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, hParent, hMenuOrId, CorvelleModule(),
                                  this);
    // On failure after WM_NCCREATE the window was destroyed again and the
    // binding went with it at WM_NCDESTROY.
    return hWnd != nullptr && hWnd == m_hWnd;
}

BOOL CWindowObject::PreTranslateChain(MSG* pMsg) {
    if (pMsg == nullptr) {
        return FALSE;
    }
    auto parentOf = [](HWND hWnd) -> HWND {
        // Only child windows go on to their parent: a top-level window (the
        // host's, or a popup such as a message box) ends the walk.
        if ((::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) == 0) {
            return nullptr;
        }
        return ::GetAncestor(hWnd, GA_PARENT);
    };
    auto translate = [pMsg](CWindowObject* object) {
        return object->PreTranslateMessage(pMsg) != FALSE;
    };
    return corvelle::WalkPreTranslateChain(pMsg->hwnd, parentOf, &CWindowObject::FromHandle,
                                           translate)
               ? TRUE
               : FALSE;
}
