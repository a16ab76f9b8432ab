#include "cli/RawExport.h"

#include <cctype>
#include <cstdio>

#include "io/FolderWriter.h"

namespace corvelle_dump {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

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
    corvelle::FolderWriter writer(databasePath, dir);
    const auto fail = [&writer] {
        std::fprintf(stderr, "corvelle-dump: %s\n", writer.Error().c_str());
        return 1;
    };
    if (!writer.Open()) return fail();
    const corvelle::ByteSpan appInfo = model.AppInfo(), sortInfo = model.SortInfo();
    if (appInfo.data != nullptr && !writer.Write("appinfo.bin", appInfo.Chars())) return fail();
    if (sortInfo.data != nullptr && !writer.Write("sortinfo.bin", sortInfo.Chars())) return fail();
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
        if (!writer.Write(name, data.Chars())) return fail();
    }
    if (model.Count() < model.AnnouncedCount())
        std::fprintf(stderr, "corvelle-dump: %s: the file holds %zu of the %u announced %ss\n", databasePath,
                     model.Count(), unsigned{model.AnnouncedCount()}, kind);
    writer.Commit();
    return 0;
}

}  // namespace corvelle_dump
