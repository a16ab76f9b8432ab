#include "export/ExportToFile.h"

#include <new>

#include "io/SameFile.h"
#include "io/WholeFileWriter.h"

namespace corvelle {
namespace {

template <class Path>
ExportFileResult WriteExport(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                             const Path& target, const Path& viewed) {
    try {
        if (IsSameFile(target, viewed)) return {ExportFileStatus::kSameFile, {}};
        WholeFileStream file(target);
        const auto write = [&file](std::string_view piece) { return file.Write(piece); };
        std::string error;
        bool made = false;
        try {
            made = ExportToOutput(database, type, options, write, error);
        } catch (const std::bad_alloc&) {
            error = "there is not enough memory for it";
        }
        // A write that failed says so before anything else: the export then
        // stopped for that reason, not for its own.
        if (!file.Error().empty()) return {ExportFileStatus::kNotWritten, file.Error()};
        if (!made) return {ExportFileStatus::kNotMade, error};
        if (!file.Commit()) return {ExportFileStatus::kNotWritten, file.Error()};
        return {ExportFileStatus::kWritten, {}};
    } catch (...) {
        return {ExportFileStatus::kNotWritten, "there is not enough memory for it"};
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

}  // namespace corvelle
