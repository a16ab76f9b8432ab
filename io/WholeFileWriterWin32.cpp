// The Windows half of WholeFileStream: CreateFile(CREATE_NEW), WriteFile,
// FlushFileBuffers, MoveFileEx.
#include <windows.h>

#include "io/WholeFileWriter.h"
#include "io/WindowsText.h"
#include "base/UniqueHandle.h"

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

struct WholeFileStream::Impl {
    std::wstring path, temporary;
    std::string error;
    UniqueFileHandle file;
    bool failed = false, committed = false;

    bool Fail(std::string reason) {
        failed = true;
        error = std::move(reason);
        return false;
    }

    bool Begin() {
        if (file) return true;
        if (path.empty()) return Fail("no file name");
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return Fail("is a folder");
        // `temporary` names only a file this stream made: the one the destructor may remove.
        for (unsigned attempt = 0; !file; ++attempt) {
            if (attempt == kTemporaryNames) return Fail("no free name for a temporary file beside it");
            const std::wstring candidate = path + L".corvelle-" + std::to_wstring(attempt) + L".part";
            file.Reset(::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
            const DWORD code = ::GetLastError();
            if (!file && code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) return Fail(SystemMessage(code));
            if (file) temporary = candidate;
        }
        return true;
    }
};

WholeFileStream::WholeFileStream(const std::wstring& path) : m_impl(new Impl) { m_impl->path = path; }

WholeFileStream::WholeFileStream(const std::string& path) : WholeFileStream(io_windows::WidenAnsiPath(path)) {}

WholeFileStream::~WholeFileStream() {
    m_impl->file.Reset();
    if (!m_impl->committed && !m_impl->temporary.empty()) ::DeleteFileW(m_impl->temporary.c_str());
}

const std::string& WholeFileStream::Error() const { return m_impl->error; }

bool WholeFileStream::Write(std::string_view bytes) {
    Impl& s = *m_impl;
    if (s.failed || s.committed) return s.committed ? s.Fail("written already") : false;
    if (!s.Begin()) return false;
    if (!WriteAll(s.file.Get(), bytes)) return s.Fail(SystemMessage(::GetLastError()));
    return true;
}

bool WholeFileStream::Commit() {
    Impl& s = *m_impl;
    if (s.committed) return true;
    if (s.failed || !s.Begin()) return false;
    // Flushed before the rename: after a crash the name holds the old file or
    // the new one, never one whose bytes were not yet on the disk.
    if (!::FlushFileBuffers(s.file.Get())) return s.Fail(SystemMessage(::GetLastError()));
    if (!::CloseHandle(s.file.Release())) return s.Fail(SystemMessage(::GetLastError()));
    // A plain rename refuses an existing target on Windows. No COPY_ALLOWED:
    // beside the target the move is a rename, never a copy that could fail
    // half way.
    const DWORD move = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!::MoveFileExW(s.temporary.c_str(), s.path.c_str(), move)) return s.Fail(SystemMessage(::GetLastError()));
    s.committed = true;
    return true;
}

}  // namespace corvelle
