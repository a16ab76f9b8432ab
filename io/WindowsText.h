// Text across the Win32 boundary for io/'s Windows halves: a narrow path into
// the UTF-16 that the W calls take, and a system error into a UTF-8 reason.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace corvelle::io_windows {

// A narrow path is in the ANSI code page, as the A calls would read it.
inline std::wstring WidenAnsiPath(const std::string& path) {
    if (path.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
    return wide;
}

// The system's own words for `code`, without the line break it ends with.
inline std::string SystemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const int length =
        static_cast<int>(::FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr));
    const std::unique_ptr<wchar_t, HLOCAL(WINAPI*)(HLOCAL)> owned(text, &::LocalFree);
    std::string message;
    const int size = length > 0 ? ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    if (size > 0) {
        message.resize(static_cast<size_t>(size));
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, &message[0], size, nullptr, nullptr);
    }
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "Windows error " + std::to_string(code) : message;
}

}  // namespace corvelle::io_windows
