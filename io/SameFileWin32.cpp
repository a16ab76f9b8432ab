// The Windows half of IsSameFile: the volume and file index that
// GetFileInformationByHandle gives.
#include "io/SameFile.h"

#include <windows.h>

#include "io/WindowsText.h"
#include "base/UniqueHandle.h"

namespace corvelle {
namespace {

// No access asked and every sharing allowed: a file that another program
// holds open, the viewed database included, still answers.
UniqueFileHandle OpenForIdentity(const std::wstring& path) {
    return UniqueFileHandle(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

bool IsSameFile(const std::wstring& a, const std::wstring& b) {
    const UniqueFileHandle first = OpenForIdentity(a), second = OpenForIdentity(b);
    BY_HANDLE_FILE_INFORMATION one{}, two{};
    if (!first || !second || !::GetFileInformationByHandle(first.Get(), &one) ||
        !::GetFileInformationByHandle(second.Get(), &two)) {
        return false;
    }
    return one.dwVolumeSerialNumber == two.dwVolumeSerialNumber && one.nFileIndexHigh == two.nFileIndexHigh &&
           one.nFileIndexLow == two.nFileIndexLow;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    return IsSameFile(io_windows::WidenAnsiPath(a), io_windows::WidenAnsiPath(b));
}

}  // namespace corvelle
