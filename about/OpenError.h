// The texts a link shows when its target cannot be opened.
#pragma once

#include <string>

namespace corvelle {

// The reason for a ShellExecute or WinExec failure code, worded for the user;
// codes without a reason of their own are shown by number.
std::string OpenErrorReason(int code);

// The whole message box text: a heading, an empty line, the reason.
std::string OpenErrorMessage(int code);

}  // namespace corvelle
