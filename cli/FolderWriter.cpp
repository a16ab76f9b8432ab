#include "cli/FolderWriter.h"

#include <cstdio>
#include <system_error>

#include "io/SameFile.h"
#include "io/WholeFileWriter.h"

namespace corvelle_dump {

namespace fs = std::filesystem;

bool FolderWriter::Open() {
    std::error_code code;
    if (fs::is_directory(m_dir, code)) return true;
    if (!fs::create_directory(m_dir, code)) {
        std::fprintf(stderr, "corvelle-dump: %s: cannot make the folder: %s\n", m_dir.string().c_str(),
                     code ? code.message().c_str() : "a file of that name is there");
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
    if (corvelle::IsSameFile(path.string(), m_databasePath)) {
        error = "is the database itself";
    } else {
#ifdef _WIN32
        const bool written = corvelle::WriteWholeFile(path.wstring(), bytes, error);
#else
        const bool written = corvelle::WriteWholeFile(path.string(), bytes, error);
#endif
        if (written) {
            m_written.push_back(path);
            return true;
        }
    }
    std::fprintf(stderr, "corvelle-dump: %s: cannot write: %s\n", path.string().c_str(), error.c_str());
    Undo();
    return false;
}

void FolderWriter::Undo() {
    std::error_code code;
    for (const fs::path& done : m_written) fs::remove(done, code);
    m_written.clear();
    if (m_madeDir) fs::remove(m_dir, code);
}

}  // namespace corvelle_dump
