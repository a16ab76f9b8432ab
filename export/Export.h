// Getting the data out: a database's decoded records in the formats that
// today's programs read. One writer per format, each over the same decoded
// records; all text is converted from the device's code page to UTF-8.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ExportType.h"
#include "formats/FormatTable.h"

namespace corvelle {

// "vcard", "ics", "text", "csv", "mbox", "json", "raw", "images".
const char* ExportTypeName(ExportType type);
bool ParseExportType(std::string_view name, ExportType& type);
// The usual file extension, without the dot: "vcf", "ics", "txt", "csv", "json";
// empty for raw, which writes a folder.
const char* ExportFileExtension(ExportType type);
// What a person calls it: "vCard", "iCalendar", "text", "CSV", "mbox", "JSON",
// "raw", "image files".
const char* ExportTypeTitle(ExportType type);

// Whether the export writes a folder of files rather than one file: raw and
// images.
bool ExportWritesFolder(ExportType type);

// Every export, in the order above.
std::vector<ExportType> AllExportTypes();

// The exports that fit this database, in the order above.
std::vector<ExportType> ExportTypesFor(const DecodedDatabase& database);
std::vector<ExportType> ExportTypesFor(const DatabaseModel& model);

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

// Writes an export other than raw into `out`, as UTF-8 (vcard
// and ics with CR LF line ends, text with the memos' own LF). False, with one
// line of reason in `error` (naming the exports that fit, for one that does
// not; naming the known code pages, for an unknown encoding), when it
// cannot be made; `out` is then empty. Throws nothing but std::bad_alloc.
bool ExportToText(const DecodedDatabase& database, ExportType type, const ExportOptions& options, std::string& out,
                  std::string& error);
// The same, opening the database's format for this one export.
bool ExportToText(const DatabaseModel& model, ExportType type, const ExportOptions& options, std::string& out,
                  std::string& error);

// Where an export's bytes go as they are made; false when they could not be
// written, which stops the export.
using ExportOutput = std::function<bool(std::string_view piece)>;
// The most an ExportOutput is handed at once. A document's text is passed on
// whenever this much is ready, so that a book of megabytes is never held
// whole (its pages would only be touched once, to be written away).
constexpr size_t kExportPieceSize = 64 * 1024;

// The bytes of ExportToText, handed to `write` in order as they are made.
// False, with `error`, when the export cannot be made (then nothing was
// handed to `write`) or when `write` failed (error "cannot write": the
// export stopped there, and what was written is not whole).
bool ExportToOutput(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                    const ExportOutput& write, std::string& error);

// Where an export of a folder of files puts each file: its name (UTF-8, no
// folder; unique within the export) and its whole bytes. False when it could
// not be written, which stops the export.
using ExportFileOutput = std::function<bool(const std::string& name, std::string_view bytes)>;

// Writes the images export: every picture of the database's live entries (a
// photo, a Note Pad drawing, a bitmap resource) as a file of its own, named by
// its entry's index and title ("00003 Lunch.png"). False with `error` when the
// export does not fit the database or `write` failed ("cannot write").
bool ExportToFiles(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                   const ExportFileOutput& write, std::string& error);

// An image file's name without its extension: the entry's index in five
// digits, then its title, where it has one, with what no file system takes
// in a name as "_" and its last dots and spaces gone, at most 60 bytes of it.
std::string FileNameOf(size_t index, std::string_view utf8Title);

}  // namespace corvelle
