// A settings platform answered from tables, recording what the rules ask for
// so tests can check the order of registry lookups and which files are read.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "plugin/SettingsPlatform.h"

namespace corvelle {

class FakeSettingsPlatform : public SettingsPlatform {
public:
    std::string modulePath;
    std::set<std::string> existingPaths;
    // (file, "Section/Key") -> value
    std::map<std::pair<std::string, std::string>, std::string> profile;
    std::map<std::pair<RegistryRoot, std::string>, std::string> registry;
    int dpi = 96;

    std::vector<std::string> registryReads;  // "HKCU/IniFileName", ...
    std::vector<std::string> profileReads;   // "file|Section/Key"
    int dpiQueries = 0;

    std::string ModulePath() override { return modulePath; }

    bool PathExists(const std::string& path) override { return existingPaths.count(path) != 0; }

    std::string ReadProfileString(const std::string& file, const char* section,
                                  const char* key) override {
        const std::string name = std::string(section) + "/" + key;
        profileReads.push_back(file + "|" + name);
        const auto found = profile.find({file, name});
        return found == profile.end() ? std::string() : found->second;
    }

    int ReadProfileInt(const std::string& file, const char* section, const char* key,
                       int fallback) override {
        const std::string text = ReadProfileString(file, section, key);
        return text.empty() ? fallback : std::stoi(text);
    }

    std::optional<std::string> ReadHostRegistryValue(RegistryRoot root,
                                                     const char* valueName) override {
        registryReads.push_back(
            std::string(root == RegistryRoot::CurrentUser ? "HKCU/" : "HKLM/") + valueName);
        const auto found = registry.find({root, valueName});
        if (found == registry.end()) return std::nullopt;
        return found->second;
    }

    int ScreenLogPixelsX() override {
        ++dpiQueries;
        return dpi;
    }
};

}  // namespace corvelle
