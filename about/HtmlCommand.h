// The command line that opens a URL through the program the registry names
// for HTML files, used when the shell cannot open the URL itself.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace corvelle {

// Reads the default value of HKEY_CLASSES_ROOT\<subkey>; answers a registry
// error code, 0 when `value` holds the text.
using ClassesRootReader = std::function<long(const std::string& subkey, std::string& value)>;

// Tells whether a byte starts a two-byte character in the ANSI code page, so
// that a search never matches across the halves of a character.
using LeadBytePredicate = std::function<bool(unsigned char)>;

// The command line lives in a buffer of this many characters, terminator
// included; WinExec takes nothing longer from us.
constexpr size_t kHtmlCommandCapacity = 520;

enum class HtmlCommandStatus {
    Ready,          // `commandLine` is ready for WinExec
    NoHtmlType,     // ".htm" has no file type
    NoOpenCommand,  // the file type has no open command
    TooLong,        // the command and the URL would not fit the buffer
};

struct HtmlCommand {
    HtmlCommandStatus status = HtmlCommandStatus::NoHtmlType;
    std::string commandLine;
};

// Turns the registry's open command into a command line for `url`: the text
// is cut before the placeholder ("%1" in quotes, else a bare %1, else not at
// all) and a blank and the URL, unquoted, are appended. Anything after the
// placeholder is dropped. Answers false, and leaves `commandLine` alone, when
// the result would not fit kHtmlCommandCapacity.
bool BuildHtmlCommandLine(std::string_view commandText, std::string_view url,
                          const LeadBytePredicate& isLeadByte, std::string& commandLine);

// Looks up ".htm"'s file type, then that type's "shell\open\command", and
// builds the command line for `url` from it.
HtmlCommand FindHtmlCommand(const ClassesRootReader& readDefault, std::string_view url,
                            const LeadBytePredicate& isLeadByte);

}  // namespace corvelle
