// ListLoad: the host offers a file; the viewer is built only for our names.
#include <string>

#include "plugin/FileNameRules.h"
#include "plugin/ListerExports.h"
#include "plugin/ViewerLoader.h"
#include "viewer/WideText.h"

extern "C" HWND __stdcall ListLoad(HWND hParentWin, char* pszFileToLoad, int /*nShowFlags*/) {
    try {
        // The name alone decides: a file that is not ours costs no settings
        // read, no window and no file access.
        if (!corvelle::IsHandledPath(pszFileToLoad)) return nullptr;
        // Our own copy: the host's buffer is only promised for this call.
        const std::string path(pszFileToLoad);
        return corvelle::LoadViewer(hParentWin, corvelle::WidenAnsiPath(path.c_str()));
    } catch (...) {
        // Nothing may unwind into the host.
        return nullptr;
    }
}

extern "C" HWND __stdcall ListLoadW(HWND hParentWin, WCHAR* pszFileToLoad, int /*nShowFlags*/) {
    try {
        if (!corvelle::IsHandledPath(pszFileToLoad)) return nullptr;
        // Opened by its UTF-16 name: converting it to ANSI would turn the
        // letters the code page lacks into '?' and name no file.
        const std::wstring path(pszFileToLoad);
        return corvelle::LoadViewer(hParentWin, path);
    } catch (...) {
        return nullptr;
    }
}
