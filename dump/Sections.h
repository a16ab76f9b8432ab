// The three sections of the report. Each reads the database through its own
// ByteReader over the same bytes and appends its lines to the report.
#pragma once

#include <cstdint>

#include "dump/ReportText.h"

namespace corvelle {

struct FileBytes {
    const uint8_t* data;
    uint32_t size;
};

// Returns false when the file ends inside the header: the later sections
// depend on header fields that are then missing, so the report stops there.
bool AppendHeaderSection(ReportText& report, const FileBytes& file);

// The category block or PQA header, or nothing when the database has no
// AppInfo block inside the file.
void AppendAppInfoSection(ReportText& report, const FileBytes& file);

// The record or resource list.
void AppendEntryList(ReportText& report, const FileBytes& file);

// The line that says plainly where a structure is cut short by the end of
// the file, e.g. "the header is cut short".
void AppendFileEnds(ReportText& report, const FileBytes& file, const char* whatIsCut);

}  // namespace corvelle
