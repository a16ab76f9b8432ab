// The Windows half of MappedFile, for the plug-in and corvelle-dump.exe.
#include "io/MappedFile.h"

#include <windows.h>

namespace corvelle {
namespace {

// Read access, read sharing only: a program that has the file open for
// writing keeps us out, and nobody can write it while we map it.
HANDLE OpenForReading(const char* path) {
    return ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

HANDLE OpenForReading(const wchar_t* path) {
    return ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

}  // namespace

int MappedFile::Open(const char* path) {
    Close();
    m_hFile = OpenForReading(path);
    return FinishOpen();
}

int MappedFile::Open(const wchar_t* path) {
    Close();
    m_hFile = OpenForReading(path);
    return FinishOpen();
}

int MappedFile::FinishOpen() {
    if (m_hFile == INVALID_HANDLE_VALUE) return m_nStatus = kNotOpened;
    m_nSize = ::GetFileSize(m_hFile, nullptr);
    if (m_nSize == INVALID_FILE_SIZE) m_nSize = 0;

    // Fails for an empty file: a mapping of zero bytes cannot be made.
    m_hMapping = ::CreateFileMappingA(m_hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (m_hMapping == nullptr) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        return m_nStatus = kNoMapping;
    }
    m_pView = static_cast<const uint8_t*>(::MapViewOfFile(m_hMapping, FILE_MAP_READ, 0, 0, 0));
    if (m_pView == nullptr) {
        ::CloseHandle(m_hMapping);
        m_hMapping = nullptr;
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        return m_nStatus = kNoView;
    }
    return m_nStatus = kMapped;
}

void MappedFile::Close() {
    if (m_pView != nullptr) ::UnmapViewOfFile(m_pView);
    m_pView = nullptr;
    if (m_hMapping != nullptr) ::CloseHandle(m_hMapping);
    m_hMapping = nullptr;
    if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_nSize = 0;
    m_nStatus = kNotOpened;
}

}  // namespace corvelle
