// The POSIX half of ReadWholeFile.
#include "io/WholeFileReader.h"
#include "io/WholeFileReadLoop.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace corvelle {
namespace {

class OpenFile {
public:
    explicit OpenFile(const NativePath& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() {
        if (m_fd >= 0) ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

ReadResult ReadWholeFile(const NativePath& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const OpenFile file(path);
    if (file.Get() < 0) return ReadResult::kNotOpened;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) return ReadResult::kReadFailed;
    // A folder or a device opens on POSIX, but is no database file.
    if (!S_ISREG(status.st_mode)) return ReadResult::kNotOpened;
    if (static_cast<uint64_t>(status.st_size) > UINT32_MAX) return ReadResult::kTooLarge;
    return ReadInPieces(static_cast<size_t>(status.st_size), bytes, [&](uint8_t* to, size_t want) -> long long {
        for (;;) {
            const ssize_t got = ::read(file.Get(), to, want);
            if (got < 0 && errno == EINTR) continue;
            return got;
        }
    });
}

}  // namespace corvelle
