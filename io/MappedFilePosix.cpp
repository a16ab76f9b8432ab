// The POSIX half of MappedFile, for the command-line tool and the tests.
#include "io/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvelle {

int MappedFile::Open(const char* path) {
    Close();
    m_hFile = ::open(path, O_RDONLY | O_CLOEXEC);
    if (m_hFile < 0) return m_nStatus = kNotOpened;
    struct stat status {};
    if (::fstat(m_hFile, &status) != 0 || !S_ISREG(status.st_mode)) {
        // A directory or device opens on POSIX but is no database file.
        ::close(m_hFile);
        m_hFile = -1;
        return m_nStatus = kNotOpened;
    }
    m_nSize = static_cast<uint32_t>(status.st_size);
    if (m_nSize == 0) {
        // A mapping of zero bytes cannot be made.
        ::close(m_hFile);
        m_hFile = -1;
        return m_nStatus = kNoMapping;
    }
    void* view = ::mmap(nullptr, m_nSize, PROT_READ, MAP_PRIVATE, m_hFile, 0);
    if (view == MAP_FAILED) {
        ::close(m_hFile);
        m_hFile = -1;
        return m_nStatus = kNoView;
    }
    m_hMapping = true;
    m_pView = static_cast<const uint8_t*>(view);
    return m_nStatus = kMapped;
}

void MappedFile::Close() {
    if (m_pView != nullptr) ::munmap(const_cast<uint8_t*>(m_pView), m_nSize);
    m_pView = nullptr;
    m_hMapping = false;
    if (m_hFile >= 0) ::close(m_hFile);
    m_hFile = -1;
    m_nSize = 0;
    m_nStatus = kNotOpened;
}

}  // namespace corvelle
