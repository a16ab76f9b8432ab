// corvelle-dump: writes the report of each Palm OS database named on the
// command line to standard output, exactly as the viewer shows it (CR LF
// line ends included), an application's launcher icon as a PPM image, or a
// database's entries as the Records page shows them.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Version.h"
#include "cli/CommandFailure.h"
#include "cli/ExportCommand.h"
#include "cli/RecordsCommand.h"
#include "cli/TextOutput.h"
#include "cli/UsageText.h"
#include "dump/LauncherIcon.h"
#include "dump/PalmDump.h"
#include "standards/CodePage.h"
#include "io/MappedFile.h"

namespace {

using corvelle_dump::Fail;
using corvelle_dump::OpenOrSay;

using corvelle_dump::TextOutput;

bool DumpOne(const char* path, TextOutput& output) {
    corvelle::MappedFile file;
    if (!OpenOrSay(file, path)) return false;
    // Streamed in chunks: the bytes are exactly those of the whole report,
    // without holding all of it in memory.
    corvelle::StreamReport(
        file,
        [](void* context, const char* bytes, size_t size) {
            static_cast<TextOutput*>(context)->Write(std::string_view(bytes, size));
        },
        &output);
    output.Finish();
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
    std::fprintf(stderr, "corvelle-dump: %s\n%s", what, corvelle_dump::UsageText().c_str());
    return 2;
}

// The output of the file's texts that --encoding asks for; `status` is 1
// when the name is unknown or this system cannot convert from its page.
std::unique_ptr<TextOutput> OutputIn(const char* encoding, int& status) {
    status = 0;
    const corvelle::CodePageInfo* page = nullptr;
    if (encoding != nullptr && (page = corvelle::FindCodePage(encoding)) == nullptr) {
        status = Fail(encoding, "unknown encoding; known: " + corvelle::CodePageNames());
        return nullptr;
    }
    auto output = std::make_unique<TextOutput>(page);
    if (!output->Ok()) status = Fail(encoding, "this system cannot convert from it");
    return output;
}

// corvelle-dump --records [--encoding NAME] FILE, corvelle-dump --record N [--encoding NAME] FILE
int RecordsCommand(int argc, char** argv) {
    bool one = false, endOfOptions = false;
    unsigned long index = 0;
    const char* path = nullptr;
    const char* encoding = nullptr;
    const char* const shape = "--records takes one FILE; --record takes N and one FILE; either an --encoding NAME";
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!endOfOptions && std::strcmp(arg, "--") == 0) {
            endOfOptions = true;
        } else if (!endOfOptions && std::strcmp(arg, "--records") == 0 && !one) {
            continue;
        } else if (!endOfOptions && std::strcmp(arg, "--record") == 0 && !one) {
            one = true;
            if (++i >= argc) return UsageError(shape);
            char* end = nullptr;
            index = std::strtoul(argv[i], &end, 10);
            if (*end != '\0' || !std::isdigit(static_cast<unsigned char>(argv[i][0])))
                return UsageError("--record needs an entry number from 0");
        } else if (!endOfOptions && std::strcmp(arg, "--encoding") == 0 && i + 1 < argc && encoding == nullptr) {
            encoding = argv[++i];
        } else if (path == nullptr && (endOfOptions || arg[0] != '-' || arg[1] == '\0')) {
            path = arg;
        } else {
            return UsageError(shape);
        }
    }
    if (path == nullptr) return UsageError(shape);
    int status = 0;
    const std::unique_ptr<TextOutput> output = OutputIn(encoding, status);
    if (status != 0) return status;
    return one ? corvelle_dump::PrintRecord(index, path, *output) : corvelle_dump::PrintRecords(path, *output);
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
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--records") == 0 || std::strcmp(argv[i], "--record") == 0)
            return RecordsCommand(argc, argv);
    bool endOfOptions = false;
    const char* encoding = nullptr;
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!endOfOptions && std::strcmp(arg, "--") == 0) {
            endOfOptions = true;
            continue;
        }
        if (!endOfOptions && std::strcmp(arg, "--help") == 0) {
            std::fputs(corvelle_dump::UsageText().c_str(), stdout);
            return 0;
        }
        if (!endOfOptions && std::strcmp(arg, "--version") == 0) {
            std::printf("corvelle-dump %s\n", CORVELLE_VERSION_TEXT);
            return 0;
        }
        if (!endOfOptions && std::strcmp(arg, "--encoding") == 0 && i + 1 < argc && encoding == nullptr) {
            encoding = argv[++i];
            continue;
        }
        if (!endOfOptions && arg[0] == '-' && arg[1] != '\0') {
            std::fprintf(stderr, "corvelle-dump: unknown option %s\n%s", arg, corvelle_dump::UsageText().c_str());
            return 2;
        }
        paths.push_back(arg);
    }
    if (paths.empty()) {
        std::fputs(corvelle_dump::UsageText().c_str(), stderr);
        return 2;
    }
    int status = 0;
    const std::unique_ptr<TextOutput> output = OutputIn(encoding, status);
    if (status != 0) return status;
    bool allDumped = true;
    for (const char* path : paths) allDumped = DumpOne(path, *output) && allDumped;
    return allDumped ? 0 : 1;
}
