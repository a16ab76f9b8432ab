// corvelle-dump --export FORMAT [--encoding NAME] [--data] [-o OUT] FILE
#pragma once

namespace corvelle_dump {

// Exit status: 0 written; 1 when FILE did not open, FORMAT does not fit it,
// NAME is no known code page or OUT cannot be written (one line on standard
// error, and no OUT left behind); 2 on a usage error.
int ExportCommand(int argc, char** argv);

}  // namespace corvelle_dump
