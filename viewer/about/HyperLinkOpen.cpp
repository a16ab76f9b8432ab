// How a link opens its target and reports failure: the shell first, then the
// command the registry gives for HTML files, then a message box.
#include "viewer/about/HyperLink.h"

#include <shellapi.h>

#include "about/HtmlCommand.h"
#include "about/OpenError.h"
#include "viewer/Module.h"

namespace {

// RegQueryValue's buffer for a default value, terminator included. A longer
// value fails the read rather than being cut.
constexpr LONG kRegValueCapacity = 260;

}  // namespace

LONG CHyperLink::ReadRegDefault(HKEY hKeyRoot, const char* pszSubKey, char* pszOut) {
    if (pszSubKey == nullptr || pszOut == nullptr) return ERROR_INVALID_PARAMETER;
    HKEY hKey = nullptr;
    const LONG opened = ::RegOpenKeyExA(hKeyRoot, pszSubKey, 0, KEY_QUERY_VALUE, &hKey);
    if (opened != ERROR_SUCCESS) return opened;
    const corvelle::UniqueRegistryKey key(hKey);

    char value[kRegValueCapacity] = {};
    LONG size = kRegValueCapacity;
    const LONG read = ::RegQueryValueA(key.Get(), nullptr, value, &size);
    if (read != ERROR_SUCCESS) return read;
    // The stored text need not be terminated; the last byte always is.
    value[kRegValueCapacity - 1] = '\0';
    ::lstrcpynA(pszOut, value, kRegValueCapacity);
    return ERROR_SUCCESS;
}

int CHyperLink::OpenUrl(const char* pszUrl, int nShowCmd) {
    const char* url = pszUrl != nullptr ? pszUrl : "";
    const int shellResult = static_cast<int>(reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, nullptr, url, nullptr, nullptr, nShowCmd)));
    if (shellResult > 32) return shellResult;

    const corvelle::ClassesRootReader readDefault = [](const std::string& subkey,
                                                       std::string& value) -> long {
        char buffer[kRegValueCapacity] = {};
        const LONG result = ReadRegDefault(HKEY_CLASSES_ROOT, subkey.c_str(), buffer);
        if (result == ERROR_SUCCESS) value = buffer;
        return result;
    };
    const corvelle::LeadBytePredicate isLeadByte = [](unsigned char byte) {
        return ::IsDBCSLeadByte(byte) != FALSE;
    };
    const corvelle::HtmlCommand command = corvelle::FindHtmlCommand(readDefault, url, isLeadByte);
    // Without a usable HTML command the shell's own code says best what failed.
    if (command.status != corvelle::HtmlCommandStatus::Ready) return shellResult;
    return static_cast<int>(::WinExec(command.commandLine.c_str(), static_cast<UINT>(nShowCmd)));
}

void CHyperLink::ShowOpenError(int nError) {
    const std::string text = corvelle::OpenErrorMessage(nError);
    ::MessageBoxA(::GetActiveWindow(), text.c_str(), kCorvelleAppName, MB_ICONEXCLAMATION | MB_OK);
}

void CHyperLink::LoadHandCursor() {
    if (s_hHandCursor) return;
    char path[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
    constexpr char kHelpProgram[] = "\\winhlp32.exe";
    if (length == 0 || length + sizeof kHelpProgram > MAX_PATH) return;
    ::lstrcatA(path, kHelpProgram);

    // Loaded only for its resources; the copy outlives the module.
    const corvelle::UniqueModule module(
        ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return;
    HCURSOR hCursor = ::LoadCursorA(module.Get(), MAKEINTRESOURCEA(106));
    if (hCursor == nullptr) return;
    s_hHandCursor.Reset(static_cast<HCURSOR>(::CopyIcon(hCursor)));
}
