// JFile (JbDb/JBas), the database of a user's own design: the AppInfo block
// names up to 50 fields and gives each a type and a column width; a record is
// a word per field giving its text's length with its zero byte, then the texts.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

class DatabaseModel;

constexpr unsigned kJFileMaxFields = 50;

struct JFileField {
    std::string_view name;  // up to 20 bytes
    uint16_t type = 0;      // 1 text, 2 check box, 4 date, 8 integer, 16 number, 32 time, others as stored
    uint16_t width = 0;     // of its column in the list, in pixels
};

struct JFileLayout {
    bool whole = false;        // the block holds the names, types, count and widths
    uint16_t storedCount = 0;  // as the block says; more than 50 are not read
    uint16_t version = 0;
    uint16_t dataWidth = 0;    // the width of the values in the record view
    std::vector<JFileField> fields;
};

JFileLayout ReadJFileLayout(const DatabaseModel& model);

// "text", "check box", "date", "integer", "number", "time"; null for another.
const char* JFileTypeWord(uint16_t type);

// The parts of a record, for its cut: the lengths, then the field texts.
enum class JFilePart : unsigned { kLengths, kFirstValue };

struct JFileRecord {
    std::vector<std::string_view> values;  // as far as the record holds them
    RecordCut cut;
};

// `fieldCount` values: a length word each, then the texts where the lengths
// put them, each up to its zero byte.
JFileRecord DecodeJFileRecord(const ByteSpan& record, size_t fieldCount);

}  // namespace corvelle
