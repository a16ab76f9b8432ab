// The files of an export that writes a folder (raw, images): the folder made
// where it is missing, each file written whole beside the others, and, should
// one fail, every file this run wrote removed again (and the folder, if this
// run made it), so that a failed export leaves nothing half done.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle_dump {

class FolderWriter {
public:
    FolderWriter(const char* databasePath, const std::string& dir) : m_databasePath(databasePath), m_dir(dir) {}

    // False, with a line on standard error, when the folder cannot be made.
    bool Open();
    // `name` is UTF-8. False, with a line on standard error, when the file
    // cannot be written (or is the database itself); what this run wrote is
    // then removed.
    bool Write(const std::string& name, std::string_view bytes);

private:
    void Undo();

    const char* m_databasePath;
    std::filesystem::path m_dir;
    bool m_madeDir = false;
    std::vector<std::filesystem::path> m_written;
};

}  // namespace corvelle_dump
