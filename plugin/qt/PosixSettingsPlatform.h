// What the settings rules (plugin/Settings.h) need, answered on Linux: the
// module's own path, files that exist, and INI values read as the profile
// functions read them. There is no registry; a bare file name is looked up
// in the host's configuration folder.
#pragma once

#include <string>

#include "plugin/SettingsPlatform.h"

namespace corvelle::qt {

class PosixSettingsPlatform final : public SettingsPlatform {
public:
    // `configDir`: the folder of the INI file the host suggested ("" when it named none).
    explicit PosixSettingsPlatform(std::string configDir) : m_configDir(std::move(configDir)) {}

    std::string ModulePath() override;
    bool PathExists(const std::string& path) override;
    std::string ReadProfileString(const std::string& file, const char* section, const char* key) override;
    int ReadProfileInt(const std::string& file, const char* section, const char* key, int fallback) override;
    std::optional<std::string> ReadHostRegistryValue(RegistryRoot, const char*) override { return std::nullopt; }
    int ScreenLogPixelsX() override;

private:
    std::string Located(const std::string& file) const;

    std::string m_configDir;
};

}  // namespace corvelle::qt
