#include "cli/UsageText.h"

#include <vector>

#include "standards/CodePage.h"
#include "export/Export.h"
#include "formats/FormatTable.h"

namespace corvelle_dump {
namespace {

// The help is read in a terminal of 80 columns; descriptions start after
// the widest option.
constexpr size_t kWidth = 80;
constexpr size_t kColumn = 19;

// One option: its name padded to the column, then its description in
// words, wrapped under the column.
std::string Option(const std::string& name, const std::string& description) {
    std::string out = "  " + name;
    out.resize(kColumn, ' ');
    size_t lineStart = 0;
    for (size_t at = 0; at < description.size();) {
        size_t end = description.find(' ', at);
        if (end == std::string::npos) end = description.size();
        const bool first = out.size() - lineStart == kColumn;
        if (!first && out.size() - lineStart + 1 + (end - at) > kWidth) {
            out += '\n';
            lineStart = out.size();
            out.append(kColumn, ' ');
        } else if (!first) {
            out += ' ';
        }
        out.append(description, at, end - at);
        at = end + 1;
    }
    return out + '\n';
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

// "vcard (Address, Contacts), ics (Date Book, To Do, Calendar, Tasks), ..."
std::string Exports() {
    std::vector<std::string> exports;
    for (corvelle::ExportType type : corvelle::AllExportTypes()) {
        std::vector<std::string> takers;
        if (corvelle::FormatFeeds(nullptr, type)) {
            takers.push_back("any database");
        } else {
            for (const corvelle::Format* format : corvelle::AllFormats())
                if (corvelle::FormatFeeds(format, type)) takers.push_back(format->title);
        }
        exports.push_back(std::string(corvelle::ExportTypeName(type)) + " (" + Joined(takers) + ")");
    }
    return Joined(exports);
}

std::string DecodedFormats() {
    std::vector<std::string> titles;
    for (const corvelle::Format* format : corvelle::AllFormats()) titles.push_back(format->title);
    return Joined(titles);
}

}  // namespace

std::string ExportUsage() {
    return Option("--export FORMAT", "write FILE's records in FORMAT to standard output or to OUT: " + Exports()) +
           Option("--encoding NAME",
                  "the device's code page: " + corvelle::CodePageNames() +
                      "; cp1252 by default. --export writes UTF-8 always; the report, --records and --record write "
                      "it when NAME is given, else the file's bytes as they are") +
           Option("--data", "json: each entry's bytes as hex too") +
           Option("-o OUT", "the file to write (a folder for raw: one file per entry; for images: one file per "
                                     "picture); written whole or not at all");
}

std::string UsageText() {
    return "Usage: corvelle-dump [--encoding NAME] FILE...\n"
           "       corvelle-dump --icon OUT.ppm [--rendition N] FILE\n"
           "       corvelle-dump --records [--encoding NAME] FILE\n"
           "       corvelle-dump --record N [--encoding NAME] FILE\n"
           "       corvelle-dump --export FORMAT [--encoding NAME] [--data] [-o OUT] FILE\n"
           "Writes the report of each Palm OS database (.pdb, .prc, .pqa) to standard output,\n"
           "the launcher icon of an application as a binary PPM image, or the database's\n"
           "records or resources with what they hold.\n"
           "\n" +
           Option("--icon OUT.ppm", "write FILE's launcher icon (transparent pixels in their own colour)") +
           Option("--rendition N",
                  "the Nth rendition of the icon, counted from 1 in file order; without it, the finest (highest "
                  "density, then highest depth)") +
           Option("--records",
                  "one line per record or resource, cells separated by TAB: index, offset, size, attributes, "
                  "category and unique ID (type and ID for a resource), and its contents; then how many of the "
                  "announced entries the file holds (LF line ends)") +
           Option("--record N",
                  "entry N (from 0) whole: its cells, its decoded fields and its bytes as hexdump -C shows them. "
                  "Fields are decoded for these databases: " + DecodedFormats()) +
           ExportUsage() + Option("--help", "show this help and exit") +
           Option("--version", "show the version and exit") +
           "\n"
           "Exit status: 0 when every file was dumped, 1 when one could not be opened,\n"
           "was empty or could not be mapped (the others are still dumped), or when FILE has\n"
           "no icon or no such rendition, or has no entry N, or when --export's FORMAT does\n"
           "not fit FILE, NAME is unknown or OUT cannot be written; 2 on a usage error.\n";
}

}  // namespace corvelle_dump
