// corvelle-dump: writes the report of each Palm OS database named on the
// command line to standard output, exactly as the viewer shows it (CR LF
// line ends included).
#include <cstdio>
#include <cstring>

#include "Version.h"
#include "dump/MappedFile.h"
#include "dump/PalmDump.h"

namespace {

const char kUsage[] =
    "Usage: corvelle-dump FILE...\n"
    "Writes the report of each Palm OS database (.pdb, .prc, .pqa) to standard output.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when every file was dumped, 1 when one could not be opened,\n"
    "was empty or could not be mapped (the others are still dumped), 2 on a usage error.\n";

const char* FailureReason(int status, uint32_t size) {
    switch (status) {
    case corvelle::MappedFile::kNotOpened:
        return "cannot open file";
    case corvelle::MappedFile::kNoMapping:
        return size == 0 ? "file is empty" : "cannot map file";
    default:
        return "cannot map file";
    }
}

bool DumpOne(const char* path) {
    corvelle::MappedFile file;
    const int status = file.Open(path);
    if (status != corvelle::MappedFile::kMapped) {
        std::fprintf(stderr, "corvelle-dump: %s: %s\n", path, FailureReason(status, file.Size()));
        return false;
    }
    // Streamed in chunks: the bytes are exactly those of the whole report,
    // without holding all of it in memory.
    corvelle::StreamReport(
        file, [](void*, const char* bytes, size_t size) { std::fwrite(bytes, 1, size, stdout); }, nullptr);
    file.Close();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bool endOfOptions = false;
    int files = 0;
    bool allDumped = true;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!endOfOptions && std::strcmp(arg, "--") == 0) {
            endOfOptions = true;
            continue;
        }
        if (!endOfOptions && std::strcmp(arg, "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!endOfOptions && std::strcmp(arg, "--version") == 0) {
            std::printf("corvelle-dump %s\n", CORVELLE_VERSION_TEXT);
            return 0;
        }
        if (!endOfOptions && arg[0] == '-' && arg[1] != '\0') {
            std::fprintf(stderr, "corvelle-dump: unknown option %s\n%s", arg, kUsage);
            return 2;
        }
        ++files;
        allDumped = DumpOne(arg) && allDumped;
    }
    if (files == 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return allDumped ? 0 : 1;
}
