// The files of an export that writes a folder (raw, images): the folder made
// where it is missing, each file written whole beside the others, and, should
// one fail, every file this run wrote removed again (and the folder, if this
// run made it), so that a failed export leaves nothing half done.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

class FolderWriter {
public:
    // `database` is the file being exported, which no file of the folder may
    // replace.
    FolderWriter(std::filesystem::path database, std::filesystem::path dir)
        : m_database(std::move(database)), m_dir(std::move(dir)) {}

    // False, with the reason in Error(), when the folder cannot be made.
    bool Open();
    // `name` is UTF-8. False, with the reason in Error(), when the file cannot
    // be written (or is the database itself); what this run wrote is then
    // removed.
    bool Write(const std::string& name, std::string_view bytes);
    // In UTF-8: "FILE: cannot write: REASON", "DIR: cannot make the folder: REASON".
    const std::string& Error() const { return m_error; }

private:
    void Undo();

    std::filesystem::path m_database;
    std::filesystem::path m_dir;
    std::string m_error;
    bool m_madeDir = false;
    std::vector<std::filesystem::path> m_written;
};

}  // namespace corvelle
