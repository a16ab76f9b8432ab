// The files of an export that writes a folder (raw, images): the folder made
// where it is missing, and each file written whole beside the others. The
// export is one step: until Commit, a file of the same name that was there
// before is only set aside, and should a file fail (or the writer be dropped
// without a Commit), every file this run wrote is removed, those set aside are
// put back and the folder, if this run made it, goes again. A failed export
// leaves the folder as it was.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvelle {

class FolderWriter {
public:
    // `database` is the file being exported, which no file of the folder may
    // replace.
    FolderWriter(std::filesystem::path database, std::filesystem::path dir)
        : m_database(std::move(database)), m_dir(std::move(dir)) {}
    ~FolderWriter() { Undo(); }
    FolderWriter(const FolderWriter&) = delete;
    FolderWriter& operator=(const FolderWriter&) = delete;

    // False, with the reason in Error(), when the folder cannot be made.
    bool Open();
    // `name` is UTF-8. False, with the reason in Error(), when the file cannot
    // be written (or is the database itself); what this run did is then undone.
    bool Write(const std::string& name, std::string_view bytes);
    // The export is whole: the files set aside go for good.
    void Commit();
    // In UTF-8: "FILE: cannot write: REASON", "DIR: cannot make the folder: REASON".
    const std::string& Error() const { return m_error; }

private:
    void Undo();

    std::filesystem::path m_database;
    std::filesystem::path m_dir;
    std::string m_error;
    bool m_madeDir = false;
    std::vector<std::filesystem::path> m_written;
    // A file that was there before, and the name it waits under.
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> m_setAside;
};

}  // namespace corvelle
