// The Windows half of WriteWholeFile: CreateFile(CREATE_NEW), WriteFile,
// FlushFileBuffers, MoveFileEx.
#include "io/WholeFileWriter.h"

#include <windows.h>

#include "io/WindowsText.h"
#include "viewer/UniqueHandle.h"

namespace corvelle {
namespace {

using io_windows::SystemMessage;

// Temporary names tried beside the target before giving up; a name that is
// taken (a leftover of a run that was killed) is never opened.
constexpr unsigned kTemporaryNames = 100;

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        // WriteFile counts in DWORDs; pieces of 16 MB keep each call well inside.
        const DWORD want = bytes.size() < (1u << 24) ? static_cast<DWORD>(bytes.size()) : (1u << 24);
        DWORD wrote = 0;
        if (!::WriteFile(file, bytes.data(), want, &wrote, nullptr)) return false;
        if (wrote == 0) {
            ::SetLastError(ERROR_DISK_FULL);  // no progress and no reason: the disk took nothing
            return false;
        }
        bytes.remove_prefix(wrote);
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const std::wstring& path, std::string_view bytes, std::string& error) {
    if (path.empty()) {
        error = "no file name";
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = "is a folder";
        return false;
    }
    std::wstring temporary;
    UniqueFileHandle file;
    for (unsigned attempt = 0; !file; ++attempt) {
        if (attempt == kTemporaryNames) {
            error = "no free name for a temporary file beside it";
            return false;
        }
        temporary = path + L".corvelle-" + std::to_wstring(attempt) + L".part";
        file.Reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        const DWORD code = ::GetLastError();
        if (!file && code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            error = SystemMessage(code);
            return false;
        }
    }
    // Flushed before the rename: after a crash the name holds the old file or
    // the new one, never one whose bytes were not yet on the disk.
    bool written = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
    DWORD code = written ? ERROR_SUCCESS : ::GetLastError();
    if (!::CloseHandle(file.Release()) && written) {
        written = false;
        code = ::GetLastError();
    }
    // A plain rename refuses an existing target on Windows. No COPY_ALLOWED:
    // beside the target the move is a rename, never a copy that could fail
    // half way.
    const DWORD move = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (written && !::MoveFileExW(temporary.c_str(), path.c_str(), move)) {
        written = false;
        code = ::GetLastError();
    }
    if (!written) {
        ::DeleteFileW(temporary.c_str());
        error = SystemMessage(code);
    }
    return written;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
    return WriteWholeFile(io_windows::WidenAnsiPath(path), bytes, error);
}

}  // namespace corvelle
