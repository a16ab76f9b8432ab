// The POSIX half of WriteWholeFile: open(O_EXCL), write, fsync, rename.
#include "io/WholeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvelle {
namespace {

// Temporary names tried beside the target before giving up; a name that is
// taken (a leftover of a run that was killed) is never opened.
constexpr unsigned kTemporaryNames = 100;

bool WriteAll(int file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(file, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            if (wrote == 0) errno = ENOSPC;  // no progress and no reason: the disk took nothing
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(wrote));
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
    if (path.empty()) {
        error = "no file name";
        return false;
    }
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        error = "is a folder";
        return false;
    }
    std::string temporary;
    int file = -1;
    for (unsigned attempt = 0; file < 0; ++attempt) {
        if (attempt == kTemporaryNames) {
            error = "no free name for a temporary file beside it";
            return false;
        }
        temporary = path + ".corvelle-" + std::to_string(attempt) + ".part";
        file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file < 0 && errno != EEXIST) {
            error = std::strerror(errno);
            return false;
        }
    }
    // Where the file system keeps no permissions this fails, harmlessly.
    if (exists && S_ISREG(target.st_mode)) (void)::fchmod(file, target.st_mode & 07777);
    // fsync before the rename: after a crash the name holds the old file or
    // the new one, never an empty one whose blocks were not yet written.
    bool written = WriteAll(file, bytes) && ::fsync(file) == 0;
    if (!written) error = std::strerror(errno);
    if (::close(file) != 0 && written) {
        written = false;
        error = std::strerror(errno);
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = std::strerror(errno);
    }
    if (!written) ::unlink(temporary.c_str());
    return written;
}

}  // namespace corvelle
