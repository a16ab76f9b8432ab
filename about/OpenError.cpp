#include "about/OpenError.h"

#include <cstdio>

namespace corvelle {
namespace {

struct OpenErrorEntry {
    int code;
    const char* reason;
};

// The codes ShellExecute and WinExec report (0 and the SE_ERR_ values, with
// ERROR_BAD_FORMAT for 11). The blank after code 26's full stop is part of
// the text users have always seen.
constexpr OpenErrorEntry kOpenErrors[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\n"
         "were being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

}  // namespace

std::string OpenErrorReason(int code) {
    for (const OpenErrorEntry& entry : kOpenErrors)
        if (entry.code == code) return entry.reason;
    char text[64];
    std::snprintf(text, sizeof text, "Unknown Error (%d) occurred.", code);
    return text;
}

std::string OpenErrorMessage(int code) {
    return "Can't open link:\n\n" + OpenErrorReason(code);
}

}  // namespace corvelle
