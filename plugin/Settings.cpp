#include "plugin/Settings.h"

#include <cstring>

#include "dump/PalmDump.h"

namespace corvelle {
namespace {

constexpr char kListerSection[] = "Lister";
constexpr char kFontKey[] = "Font1";
constexpr char kIniFileNameValue[] = "IniFileName";
constexpr char kInstallDirValue[] = "InstallDir";

// A registry text as it would stand in a buffer of kHostValueCapacity bytes:
// one that needs more room is missing, as RegQueryValueEx answers
// ERROR_MORE_DATA for it.
std::optional<std::string> FitHostValue(std::optional<std::string> value) {
    if (!value || value->size() + 1 > kHostValueCapacity) return std::nullopt;
    return value;
}

}  // namespace

bool FileExists(SettingsPlatform& platform, const std::string& path) {
    return !path.empty() && platform.PathExists(path);
}

std::optional<std::string> OptionsPathBesideModule(const std::string& modulePath,
                                                   size_t capacity) {
    if (modulePath.empty()) return std::nullopt;
    const size_t separator = modulePath.find_last_of("\\/");
    const size_t componentStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = modulePath.rfind('.');
    std::string path;
    if (dot == std::string::npos || dot < componentStart) {
        path = modulePath + ".ini";
    } else {
        path = modulePath.substr(0, dot + 1) + "ini";
    }
    if (path.size() + 1 > capacity) return std::nullopt;
    return path;
}

void LocateOptionsFile(SettingsPlatform& platform, char* buffer, size_t capacity) {
    // The module path is taken in a buffer as large as the options buffer: a
    // longer path could not be stored, so it is refused like a missing one.
    const std::string modulePath = platform.ModulePath();
    if (modulePath.size() + 1 > capacity) return;
    const auto path = OptionsPathBesideModule(modulePath, capacity);
    if (path && FileExists(platform, *path)) CopyCut(buffer, capacity, path->c_str());
}

std::string ResolveHostIni(SettingsPlatform& platform, const std::string& fallback) {
    RegistryRoot root = RegistryRoot::CurrentUser;
    auto iniFileName = FitHostValue(platform.ReadHostRegistryValue(root, kIniFileNameValue));
    if (!iniFileName) {
        root = RegistryRoot::LocalMachine;
        iniFileName = FitHostValue(platform.ReadHostRegistryValue(root, kIniFileNameValue));
    }
    if (!iniFileName || iniFileName->empty() || (*iniFileName)[0] != '.') return fallback;

    const auto installDir = FitHostValue(platform.ReadHostRegistryValue(root, kInstallDirValue));
    if (!installDir) return fallback;

    // Both texts together must fit one more buffer of the same size; a cut
    // combination would name some other file.
    const std::string candidate = *installDir + iniFileName->substr(1);
    if (candidate.size() + 1 > kHostValueCapacity) return fallback;
    return FileExists(platform, candidate) ? candidate : fallback;
}

ListerFont ReadListerFont(SettingsPlatform& platform, const std::string& candidate) {
    std::string path = candidate;
    if (!FileExists(platform, path)) path = ResolveHostIni(platform, path);
    if (path.empty()) return EmptyListerFont();

    std::string value = platform.ReadProfileString(path, kListerSection, kFontKey);
    if (value.size() + 1 > kHostValueCapacity) value.resize(kHostValueCapacity - 1);
    if (value.empty()) return EmptyListerFont();
    return ParseFont1(value, platform.ScreenLogPixelsX());
}

std::optional<SavedRect> ReadSavedHostRect(SettingsPlatform& platform,
                                           const std::string& optionsIni) {
    if (platform.ReadProfileInt(optionsIni, kOptionsSection, "autosave", 1) == 0) {
        return std::nullopt;
    }
    return ParseSavedRect(platform.ReadProfileString(optionsIni, kOptionsSection, "Rect"));
}

const CodePageInfo& ReadTextEncoding(SettingsPlatform& platform, const std::string& optionsIni) {
    const CodePageInfo* page = FindCodePage(platform.ReadProfileString(optionsIni, kOptionsSection, "Encoding"));
    return page != nullptr ? *page : *FindCodePage(kDefaultEncoding);
}

bool ReadStartOnText(SettingsPlatform& platform, const std::string& optionsIni) {
    return NamesTextPage(platform.ReadProfileString(optionsIni, kOptionsSection, "StartPage"));
}

std::string HostIniCandidate(const char* suggested, size_t suggestedCapacity) {
    if (suggested == nullptr) return std::string();
    const void* end = std::memchr(suggested, 0, suggestedCapacity);
    if (end == nullptr) return std::string();

    char directory[kPathCapacity];
    const size_t length = static_cast<size_t>(static_cast<const char*>(end) - suggested);
    if (length + 1 > sizeof directory) return std::string();
    std::memcpy(directory, suggested, length + 1);
    DirectoryOfPath(directory, nullptr, sizeof directory);

    std::string candidate = std::string(directory) + kHostIniName;
    if (candidate.size() + 1 > kPathCapacity) return std::string();
    return candidate;
}

}  // namespace corvelle
