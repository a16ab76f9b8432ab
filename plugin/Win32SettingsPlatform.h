// The settings rules' view of Windows: the profile functions, the host's
// registry key (read-only), the module's path and the screen resolution.
#pragma once

#include <windows.h>

#include "plugin/SettingsPlatform.h"

namespace corvelle {

class Win32SettingsPlatform : public SettingsPlatform {
public:
    // `window` is the host window whose device context gives the resolution.
    explicit Win32SettingsPlatform(HWND window) : m_window(window) {}

    std::string ModulePath() override;
    bool PathExists(const std::string& path) override;
    std::string ReadProfileString(const std::string& file, const char* section,
                                  const char* key) override;
    int ReadProfileInt(const std::string& file, const char* section, const char* key,
                       int fallback) override;
    std::optional<std::string> ReadHostRegistryValue(RegistryRoot root,
                                                     const char* valueName) override;
    int ScreenLogPixelsX() override;

private:
    HWND m_window;
};

}  // namespace corvelle
