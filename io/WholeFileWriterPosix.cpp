// The POSIX half of WholeFileStream: open(O_EXCL), write, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/WholeFileWriter.h"

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

struct WholeFileStream::Impl {
    std::string path, temporary, error;
    int file = -1;
    bool failed = false, committed = false;

    bool Fail(std::string reason) {
        failed = true;
        error = std::move(reason);
        return false;
    }

    bool Begin() {
        if (file >= 0) return true;
        if (path.empty()) return Fail("no file name");
        struct stat target {};
        const bool exists = ::stat(path.c_str(), &target) == 0;
        if (exists && S_ISDIR(target.st_mode)) return Fail("is a folder");
        // `temporary` names only a file this stream made: the one the destructor may remove.
        for (unsigned attempt = 0; file < 0; ++attempt) {
            if (attempt == kTemporaryNames) return Fail("no free name for a temporary file beside it");
            const std::string candidate = path + ".corvelle-" + std::to_string(attempt) + ".part";
            file = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (file < 0 && errno != EEXIST) return Fail(std::strerror(errno));
            if (file >= 0) temporary = candidate;
        }
        // Where the file system keeps no permissions this fails, harmlessly.
        if (exists && S_ISREG(target.st_mode)) (void)::fchmod(file, target.st_mode & 07777);
        return true;
    }
};

WholeFileStream::WholeFileStream(const std::string& path) : m_impl(new Impl) { m_impl->path = path; }

WholeFileStream::~WholeFileStream() {
    if (m_impl->file >= 0) ::close(m_impl->file);
    if (!m_impl->committed && !m_impl->temporary.empty()) ::unlink(m_impl->temporary.c_str());
}

const std::string& WholeFileStream::Error() const { return m_impl->error; }

bool WholeFileStream::Write(std::string_view bytes) {
    Impl& s = *m_impl;
    if (s.failed || s.committed) return s.committed ? s.Fail("written already") : false;
    if (!s.Begin()) return false;
    if (!WriteAll(s.file, bytes)) return s.Fail(std::strerror(errno));
    return true;
}

bool WholeFileStream::Commit() {
    Impl& s = *m_impl;
    if (s.committed) return true;
    if (s.failed || !s.Begin()) return false;
    // fsync before the rename: after a crash the name holds the old file or
    // the new one, never an empty one whose blocks were not yet written.
    if (::fsync(s.file) != 0) return s.Fail(std::strerror(errno));
    const int file = s.file;
    s.file = -1;
    if (::close(file) != 0) return s.Fail(std::strerror(errno));
    if (::rename(s.temporary.c_str(), s.path.c_str()) != 0) return s.Fail(std::strerror(errno));
    s.committed = true;
    return true;
}

}  // namespace corvelle
