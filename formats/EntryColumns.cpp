// The list's columns and cells. Cells are appended into the caller's buffer
// without a heap allocation of their own for the common formats, so that
// `--records` of 65535 entries and the list's drawing stay cheap.
#include <cstring>
#include <iterator>
#include <string_view>

#include "dump/TextAppend.h"
#include "formats/ContentsCell.h"
#include "formats/EntryText.h"

namespace corvelle {
namespace {

constexpr size_t kBytesShown = 48;  // the contents of an entry without a format

const EntryColumn kRecordColumns[] = {
    {ColumnId::kIndex, "#", "65535"},
    {ColumnId::kOffset, "offset", "00000000h"},
    {ColumnId::kSize, "size", "000000"},
    {ColumnId::kAttributes, "attributes", "expunged, deleted, archive"},
    {ColumnId::kCategory, "category", "15 (Unfiled)"},
    {ColumnId::kUniqueId, "unique ID", "FFFFFFh"},
    {ColumnId::kContents, "contents", nullptr},
};
const EntryColumn kResourceColumns[] = {
    {ColumnId::kIndex, "#", "65535"},       {ColumnId::kOffset, "offset", "00000000h"},
    {ColumnId::kSize, "size", "000000"},    {ColumnId::kType, "type", "tAIB"},
    {ColumnId::kId, "ID", "65535"},         {ColumnId::kContents, "contents", nullptr},
};

void AppendContents(const DecodedDatabase& database, size_t index, std::string& out) {
    const DatabaseModel& model = database.Model();
    if (!model.Entry(index).hasData) {
        out += "(outside the file)";
        return;
    }
    if (database.Decodes(index)) {
        ContentsCell cell(out);
        database.Reader().AppendContents(index, cell);
        return;
    }
    const ByteSpan data = model.Data(index);
    const size_t count = data.size < kBytesShown ? static_cast<size_t>(data.size) : kBytesShown;
    char shown[kBytesShown];
    for (size_t i = 0; i < count; ++i)
        shown[i] = data.data[i] >= 0x20 && data.data[i] <= 0x7E ? static_cast<char>(data.data[i]) : '.';
    out.append(shown, count);
}

// The cells other than the contents are short and ours: they are put down in
// a buffer on the stack and appended to the caller's text in one piece.
constexpr size_t kFixedCellsMax = 160;  // every cell but the contents of one row, TABs included

char* PutText(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

char* PutDecimal(char* p, uint64_t value) {
    char digits[24];
    char* d = digits + sizeof digits;
    do {
        *--d = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return PutText(p, std::string_view(d, static_cast<size_t>(digits + sizeof digits - d)));
}

char* PutHex(char* p, uint32_t value, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i) {
        p[i] = kHex[value & 0x0F];
        value >>= 4;
    }
    return p + digits;
}

char* PutAttributes(char* p, uint8_t attributes) {
    using namespace record_flags;
    const bool gone = (attributes & (kExpunged | kDeleted)) != 0;
    const struct {
        uint8_t bit;
        std::string_view word;
        bool shown;
    } kWords[] = {{kExpunged, "expunged", true},
                  {kDirty, "dirty", true},
                  {kDeleted, "deleted", true},
                  {kPrivate, "private", true},
                  {kArchive, "archive", gone}};
    bool first = true;
    for (const auto& word : kWords) {
        if (!word.shown || (attributes & word.bit) == 0) continue;
        if (!first) p = PutText(p, ", ");
        p = PutText(p, word.word);
        first = false;
    }
    return p;
}

char* PutCategory(char* p, const DatabaseModel& model, uint8_t attributes) {
    if (attributes & (record_flags::kExpunged | record_flags::kDeleted)) return p;
    const unsigned category = attributes & 0x0F;
    p = PutDecimal(p, category);
    const std::string_view label = model.CategoryLabel(category);  // at most 16 bytes
    if (label.empty()) return p;
    p = PutText(p, " (");
    for (char c : label) *p++ = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    *p++ = ')';
    return p;
}

// One cell other than the contents.
char* PutFixedCell(const DatabaseModel& model, size_t index, ColumnId id, char* p) {
    const ModelEntry& entry = model.Entry(index);
    switch (id) {
        case ColumnId::kIndex: return PutDecimal(p, index);
        case ColumnId::kOffset:
            p = PutHex(p, entry.offset, 8);
            *p++ = 'h';
            return p;
        case ColumnId::kSize:
            if (!entry.hasData) {
                *p++ = '?';
                return p;
            }
            return PutDecimal(p, uint64_t{entry.dataEnd} - entry.offset);
        case ColumnId::kType:
            for (uint8_t byte : entry.type.bytes) *p++ = byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
            return p;
        case ColumnId::kId: return PutDecimal(p, entry.id);
        case ColumnId::kAttributes: return PutAttributes(p, entry.attributes);
        case ColumnId::kCategory: return PutCategory(p, model, entry.attributes);
        case ColumnId::kUniqueId:
            for (uint8_t byte : entry.uniqueId) p = PutHex(p, byte, 2);
            *p++ = 'h';
            return p;
        case ColumnId::kContents: return p;
    }
    return p;
}

}  // namespace

size_t ColumnCount(const DatabaseModel& model) {
    return model.HoldsResources() ? std::size(kResourceColumns) : std::size(kRecordColumns);
}

const EntryColumn& ColumnAt(const DatabaseModel& model, size_t column) {
    return model.HoldsResources() ? kResourceColumns[column] : kRecordColumns[column];
}

const char* ColumnTitle(const DatabaseModel& model, size_t column) {
    return column < ColumnCount(model) ? ColumnAt(model, column).title : "";
}

void AppendCellOf(const DecodedDatabase& database, size_t index, ColumnId id, std::string& out) {
    if (index >= database.Model().Count()) return;
    if (id == ColumnId::kContents) {
        AppendContents(database, index, out);
        return;
    }
    char cell[kFixedCellsMax];
    out.append(cell, static_cast<size_t>(PutFixedCell(database.Model(), index, id, cell) - cell));
}

void AppendCell(const DecodedDatabase& database, size_t index, size_t column, std::string& out) {
    if (column < ColumnCount(database.Model())) AppendCellOf(database, index, ColumnAt(database.Model(), column).id, out);
}

void AppendHeaderLine(const DatabaseModel& model, std::string& out) {
    const size_t columns = ColumnCount(model);
    for (size_t column = 0; column < columns; ++column) {
        if (column != 0) out.push_back('\t');
        out += ColumnTitle(model, column);
    }
    out.push_back('\n');
}

void AppendEntryLine(const DecodedDatabase& database, size_t index, std::string& out) {
    const DatabaseModel& model = database.Model();
    if (index >= model.Count()) return;
    const size_t columns = ColumnCount(model);
    char cells[kFixedCellsMax];
    char* p = cells;
    // The contents come last, and only they are long.
    for (size_t column = 0; column + 1 < columns; ++column) {
        p = PutFixedCell(model, index, ColumnAt(model, column).id, p);
        *p++ = '\t';
    }
    out.append(cells, static_cast<size_t>(p - cells));
    AppendContents(database, index, out);
    out.push_back('\n');
}

std::string EntryCountText(const DatabaseModel& model) {
    const uint32_t announced = model.AnnouncedCount();
    if (!model.HeaderWhole()) {
        std::string text = "The file ends at byte ";
        AppendDecimal(text, model.Size());
        return text + ", inside its header: it announces no entries.";
    }
    std::string text = "The file holds ";
    AppendDecimal(text, model.Count());
    text += " of ";
    AppendDecimal(text, announced);
    text += " announced ";
    if (model.HoldsResources())
        text += announced == 1 ? "resource." : "resources.";
    else
        text += announced == 1 ? "record." : "records.";
    return text;
}

}  // namespace corvelle
