#include "viewer/WideText.h"

#include <windows.h>

#include <climits>

namespace corvelle {
namespace {

std::wstring Widen(UINT codePage, const char* text, size_t size) {
    if (size == 0 || size > INT_MAX) return std::wstring();
    const int length = ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(size), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, static_cast<int>(size), &wide[0], length);
    return wide;
}

}  // namespace

std::wstring WidenAnsiPath(const char* path) {
    if (path == nullptr) return std::wstring();
    return Widen(CP_ACP, path, std::char_traits<char>::length(path));
}

std::wstring WidenDeviceText(const std::string& text, unsigned codePage) {
    return Widen(codePage, text.data(), text.size());
}

std::wstring WidenUtf8(const std::string& text) { return Widen(CP_UTF8, text.data(), text.size()); }

std::string NarrowWide(const std::wstring& text, unsigned codePage) {
    if (text.empty() || text.size() > INT_MAX) return std::string();
    const int count = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(codePage, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), count, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

}  // namespace corvelle
