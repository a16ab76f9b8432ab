#include "plugin/RichEditLibrary.h"

#include <windows.h>

#include <string>

#include "viewer/Module.h"

namespace corvelle {
namespace {

// By its full path in the system directory: a bare name would also be looked
// for in the host's and the current directory, where any riched32.dll lying
// beside a viewed file could be loaded in its place.
HMODULE LoadSystemRichEdit() {
    char directory[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::string path = std::string(directory, length) + "\\riched32.dll";
    return ::LoadLibraryA(path.c_str());
}

}  // namespace

bool EnsureRichEditLibrary() {
    // Deliberately never freed: the class must stay registered while any
    // viewer window may exist, and FreeLibrary at module detach (the only
    // later moment) runs under the loader lock, where it is unsafe.
    static HMODULE s_hRichEdit = nullptr;
    if (s_hRichEdit != nullptr) return true;
    s_hRichEdit = LoadSystemRichEdit();
    if (s_hRichEdit != nullptr) return true;
    ::MessageBoxA(nullptr, "Fail to Load RICHEDIT library", kCorvelleAppName,
                  MB_ICONEXCLAMATION | MB_OK);
    return false;
}

}  // namespace corvelle
