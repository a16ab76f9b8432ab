#include "cli/ExportCommand.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/CommandFailure.h"
#include "cli/RawExport.h"
#include "cli/UsageText.h"
#include "dump/DatabaseModel.h"
#include "standards/CodePage.h"
#include "export/Export.h"
#include "export/ExportToFile.h"
#include "io/MappedFile.h"
#include "io/SameFile.h"

namespace corvelle_dump {

namespace {

struct ExportRequest {
    const char* format = nullptr;
    const char* encoding = "cp1252";
    const char* out = nullptr;
    const char* path = nullptr;
    bool withData = false;
};

int UsageError(const char* what) {
    std::fprintf(stderr,
                 "corvelle-dump: %s\nUsage: corvelle-dump --export FORMAT [--encoding NAME] [--data] [-o OUT] FILE\n%s",
                 what, ExportUsage().c_str());
    return 2;
}

// 0 parsed; otherwise the exit status of a usage error.
int Parse(int argc, char** argv, ExportRequest& request) {
    bool endOfOptions = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (!endOfOptions && std::strcmp(arg, "--") == 0) {
            endOfOptions = true;
        } else if (!endOfOptions && std::strcmp(arg, "--export") == 0 && hasValue && !request.format) {
            request.format = argv[++i];
        } else if (!endOfOptions && std::strcmp(arg, "--encoding") == 0 && hasValue) {
            request.encoding = argv[++i];
        } else if (!endOfOptions && std::strcmp(arg, "-o") == 0 && hasValue && !request.out) {
            request.out = argv[++i];
        } else if (!endOfOptions && std::strcmp(arg, "--data") == 0) {
            request.withData = true;
        } else if ((endOfOptions || arg[0] != '-' || arg[1] == '\0') && !request.path) {
            request.path = arg;
        } else {
            return UsageError("--export takes FORMAT, an optional --encoding NAME, --data and -o OUT, and one FILE");
        }
    }
    if (!request.format || !request.path)
        return UsageError("--export takes FORMAT, an optional --encoding NAME, --data and -o OUT, and one FILE");
    return 0;
}

std::string FittingNames(const corvelle::DecodedDatabase& database) {
    std::string names;
    for (corvelle::ExportType format : corvelle::ExportTypesFor(database)) {
        if (!names.empty()) names += ", ";
        names += corvelle::ExportTypeName(format);
    }
    return names;
}

// The export goes out as it is made: to standard output, or into a stream
// that replaces OUT only once the whole export is in.
int WriteText(const corvelle::DecodedDatabase& database, corvelle::ExportType format, const ExportRequest& request) {
    corvelle::ExportOptions options;
    options.encoding = request.encoding;
    options.withData = request.withData;
    std::vector<std::string> warnings;
    options.warnings = &warnings;
    std::string error;
    const auto warn = [&warnings, &request] {
        for (const std::string& warning : warnings)
            std::fprintf(stderr, "corvelle-dump: %s: %s\n", request.path, warning.c_str());
    };
    if (request.out == nullptr) {
#ifdef _WIN32
        // The exports are bytes: a text-mode stdout would turn vCard's CR LF into CR CR LF.
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        bool written = true;
        const auto write = [&written](std::string_view piece) {
            written = std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
            return written;
        };
        const bool made = corvelle::ExportToOutput(database, format, options, write, error);
        warn();
        if (!written || std::fflush(stdout) != 0) return Fail("standard output", "cannot write");
        return made ? 0 : Fail(request.path, error);
    }
    const corvelle::ExportFileResult result = corvelle::ExportToFile(database, format, options, request.out, request.path);
    warn();
    switch (result.status) {
        case corvelle::ExportFileStatus::kWritten: return 0;
        case corvelle::ExportFileStatus::kSameFile: return Fail(request.out, "cannot write: it is the database being exported");
        case corvelle::ExportFileStatus::kNotMade: return Fail(request.path, result.reason);
        case corvelle::ExportFileStatus::kNotWritten: break;
    }
    return Fail(request.out, "cannot write: " + result.reason);
}

// Each picture a file in OUT, written whole; should one fail, what this run
// did is undone (a file that was there before is put back).
int WriteImages(const corvelle::DecodedDatabase& database, const ExportRequest& request) {
    corvelle::ExportOptions options;
    options.encoding = request.encoding;
    std::vector<std::string> warnings;
    options.warnings = &warnings;
    const corvelle::ExportFolderResult result =
        corvelle::ExportToFolder(database, corvelle::ExportType::kImages, options, request.out, request.path);
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "corvelle-dump: %s: %s\n", request.path, warning.c_str());
    switch (result.status) {
        case corvelle::ExportFileStatus::kWritten: break;
        case corvelle::ExportFileStatus::kNotMade: return Fail(request.path, result.reason);
        case corvelle::ExportFileStatus::kSameFile:
        case corvelle::ExportFileStatus::kNotWritten:
            std::fprintf(stderr, "corvelle-dump: %s\n", result.reason.c_str());
            return 1;
    }
    if (result.files == 0)
        std::fprintf(stderr, "corvelle-dump: %s: there is no picture to export; nothing is written\n", request.path);
    return 0;
}

}  // namespace

int ExportCommand(int argc, char** argv) {
    ExportRequest request;
    if (const int usage = Parse(argc, argv, request)) return usage;
    if (corvelle::FindCodePage(request.encoding) == nullptr)
        return Fail(request.encoding, "unknown encoding; known: " + corvelle::CodePageNames());
    // Checked before anything is read or written: the export must never
    // replace the database it reads.
    if (request.out != nullptr && corvelle::IsSameFile(request.out, request.path))
        return Fail(request.out, "cannot write: it is the database being exported");
    corvelle::MappedFile file;
    const int status = file.Open(request.path);
    if (status != corvelle::MappedFile::kMapped) return Fail(request.path, FailureReason(status, file.Size()));
    const corvelle::DatabaseModel model(file.View(), file.Size());
    const corvelle::DecodedDatabase database(model);
    corvelle::ExportType format;
    if (!corvelle::ParseExportType(request.format, format))
        return Fail(request.path, std::string("unknown format ") + request.format + "; it fits " + FittingNames(database));
    if (format == corvelle::ExportType::kRaw) {
        if (request.out == nullptr) return UsageError("--export raw needs -o DIR");
        return WriteRawExport(model, request.path, request.out);
    }
    if (format == corvelle::ExportType::kImages && database.Feeds(format)) {
        if (request.out == nullptr) return UsageError("--export images needs -o DIR");
        return WriteImages(database, request);
    }
    if (request.withData && format != corvelle::ExportType::kJson)
        return UsageError("--data goes with --export json");
    return WriteText(database, format, request);
}

}  // namespace corvelle_dump
