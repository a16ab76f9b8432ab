#include "cli/RawExport.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "io/SameFile.h"

namespace corvelle_dump {
namespace {

namespace fs = std::filesystem;

// Writes one member in place: it is this run's to remove if the export fails.
bool WriteBytes(const std::string& path, const void* bytes, size_t size, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    bool written = std::fwrite(bytes, 1, size, file) == size;
    if (!written) error = std::strerror(errno);
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = std::strerror(errno);
    }
    return written;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Undoes a failed export: the files this run wrote, and the folder if this
// run made it.
struct RawWriter {
    const char* databasePath;
    fs::path dir;
    bool madeDir = false;
    std::vector<fs::path> written;

    bool Write(const std::string& name, const uint8_t* bytes, uint64_t size) {
        const fs::path path = dir / name;
        std::string error;
        if (corvelle::IsSameFile(path.string(), databasePath)) {
            error = "is the database itself";
        } else if (WriteBytes(path.string(), bytes, static_cast<size_t>(size), error)) {
            written.push_back(path);
            return true;
        }
        std::fprintf(stderr, "corvelle-dump: %s: cannot write: %s\n", path.string().c_str(), error.c_str());
        std::error_code code;
        fs::remove(path, code);
        for (const fs::path& done : written) fs::remove(done, code);
        if (madeDir) fs::remove(dir, code);
        return false;
    }
};

}  // namespace

std::string RawEntryName(const corvelle::DatabaseModel& model, size_t index, std::string& taken) {
    char name[64];
    if (!model.HoldsResources()) {
        std::snprintf(name, sizeof name, "%05zu.rec", index);
        return name;
    }
    const corvelle::ModelEntry& entry = model.Entry(index);
    std::string type;
    for (uint8_t byte : entry.type.bytes) {
        const bool letterOrDigit =
            (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
        type += letterOrDigit ? static_cast<char>(byte) : '_';
    }
    std::snprintf(name, sizeof name, "%s-%u.bin", type.c_str(), unsigned{entry.id});
    const std::string key = "/" + Lower(name) + "/";
    if (taken.find(key) != std::string::npos)
        std::snprintf(name, sizeof name, "%s-%u-%zu.bin", type.c_str(), unsigned{entry.id}, index);
    else
        taken += key;
    return name;
}

int WriteRawExport(const corvelle::DatabaseModel& model, const char* databasePath, const std::string& dir) {
    RawWriter writer{databasePath, fs::path(dir), false, {}};
    std::error_code code;
    if (!fs::is_directory(writer.dir, code)) {
        if (!fs::create_directory(writer.dir, code)) {
            std::fprintf(stderr, "corvelle-dump: %s: cannot make the folder: %s\n", dir.c_str(),
                         code ? code.message().c_str() : "a file of that name is there");
            return 1;
        }
        writer.madeDir = true;
    }
    const corvelle::ByteSpan appInfo = model.AppInfo(), sortInfo = model.SortInfo();
    if (appInfo.data != nullptr && !writer.Write("appinfo.bin", appInfo.data, appInfo.size)) return 1;
    if (sortInfo.data != nullptr && !writer.Write("sortinfo.bin", sortInfo.data, sortInfo.size)) return 1;
    std::string taken;
    const char* const kind = model.HoldsResources() ? "resource" : "record";
    for (size_t index = 0; index < model.Count(); ++index) {
        const std::string name = RawEntryName(model, index, taken);
        if (!model.Entry(index).hasData) {
            std::fprintf(stderr, "corvelle-dump: %s: %s %zu lies outside the file; no %s for it\n", databasePath,
                         kind, index, name.c_str());
            continue;
        }
        const corvelle::ByteSpan data = model.Data(index);
        if (!writer.Write(name, data.data, data.size)) return 1;
    }
    if (model.Count() < model.AnnouncedCount())
        std::fprintf(stderr, "corvelle-dump: %s: the file holds %zu of the %u announced %ss\n", databasePath,
                     model.Count(), unsigned{model.AnnouncedCount()}, kind);
    return 0;
}

}  // namespace corvelle_dump
