#include "plugin/RichEditLibrary.h"

#include <windows.h>

#include "plugin/Module.h"

namespace corvelle {

bool EnsureRichEditLibrary() {
    // Deliberately never freed: the class must stay registered while any
    // viewer window may exist, and FreeLibrary at module detach (the only
    // later moment) runs under the loader lock, where it is unsafe.
    static HMODULE s_hRichEdit = nullptr;
    if (s_hRichEdit != nullptr) return true;
    s_hRichEdit = ::LoadLibraryA("riched32.dll");
    if (s_hRichEdit != nullptr) return true;
    ::MessageBoxA(nullptr, "Fail to Load RICHEDIT library", kCorvelleAppName,
                  MB_ICONEXCLAMATION | MB_OK);
    return false;
}

}  // namespace corvelle
