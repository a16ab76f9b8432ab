// Getting the data out: a database's decoded records in the formats that
// today's programs read. One writer per format, each over the same decoded
// records; all text is converted from the device's code page to UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dump/DatabaseModel.h"

namespace corvelle {

enum class ExportFormat { kVCard, kICalendar, kText, kJson, kRaw };

// "vcard", "ics", "text", "json", "raw".
const char* ExportFormatName(ExportFormat format);
bool ParseExportFormat(std::string_view name, ExportFormat& format);
// The usual file extension, without the dot: "vcf", "ics", "txt", "json";
// empty for raw, which writes a folder.
const char* ExportFileExtension(ExportFormat format);

// The formats that fit this database, in the order above.
std::vector<ExportFormat> ExportFormatsFor(const DatabaseModel& model);

struct ExportOptions {
    std::string encoding = "cp1252";  // the device's code page
    bool withData = false;            // json: each entry's bytes as hex
    // Only these entry indexes, in this order; all entries when null. Indexes
    // past the model are skipped; deleted and expunged records stay out of
    // vcard, ics and text even when selected. For PalmDOC, record 0 (the
    // header) is read for the compression whether selected or not.
    const std::vector<size_t>* selection = nullptr;
    // When given, one line for each thing the export had to leave out or cut
    // (an appointment on a date no calendar has, a document text stopped by a
    // bad reference), for the caller to show.
    std::vector<std::string>* warnings = nullptr;
};

// Writes the export of a format other than raw into `out`, as UTF-8 (vcard
// and ics with CR LF line ends, text with the memos' own LF). False, with one
// line of reason in `error` (naming the formats that fit, for a format that
// does not; naming the known code pages, for an unknown encoding), when it
// cannot be made; `out` is then empty. Throws nothing but std::bad_alloc.
bool ExportToText(const DatabaseModel& model, ExportFormat format, const ExportOptions& options, std::string& out,
                  std::string& error);

}  // namespace corvelle
