// What the settings rules need from the system, behind one small interface so
// the rules run (and are tested) without Windows. The Win32 adapter answers
// through the profile functions, the registry and GDI; tests answer from tables.
#pragma once

#include <optional>
#include <string>

namespace corvelle {

enum class RegistryRoot { CurrentUser, LocalMachine };

class SettingsPlatform {
public:
    virtual ~SettingsPlatform() = default;

    // Full path of this plug-in's own module file; empty when unknown. May be
    // longer than any buffer of ours: the rules decide what to do with that.
    virtual std::string ModulePath() = 0;

    // True when the path names an existing file or directory.
    virtual bool PathExists(const std::string& path) = 0;

    // The whole value of `key` in `section` of an INI file, "" when the file,
    // section or key is missing. Bare file names are looked up where the
    // system's profile functions look them up.
    virtual std::string ReadProfileString(const std::string& file, const char* section,
                                          const char* key) = 0;

    // The integer value of `key`, `fallback` when missing.
    virtual int ReadProfileInt(const std::string& file, const char* section, const char* key,
                               int fallback) = 0;

    // A string value of the host's key "Software\Ghisler\Total Commander"
    // under `root`, opened for reading only and closed again. nullopt when the
    // key or the value is missing or the value is not a string. The text is
    // returned whole, up to its first zero.
    virtual std::optional<std::string> ReadHostRegistryValue(RegistryRoot root,
                                                             const char* valueName) = 0;

    // Logical pixels per inch along the screen's width, as the host window's
    // device context reports them.
    virtual int ScreenLogPixelsX() = 0;
};

}  // namespace corvelle
