// Writing a file whole or not at all, for corvelle-dump's -o and the Records
// page's export. The bytes go to a new temporary beside the target, are
// flushed to the disk and closed, and only then is the temporary renamed over
// the target: its name never shows half a file, and a write that fails (a
// full disk, a size limit) removes the temporary and leaves whatever the
// target held before, where writing in place would have destroyed it.
//
// Beside the target, because a rename is one step only within one file
// system. A replaced file keeps its POSIX permissions, so that an export over
// a private file stays private.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace corvelle {

// The same file, written as its bytes are made: a book's text goes out piece
// by piece and is never held whole. The temporary is made at the first Write
// (or at Commit, for an empty file), so that nothing is made beside the
// target before there is something to write. Dropped without a Commit that
// succeeded, the stream removes its temporary: the target stays as it was.
class WholeFileStream {
public:
    // `path` is in the file system's bytes (POSIX) or the ANSI code page (Windows).
    explicit WholeFileStream(const std::string& path);
#ifdef _WIN32
    // A UTF-16 path, for names outside the ANSI code page.
    explicit WholeFileStream(const std::wstring& path);
#endif
    ~WholeFileStream();
    WholeFileStream(const WholeFileStream&) = delete;
    WholeFileStream& operator=(const WholeFileStream&) = delete;

    // False once anything has failed (this write or an earlier one); the
    // reason is in Error().
    bool Write(std::string_view bytes);
    // Flushes the temporary to the disk, closes it and renames it over the
    // target; false with the reason in Error().
    bool Commit();
    // Why the stream failed, in UTF-8: the target is a folder, the temporary
    // cannot be made, written, flushed or renamed over it.
    const std::string& Error() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The whole of `bytes` at once, through the stream above. False with a reason
// in `error`.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error);
#ifdef _WIN32
bool WriteWholeFile(const std::wstring& path, std::string_view bytes, std::string& error);
#endif

}  // namespace corvelle
