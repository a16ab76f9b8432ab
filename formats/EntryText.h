// The text of entries, for the Records page and `corvelle-dump --records` /
// `--record N` alike, so that the command line is the page's oracle:
//   - the list's columns and cells (one row per entry),
//   - an entry's decoded fields, a blank line and its bytes as `hexdump -v -C`
//     would show them.
// Lines end in LF; bytes of the file's texts are written as they are. The
// contents and fields come from the database's format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dump/HexDump.h"
#include "formats/FormatTable.h"

namespace corvelle {

enum class ColumnId { kIndex, kOffset, kSize, kAttributes, kCategory, kUniqueId, kType, kId, kContents };

// One column of the list, in both layouts: its title, and a cell's usual
// widest text, so that the list can size it without measuring every row
// (null for the contents, which takes what is left).
struct EntryColumn {
    ColumnId id;
    const char* title;
    const char* widestSample;
};

// Record databases: #, offset, size, attributes, category, unique ID, contents.
// Resource databases: #, offset, size, type, ID, contents.
size_t ColumnCount(const DatabaseModel& model);
// Column `column` (below ColumnCount).
const EntryColumn& ColumnAt(const DatabaseModel& model, size_t column);
const char* ColumnTitle(const DatabaseModel& model, size_t column);

// One cell of entry `index`, appended to `out` (which is not cleared): the
// list asks for one cell at a time. Line breaks and TABs inside a text
// become spaces, so that a row stays one line.
void AppendCell(const DecodedDatabase& database, size_t index, size_t column, std::string& out);
void AppendCellOf(const DecodedDatabase& database, size_t index, ColumnId id, std::string& out);

// The header line and one entry's line, cells joined by TAB, each ending in LF.
void AppendHeaderLine(const DatabaseModel& model, std::string& out);
void AppendEntryLine(const DecodedDatabase& database, size_t index, std::string& out);

// How many of the announced entries the file holds, as a sentence
// ("The file holds 12 of 12 announced records."), or where a file cut inside
// its header ends.
std::string EntryCountText(const DatabaseModel& model);

// An entry's decoded fields, one "Label:\tvalue" line each (LF), with the
// line that says where a cut record stops. What the search looks through.
std::string EntryFieldsText(const DecodedDatabase& database, size_t index);
// The same for one entry alone: opens the database's format for it.
std::string EntryFieldsText(const DatabaseModel& model, size_t index);

// The whole of `--record N`: the fields, an empty line and the hex dump with
// its closing length line. With hexLimit below the entry's size, the dump
// ends after that many bytes with a line saying how many bytes remain and
// that `corvelle-dump --record N` prints them.
std::string EntryText(const DecodedDatabase& database, size_t index, uint64_t hexLimit = UINT64_MAX);
std::string EntryText(const DatabaseModel& model, size_t index, uint64_t hexLimit = UINT64_MAX);

}  // namespace corvelle
