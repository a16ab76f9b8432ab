// The POSIX half of ReadWholeFile.
#include "io/WholeFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace corvelle {
namespace {

// One read() takes at most this much, so that a signal or a slow disk costs
// one retry of a bounded piece.
constexpr size_t kReadChunk = 16u << 20;

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
    const auto total = static_cast<size_t>(status.st_size);
    try {
        bytes.resize(total);
    } catch (const std::bad_alloc&) {
        bytes = std::vector<uint8_t>();
        return ReadResult::kNoMemory;
    }
    size_t done = 0;
    while (done < total) {
        const size_t left = total - done;
        const ssize_t got = ::read(file.Get(), bytes.data() + done, left < kReadChunk ? left : kReadChunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            bytes = std::vector<uint8_t>();
            return ReadResult::kReadFailed;
        }
        if (got == 0) break;  // shorter than it was a moment ago
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return ReadResult::kRead;
}

}  // namespace corvelle
