#include "export/ExportToFile.h"

#include <new>

#include "io/FolderWriter.h"
#include "io/SameFile.h"
#include "io/WholeFileWriter.h"

namespace corvelle {
namespace {

const char kNoMemory[] = "there is not enough memory for it";

// Runs an export: running out of memory is its failure, said in words.
template <class Make>
bool MadeWithinMemory(std::string& error, Make make) {
    try {
        return make();
    } catch (const std::bad_alloc&) {
        error = kNoMemory;
        return false;
    }
}

template <class Path>
ExportFileResult WriteExport(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                             const Path& target, const Path& viewed) {
    try {
        if (IsSameFile(target, viewed)) return {ExportFileStatus::kSameFile, {}};
        WholeFileStream file(target);
        const auto write = [&file](std::string_view piece) { return file.Write(piece); };
        std::string error;
        const bool made =
            MadeWithinMemory(error, [&] { return ExportToOutput(database, type, options, write, error); });
        // A write that failed says so before anything else: the export then
        // stopped for that reason, not for its own.
        if (!file.Error().empty()) return {ExportFileStatus::kNotWritten, file.Error()};
        if (!made) return {ExportFileStatus::kNotMade, error};
        if (!file.Commit()) return {ExportFileStatus::kNotWritten, file.Error()};
        return {ExportFileStatus::kWritten, {}};
    } catch (...) {
        return {ExportFileStatus::kNotWritten, kNoMemory};
    }
}

template <class Path>
ExportFolderResult WriteFolder(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                               const Path& folderPath, const Path& viewed) {
    try {
        FolderWriter folder(viewed, folderPath);
        bool opened = false, written = true;
        size_t files = 0;
        const auto write = [&](const std::string& name, std::string_view bytes) {
            if (!opened) {  // made only once there is a file to write
                opened = true;
                if (!folder.Open()) return written = false;
            }
            written = folder.Write(name, bytes);
            files += written ? 1 : 0;
            return written;
        };
        std::string error;
        const bool made =
            MadeWithinMemory(error, [&] { return ExportToFiles(database, type, options, write, error); });
        if (!written) return {ExportFileStatus::kNotWritten, folder.Error()};
        if (!made) return {ExportFileStatus::kNotMade, error};
        folder.Commit();
        return {ExportFileStatus::kWritten, {}, files};
    } catch (...) {
        return {ExportFileStatus::kNotWritten, kNoMemory};
    }
}

}  // namespace

ExportFileResult ExportToFile(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                              const std::string& target, const std::string& viewed) {
    return WriteExport(database, type, options, target, viewed);
}

#ifdef _WIN32
ExportFileResult ExportToFile(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                              const std::wstring& target, const std::wstring& viewed) {
    return WriteExport(database, type, options, target, viewed);
}
#endif

ExportFolderResult ExportToFolder(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                                  const std::string& folder, const std::string& viewed) {
    return WriteFolder(database, type, options, folder, viewed);
}

#ifdef _WIN32
ExportFolderResult ExportToFolder(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                                  const std::wstring& folder, const std::wstring& viewed) {
    return WriteFolder(database, type, options, folder, viewed);
}
#endif

}  // namespace corvelle
