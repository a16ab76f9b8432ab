#include "io/FolderWriter.h"

#include <system_error>

#include "io/SameFile.h"
#include "io/WholeFileWriter.h"

namespace corvelle {

namespace fs = std::filesystem;

namespace {

std::string Utf8(const fs::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A name beside `path` that nothing has: "NAME.corvelle-old", then "-2", "-3"...
fs::path FreeNameBeside(const fs::path& path) {
    std::error_code code;
    for (unsigned n = 1;; ++n) {
        fs::path aside = path;
        aside += n == 1 ? ".corvelle-old" : ".corvelle-old-" + std::to_string(n);
        if (!fs::exists(fs::symlink_status(aside, code))) return aside;
    }
}

}  // namespace

bool FolderWriter::Open() {
    std::error_code code;
    if (fs::is_directory(m_dir, code)) return true;
    if (!fs::create_directory(m_dir, code)) {
        m_error = Utf8(m_dir) + ": cannot make the folder: " +
                  (code ? code.message() : std::string("a file of that name is there"));
        return false;
    }
    m_madeDir = true;
    return true;
}

bool FolderWriter::Write(const std::string& name, std::string_view bytes) {
    // The names are UTF-8: on Windows the path is made from UTF-16, so that a
    // title outside the ANSI code page keeps its letters.
    const fs::path path = m_dir / fs::u8path(name);
    std::string error;
#ifdef _WIN32
    const bool same = IsSameFile(path.wstring(), m_database.wstring());
#else
    const bool same = IsSameFile(path.string(), m_database.string());
#endif
    std::error_code code;
    if (same) {
        error = "is the database itself";
    } else if (fs::is_regular_file(fs::symlink_status(path, code))) {
        // The user's file waits under another name until the export is whole.
        const fs::path aside = FreeNameBeside(path);
        fs::rename(path, aside, code);
        if (code)
            error = "cannot set the file there aside: " + code.message();
        else
            m_setAside.emplace_back(path, aside);
    }
    if (error.empty()) {
#ifdef _WIN32
        const bool written = WriteWholeFile(path.wstring(), bytes, error);
#else
        const bool written = WriteWholeFile(path.string(), bytes, error);
#endif
        if (written) {
            m_written.push_back(path);
            return true;
        }
    }
    m_error = Utf8(path) + ": cannot write: " + error;
    Undo();
    return false;
}

void FolderWriter::Commit() {
    std::error_code code;
    for (const auto& [path, aside] : m_setAside) fs::remove(aside, code);
    m_setAside.clear();
    m_written.clear();
    m_madeDir = false;
}

void FolderWriter::Undo() {
    std::error_code code;
    for (const fs::path& done : m_written) fs::remove(done, code);
    m_written.clear();
    for (const auto& [path, aside] : m_setAside) fs::rename(aside, path, code);
    m_setAside.clear();
    if (m_madeDir) fs::remove(m_dir, code);
    m_madeDir = false;
}

}  // namespace corvelle
