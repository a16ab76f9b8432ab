#include "plugin/qt/PosixSettingsPlatform.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <QGuiApplication>
#include <QScreen>

#include <fstream>

#include "plugin/IniText.h"
#include "plugin/ProfileValues.h"

namespace corvelle::qt {
namespace {

// An options file is a few lines; a bigger one is read no further than this.
constexpr std::streamsize kMostIniBytes = 1024 * 1024;

}  // namespace

std::string PosixSettingsPlatform::ModulePath() {
    // The module that holds this very function.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&IniValue), &info) == 0 || info.dli_fname == nullptr) return {};
    return info.dli_fname;
}

bool PosixSettingsPlatform::PathExists(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0;
}

std::string PosixSettingsPlatform::Located(const std::string& file) const {
    if (file.find('/') != std::string::npos || m_configDir.empty()) return file;
    return m_configDir + "/" + file;
}

std::string PosixSettingsPlatform::ReadProfileString(const std::string& file, const char* section, const char* key) {
    std::ifstream in(Located(file), std::ios::binary);
    if (!in) return {};
    std::string text(static_cast<size_t>(kMostIniBytes), '\0');
    in.read(&text[0], kMostIniBytes);
    text.resize(static_cast<size_t>(in.gcount()));
    return IniValue(text, section, key);
}

int PosixSettingsPlatform::ReadProfileInt(const std::string& file, const char* section, const char* key,
                                          int fallback) {
    const std::string value = ReadProfileString(file, section, key);
    return value.empty() ? fallback : ParseLeadingInt(value.c_str());
}

int PosixSettingsPlatform::ScreenLogPixelsX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchX()) : 96;
}

}  // namespace corvelle::qt
