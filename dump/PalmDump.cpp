#include "dump/PalmDump.h"

#include <cstring>

#include "dump/Sections.h"
#include "io/MappedFile.h"

namespace corvelle {
namespace {

template <typename Char>
std::string DumpPath(const Char* path) {
    MappedFile file;
    const int status = file.Open(path);
    // Nothing is read from a file that did not map; the viewer still gets a
    // line that says why, rather than a blank page.
    std::string report = status == MappedFile::kMapped ? BuildReport(file) : OpenFailureText(status, file.Size());
    file.Close();
    return report;
}

}  // namespace

void AppendFileEnds(ReportText& report, const FileBytes& file, const char* whatIsCut) {
    report.Line("\tThe file ends at byte %d: %s.", file.size, whatIsCut);
}

namespace {

void AppendSections(ReportText& report, const FileBytes& file) {
    if (AppendHeaderSection(report, file)) {
        AppendAppInfoSection(report, file);
        AppendEntryList(report, file);
    }
}

}  // namespace

std::string BuildReport(const uint8_t* data, uint32_t size) {
    ReportText report;
    AppendSections(report, FileBytes{data, data != nullptr ? size : 0});
    return report.Take();
}

void StreamReport(const MappedFile& file, ReportChunkWriter writer, void* context) {
    ReportText report(writer, context);
    AppendSections(report, FileBytes{file.View(), file.View() != nullptr ? file.Size() : 0});
    report.Flush();
}

std::string BuildReport(const MappedFile& file) { return BuildReport(file.View(), file.Size()); }

const char* OpenFailureText(int status, uint32_t size) {
    switch (status) {
    case MappedFile::kNotOpened:
        return "Cannot open file.\r\n";
    case MappedFile::kNoMapping:
        return size == 0 ? "File is empty.\r\n" : "Cannot map file.\r\n";
    default:
        return "Cannot map file.\r\n";
    }
}

std::string DumpPalmFile(const char* path) { return DumpPath(path); }

#ifdef _WIN32
std::string DumpPalmFileW(const wchar_t* path) { return DumpPath(path); }
#endif

char* DirectoryOfPath(char* source, char* destination, size_t count) {
    char* text = source;
    if (destination != nullptr) {
        std::strncpy(destination, source, count);
        text = destination;
    }
    char* lastBackslash = std::strrchr(text, '\\');
    if (lastBackslash != nullptr) lastBackslash[1] = '\0';
    return text;
}

}  // namespace corvelle
