#include "plugin/Win32SettingsPlatform.h"

#include <vector>

#include "viewer/Module.h"
#include "base/UniqueHandle.h"

namespace corvelle {
namespace {

constexpr char kHostKey[] = "Software\\Ghisler\\Total Commander";

// Longer texts than these are refused by the rules anyway; the limits only
// keep a corrupt file or registry value from costing unbounded memory.
constexpr DWORD kModulePathLimit = 1024;
constexpr DWORD kProfileValueLimit = 65536;
constexpr DWORD kRegistryValueLimit = 65536;

}  // namespace

std::string Win32SettingsPlatform::ModulePath() {
    std::vector<char> buffer(kModulePathLimit);
    const DWORD length = ::GetModuleFileNameA(CorvelleModule(), buffer.data(), kModulePathLimit);
    // A full buffer means the path was cut (and, before Vista, not even
    // terminated): hand back the whole buffer so the rules see it is too long.
    if (length == 0) return std::string();
    return std::string(buffer.data(), length);
}

bool Win32SettingsPlatform::PathExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Win32SettingsPlatform::ReadProfileString(const std::string& file, const char* section,
                                                     const char* key) {
    // GetPrivateProfileStringA cuts silently and answers size - 1 when the
    // value did not fit; grow until it fits so the rules get the whole text.
    for (DWORD size = 512;; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length =
            ::GetPrivateProfileStringA(section, key, "", buffer.data(), size, file.c_str());
        if (length + 1 < size || size >= kProfileValueLimit) {
            return std::string(buffer.data(), length < size ? length : size - 1);
        }
    }
}

int Win32SettingsPlatform::ReadProfileInt(const std::string& file, const char* section,
                                          const char* key, int fallback) {
    return static_cast<int>(::GetPrivateProfileIntA(section, key, fallback, file.c_str()));
}

std::optional<std::string> Win32SettingsPlatform::ReadHostRegistryValue(RegistryRoot root,
                                                                        const char* valueName) {
    // Read access only: the plug-in never creates or changes the host's key.
    HKEY opened = nullptr;
    const HKEY base = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    if (::RegOpenKeyExA(base, kHostKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueRegistryKey key(opened);

    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > kRegistryValueLimit) {
        return std::nullopt;
    }
    // One spare byte: a stored string need not end with its zero.
    std::vector<char> buffer(size + 1, '\0');
    DWORD read = size;
    if (::RegQueryValueExA(key.Get(), valueName, nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS ||
        read > size) {
        return std::nullopt;
    }
    buffer[read] = '\0';
    return std::string(buffer.data());
}

int Win32SettingsPlatform::ScreenLogPixelsX() {
    const HDC dc = ::GetDC(m_window);
    if (dc == nullptr) return 0;
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(m_window, dc);
    return dpi;
}

}  // namespace corvelle
