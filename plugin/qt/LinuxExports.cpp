// The entry points that Double Commander looks up in corvelle.wlx by name,
// declared here from its published plug-in interface: C names, the
// platform's own calling convention, every one optional. A window handle is
// a QWidget*, a wide text UTF-16 (16-bit units), a narrow one the system's
// (UTF-8).
#include <QFile>
#include <QString>

#include <algorithm>

#include <cstdint>
#include <cstring>
#include <string>

#include "plugin/DetectString.h"
#include "plugin/FileNameRules.h"
#include "plugin/qt/LinuxLoader.h"
#include "qt/QtEdge.h"
#include "qt/ViewerWidget.h"

namespace {

constexpr int kListerOk = 0, kListerError = 1;
constexpr int kListerCommandCopy = 1, kListerCommandNewParams = 2, kListerCommandSelectAll = 3;
// The default-parameters record: three 32-bit integers, then the suggested
// INI path, 32000 bytes in Double Commander's record (260 in Total
// Commander's). Its size is the record's first integer.
constexpr size_t kDefaultIniNameOffset = 12;
constexpr size_t kMostPathBytes = 4096;

using Handle = void*;

std::string PathOf(const uint16_t* wide) {
    const QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(wide));
    return std::string(QFile::encodeName(name).constData());
}

Handle Load(Handle parent, const std::string& path) {
    // The name alone decides: a file that is not ours costs no settings
    // read, no widget and no file access.
    if (!corvelle::IsHandledPosixPath(path.c_str())) return nullptr;
    return corvelle::qt::LoadViewer(static_cast<QWidget*>(parent), path);
}

int Search(Handle list, const std::string& utf8, int flags) {
    corvelle::qt::ViewerWidget* viewer = corvelle::qt::FindViewer(list);
    return viewer != nullptr && viewer->Search(utf8, flags) ? kListerOk : kListerError;
}

}  // namespace

#define CORVELLE_EXPORT extern "C" __attribute__((visibility("default")))

CORVELLE_EXPORT Handle ListLoad(Handle parentWin, char* fileToLoad, int /*showFlags*/) {
    try {
        if (fileToLoad == nullptr) return nullptr;
        // Our own copy: the host's buffer is only promised for this call.
        return Load(parentWin, std::string(fileToLoad));
    } catch (...) {
        // Nothing may unwind into the host.
        return nullptr;
    }
}

CORVELLE_EXPORT Handle ListLoadW(Handle parentWin, uint16_t* fileToLoad, int /*showFlags*/) {
    try {
        if (fileToLoad == nullptr) return nullptr;
        return Load(parentWin, PathOf(fileToLoad));
    } catch (...) {
        return nullptr;
    }
}

CORVELLE_EXPORT void ListCloseWindow(Handle listWin) {
    try {
        // Deleting the viewer tears it down with its pages; a handle that is
        // not one of our viewers (or one the host has destroyed) is left alone.
        delete corvelle::qt::FindViewer(listWin);
    } catch (...) {
    }
}

CORVELLE_EXPORT int ListSendCommand(Handle listWin, int command, int /*parameter*/) {
    try {
        corvelle::qt::ViewerWidget* viewer = corvelle::qt::FindViewer(listWin);
        if (viewer == nullptr) return kListerError;
        switch (command) {
            case kListerCommandCopy: viewer->Copy(); return kListerOk;
            case kListerCommandSelectAll: viewer->SelectAll(); return kListerOk;
            // The host's own view settings (wrapping, fitting) do not apply:
            // each page keeps its own, which W toggles.
            case kListerCommandNewParams: return kListerOk;
            default: return kListerError;
        }
    } catch (...) {
        return kListerError;
    }
}

CORVELLE_EXPORT int ListSearchText(Handle listWin, char* searchString, int searchParameter) {
    try {
        if (searchString == nullptr) return kListerError;
        return Search(listWin, searchString, searchParameter);
    } catch (...) {
        return kListerError;
    }
}

CORVELLE_EXPORT int ListSearchTextW(Handle listWin, uint16_t* searchString, int searchParameter) {
    try {
        if (searchString == nullptr) return kListerError;
        const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(searchString));
        return Search(listWin, corvelle::qt::Utf8Of(text), searchParameter);
    } catch (...) {
        return kListerError;
    }
}

struct ListDefaultParams;

CORVELLE_EXPORT void ListSetDefaultParams(ListDefaultParams* params) {
    if (params == nullptr) return;
    try {
        // The record's size is not checked against ours (hosts differ), only
        // used to read no further than the record reaches.
        int32_t size = 0;
        std::memcpy(&size, params, sizeof size);
        const char* suggested = reinterpret_cast<const char*>(params) + kDefaultIniNameOffset;
        const size_t room = size > static_cast<int32_t>(kDefaultIniNameOffset)
                                ? std::min(static_cast<size_t>(size) - kDefaultIniNameOffset, kMostPathBytes)
                                : 260;
        const size_t length = strnlen(suggested, room);
        // A path without its terminator in the record would be cut: the host's folder is then unknown.
        corvelle::qt::SetHostConfigDir(length < room ? std::string(suggested, length) : std::string());
    } catch (...) {
        corvelle::qt::SetHostConfigDir(std::string());
    }
}

CORVELLE_EXPORT void ListGetDetectString(char* detectString, int maxLen) {
    if (detectString == nullptr || maxLen <= 0) return;
    corvelle::CopyDetectString(detectString, static_cast<size_t>(maxLen));
}
