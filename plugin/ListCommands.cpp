// The entry points that act on a viewer the host already holds, and the
// host's one-time defaults.
#include <cstring>

#include "plugin/ListerExports.h"
#include "plugin/ModuleState.h"
#include "plugin/DetectString.h"
#include "plugin/Settings.h"
#include "viewer/List.h"

namespace {

// The frame object behind a handle the host holds; null for a handle that is
// not (or no longer) one of our frames.
CList* FrameFromHandle(HWND hListWin) {
    return CList::FromFrameHandle(hListWin);
}

}  // namespace

extern "C" int __stdcall ListSendCommand(HWND hListWin, int nCommand, int /*nParameter*/) {
    try {
        UINT message = 0;
        LPARAM lParam = 0;
        if (nCommand == kListerCommandCopy) {
            message = WM_COPY;
        } else if (nCommand == kListerCommandSelectAll) {
            message = EM_SETSEL;
            lParam = -1;
        } else {
            return kListerError;
        }
        // Posted to the page, not sent to its control: the thread hook hands
        // it to the page's pre-translation when the host's loop takes it, so
        // the page that is in front at that moment carries it out.
        CList* frame = FrameFromHandle(hListWin);
        CListSheet* sheet = frame != nullptr ? frame->GetListSheet() : nullptr;
        const HWND page = sheet != nullptr ? sheet->GetActivePageHwnd() : nullptr;
        if (page == nullptr || !::PostMessageA(page, message, 0, lParam)) return kListerError;
        return kListerOk;
    } catch (...) {
        return kListerError;
    }
}

extern "C" void __stdcall ListCloseWindow(HWND hListWin) {
    try {
        // Deleting the frame tears the viewer down (sheet, pages, hook
        // reference, windows). A frame whose windows are already gone has
        // freed itself and is no longer found here, so nothing is freed twice.
        delete FrameFromHandle(hListWin);
    } catch (...) {
    }
    if (::IsWindow(hListWin)) ::DestroyWindow(hListWin);
}

extern "C" void __stdcall ListSetDefaultParams(ListDefaultParams* pParams) {
    if (pParams == nullptr) return;
    try {
        // Only the suggested INI path is read; the record's other members
        // differ between host versions.
        const char* suggested = reinterpret_cast<const char*>(pParams) + kDefaultIniNameOffset;
        const std::string candidate = corvelle::HostIniCandidate(suggested, kDefaultIniNameSize);
        corvelle::CopyCut(g_szHostIni, sizeof g_szHostIni, candidate.c_str());
    } catch (...) {
        g_szHostIni[0] = '\0';
    }
}

extern "C" void __stdcall ListGetDetectString(char* pszDetectString, int nMaxLen) {
    if (nMaxLen <= 0) return;
    corvelle::CopyDetectString(pszDetectString, static_cast<size_t>(nMaxLen));
}
