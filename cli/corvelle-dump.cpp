// corvelle-dump: writes the report of each Palm OS database named on the
// command line to standard output, exactly as the viewer shows it (CR LF
// line ends included), an application's launcher icon as a PPM image, or a
// database's entries as the Records page shows them.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Version.h"
#include "cli/CommandFailure.h"
#include "cli/ExportCommand.h"
#include "cli/RecordsCommand.h"
#include "dump/LauncherIcon.h"
#include "dump/PalmDump.h"
#include "io/MappedFile.h"

namespace {

const char kUsage[] =
    "Usage: corvelle-dump FILE...\n"
    "       corvelle-dump --icon OUT.ppm [--rendition N] FILE\n"
    "       corvelle-dump --records FILE\n"
    "       corvelle-dump --record N FILE\n"
    "       corvelle-dump --export FORMAT [--encoding NAME] [--data] [-o OUT] FILE\n"
    "Writes the report of each Palm OS database (.pdb, .prc, .pqa) to standard output,\n"
    "the launcher icon of an application as a binary PPM image, or the database's\n"
    "records or resources with what they hold.\n"
    "\n"
    "  --icon OUT.ppm   write FILE's launcher icon (transparent pixels in their own colour)\n"
    "  --rendition N    the Nth rendition of the icon, counted from 1 in file order;\n"
    "                   without it, the finest (highest density, then highest depth)\n"
    "  --records        one line per record or resource, cells separated by TAB:\n"
    "                   index, offset, size, attributes, category and unique ID (type\n"
    "                   and ID for a resource), and its contents; then how many of the\n"
    "                   announced entries the file holds (LF line ends)\n"
    "  --record N       entry N (from 0) whole: its cells, its decoded fields (memo,\n"
    "                   to-do, contact, appointment, PalmDOC, string, bitmap) and its\n"
    "                   bytes as hexdump -C shows them\n"
    CORVELLE_EXPORT_USAGE
    "  --help           show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: 0 when every file was dumped, 1 when one could not be opened,\n"
    "was empty or could not be mapped (the others are still dumped), or when FILE has\n"
    "no icon or no such rendition, or has no entry N, or when --export's FORMAT does\n"
    "not fit FILE, NAME is unknown or OUT cannot be written; 2 on a usage error.\n";

using corvelle_dump::Fail;
using corvelle_dump::OpenOrSay;

bool DumpOne(const char* path) {
    corvelle::MappedFile file;
    if (!OpenOrSay(file, path)) return false;
    // Streamed in chunks: the bytes are exactly those of the whole report,
    // without holding all of it in memory.
    corvelle::StreamReport(
        file, [](void*, const char* bytes, size_t size) { std::fwrite(bytes, 1, size, stdout); }, nullptr);
    file.Close();
    return true;
}

bool WritePpm(const char* outPath, const corvelle::IconImage& icon) {
    FILE* out = std::fopen(outPath, "wb");
    if (out == nullptr) return false;
    std::string bytes = "P6\n" + std::to_string(icon.width) + " " + std::to_string(icon.height) + "\n255\n";
    for (const corvelle::Rgba& pixel : icon.pixels)
        bytes += {static_cast<char>(pixel.r), static_cast<char>(pixel.g), static_cast<char>(pixel.b)};
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

// rendition 0: the finest rendition that decodes, as a thumbnail without a
// size limit would show it.
int WriteIcon(const char* outPath, unsigned long rendition, const char* path) {
    corvelle::MappedFile file;
    if (!OpenOrSay(file, path)) return 1;
    const corvelle::ByteSpan family = corvelle::FindLauncherIcon(file.View(), file.Size());
    if (family.size == 0) return Fail(path, "no launcher icon");
    corvelle::IconImage icon;
    if (rendition == 0) {
        if (!corvelle::DecodePreferredRendition(family, UINT32_MAX, UINT32_MAX, icon))
            return Fail(path, "no rendition of the launcher icon can be read");
    } else {
        const auto renditions = corvelle::ListRenditions(family.data, family.size);
        if (rendition > renditions.size())
            return Fail(path, "the launcher icon has no rendition " + std::to_string(rendition) + " (it has " +
                                  std::to_string(renditions.size()) + ")");
        if (!corvelle::DecodeRendition(family.data, family.size, renditions[rendition - 1], icon))
            return Fail(path, "rendition " + std::to_string(rendition) + " of the launcher icon cannot be read");
    }
    if (!WritePpm(outPath, icon)) return Fail(outPath, "cannot write the image");
    return 0;
}

int UsageError(const char* what) {
    std::fprintf(stderr, "corvelle-dump: %s\n%s", what, kUsage);
    return 2;
}

// corvelle-dump --records FILE, corvelle-dump --record N FILE
int RecordsCommand(int argc, char** argv) {
    bool one = false;
    unsigned long index = 0;
    const char* path = nullptr;
    const char* const shape = "--records takes one FILE; --record takes N and one FILE";
    int i = 1;
    if (std::strcmp(argv[i], "--record") == 0) {
        one = true;
        if (++i >= argc) return UsageError(shape);
        char* end = nullptr;
        index = std::strtoul(argv[i], &end, 10);
        if (*end != '\0' || !std::isdigit(static_cast<unsigned char>(argv[i][0])))
            return UsageError("--record needs an entry number from 0");
    }
    ++i;
    if (i < argc && std::strcmp(argv[i], "--") == 0) ++i;
    if (i + 1 != argc) return UsageError(shape);
    path = argv[i];
    return one ? corvelle_dump::PrintRecord(index, path) : corvelle_dump::PrintRecords(path);
}

// corvelle-dump --icon OUT.ppm [--rendition N] FILE
int IconCommand(int argc, char** argv) {
    const char* outPath = nullptr;
    const char* path = nullptr;
    unsigned long rendition = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--icon") == 0 && i + 1 < argc && outPath == nullptr) {
            outPath = argv[++i];
        } else if (std::strcmp(argv[i], "--rendition") == 0 && i + 1 < argc && rendition == 0) {
            char* end = nullptr;
            rendition = std::strtoul(argv[++i], &end, 10);
            if (*end != '\0' || rendition == 0 || argv[i][0] == '-')
                return UsageError("--rendition needs a number from 1");
        } else if (path == nullptr && (argv[i][0] != '-' || argv[i][1] == '\0')) {
            path = argv[i];
        } else {
            return UsageError("--icon takes OUT.ppm, an optional --rendition N and one FILE");
        }
    }
    if (outPath == nullptr || path == nullptr)
        return UsageError("--icon takes OUT.ppm, an optional --rendition N and one FILE");
    return WriteIcon(outPath, rendition, path);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--icon") == 0) return IconCommand(argc, argv);
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--export") == 0) return corvelle_dump::ExportCommand(argc, argv);
    if (argc > 1 && (std::strcmp(argv[1], "--records") == 0 || std::strcmp(argv[1], "--record") == 0))
        return RecordsCommand(argc, argv);
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
