// corvelle-dump's --help. Which databases each export takes and which have
// their fields decoded are asked of the table of formats and the list of
// exports, so that the help names whatever the program reads and writes.
#pragma once

#include <string>

namespace corvelle_dump {

// The whole help: the command forms, the options and the exit status.
std::string UsageText();
// The lines of the options that go with --export.
std::string ExportUsage();

}  // namespace corvelle_dump
