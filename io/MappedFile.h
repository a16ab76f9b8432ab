// A read-only view of a whole file, open only for the length of one dump.
//
// The file is mapped, never copied: the report of a database is the only
// large allocation a dump makes. Other programs may read the file while it is
// open but not write it, so the view cannot change under the reader.
#pragma once

#include <cstdint>

namespace corvelle {

class MappedFile {
public:
    // Result of the last Open(), kept in m_nStatus.
    enum Status : int {
        kMapped = 0,     // opened and mapped
        kNotOpened = 1,  // also the state before Open and after Close
        kNoMapping = 2,  // opened, but no mapping (always so for an empty file)
        kNoView = 3,     // mapping made, but no view of it
    };

    MappedFile() = default;
    ~MappedFile() { Close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    int Open(const char* path);
#ifdef _WIN32
    int Open(const wchar_t* path);
#endif
    // Releases the view, the mapping and the file, each only if present.
    void Close();

    const uint8_t* View() const { return m_pView; }
    // The low 32 bits of the file's size; larger files are outside what the
    // engine handles.
    uint32_t Size() const { return m_nSize; }
    int StatusCode() const { return m_nStatus; }

private:
    int FinishOpen();

#ifdef _WIN32
    void* m_hMapping = nullptr;             // HANDLE of the mapping object
    void* m_hFile = reinterpret_cast<void*>(-1);  // INVALID_HANDLE_VALUE
#else
    bool m_hMapping = false;  // POSIX has no mapping object apart from the view
    int m_hFile = -1;
#endif
    const uint8_t* m_pView = nullptr;
    uint32_t m_nSize = 0;
    int m_nStatus = kNotOpened;
};

}  // namespace corvelle
