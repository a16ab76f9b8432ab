// corvelle-dump --export FORMAT [--encoding NAME] [--data] [-o OUT] FILE
#pragma once

namespace corvelle_dump {

// The lines of --help that describe --export: a literal, so that the main
// usage text can take it in as it is.
#define CORVELLE_EXPORT_USAGE \
    "  --export FORMAT  write FILE's records in FORMAT to standard output or to OUT:\n" \
    "                   vcard (Address), ics (Date Book, To Do), text (Memo, any book),\n" \
    "                   csv (Expense, JFile), mbox (Mail),\n" \
    "                   json (any database: header, AppInfo and every entry's fields),\n" \
    "                   raw (any database, with -o DIR: one file per entry),\n" \
    "                   images (Note Pad, Photos, bitmaps, with -o DIR: each picture a file)\n" \
    "  --encoding NAME  the device's code page: cp1252 (the default), cp1250, cp1251,\n" \
    "                   cp1253, shift_jis or big5; everything is written as UTF-8\n" \
    "  --data           json: each entry's bytes as hex too\n" \
    "  -o OUT           the file to write (a folder for raw); written whole or not at all\n"

// Exit status: 0 written; 1 when FILE did not open, FORMAT does not fit it,
// NAME is no known code page or OUT cannot be written (one line on standard
// error, and no OUT left behind); 2 on a usage error.
int ExportCommand(int argc, char** argv);

}  // namespace corvelle_dump
