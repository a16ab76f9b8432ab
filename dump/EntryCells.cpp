// The list's columns and cells. Cells are appended into the caller's buffer
// without a heap allocation of their own for the common formats, so that
// `--records` of 65535 entries and the list's drawing stay cheap.
#include <cstring>
#include <iterator>
#include <string_view>

#include "dump/EntryFormat.h"
#include "dump/EntryKind.h"
#include "dump/PalmBitmap.h"
#include "dump/TextAppend.h"
#include "dump/records/AddressRecord.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/MemoRecord.h"
#include "dump/records/PalmDocRecord.h"
#include "dump/records/ResourceContent.h"
#include "dump/records/ToDoRecord.h"

namespace corvelle {
namespace {

constexpr size_t kCellLimit = 80;   // a contents cell is cut after this many bytes
constexpr size_t kBytesShown = 48;  // the contents of an entry without a format

const char* const kRecordColumns[] = {"#", "offset", "size", "attributes", "category", "unique ID", "contents"};
const char* const kResourceColumns[] = {"#", "offset", "size", "type", "ID", "contents"};
constexpr size_t kRecordContents = 6;
constexpr size_t kResourceContents = 5;

// A contents cell: every byte below 20h becomes a space, and the cell ends
// after kCellLimit bytes.
class CellWriter {
public:
    explicit CellWriter(std::string& out) : m_out(out) {}
    void Add(std::string_view text) {
        const size_t count = text.size() < m_room ? text.size() : m_room;
        const size_t start = m_out.size();
        m_out.append(text.data(), count);
        for (size_t i = start; i < m_out.size(); ++i)
            if (static_cast<unsigned char>(m_out[i]) < 0x20) m_out[i] = ' ';
        m_room -= count;
    }
    // Counts text the caller appended itself (short, and without control bytes).
    void Took(size_t count) { m_room -= count < m_room ? count : m_room; }

private:
    std::string& m_out;
    size_t m_room = kCellLimit;
};

void AppendDocSummary(std::string& out, const PalmDocHeader& header) {
    out += "PalmDOC: ";
    AppendDecimal(out, header.textLength);
    out += " bytes in ";
    AppendDecimal(out, header.textRecords);
    out += " records, ";
    if (header.compression == kPalmDocCompressed) {
        out += "compressed";
    } else if (header.compression == kPalmDocUncompressed) {
        out += "uncompressed";
    } else {
        out += "compression ";
        AppendDecimal(out, header.compression);
    }
}

void AppendContents(const DatabaseModel& model, size_t index, std::string& out) {
    const ByteSpan data = model.Data(index);
    CellWriter cell(out);
    switch (KindOf(model, index)) {
        case EntryKind::kNoData:
            out += "(outside the file)";
            return;
        case EntryKind::kBytes: {
            const size_t count = data.size < kBytesShown ? static_cast<size_t>(data.size) : kBytesShown;
            char shown[kBytesShown];
            for (size_t i = 0; i < count; ++i)
                shown[i] = data.data[i] >= 0x20 && data.data[i] <= 0x7E ? static_cast<char>(data.data[i]) : '.';
            out.append(shown, count);
            return;
        }
        case EntryKind::kMemo:
            cell.Add(DecodeMemo(data).text);
            return;
        case EntryKind::kToDo:
            cell.Add(DecodeToDo(data).description);
            return;
        case EntryKind::kAddress: {
            const AddressRecord address = DecodeAddress(data);
            const std::string_view last = address.field[kLastName], first = address.field[kFirstName];
            if (!last.empty() && !first.empty()) {
                cell.Add(last);
                cell.Add(", ");
                cell.Add(first);
            } else if (!last.empty()) {
                cell.Add(last);
            } else if (!first.empty()) {
                cell.Add(first);
            } else {
                cell.Add(address.field[kCompany]);
            }
            return;
        }
        case EntryKind::kDateBook: {
            const DateBookRecord event = DecodeDateBook(data);
            // The date and time are ours and short: written straight into the cell.
            const size_t start = out.size();
            AppendDate(out, event.date);
            if (event.Timed()) {
                out.push_back(' ');
                AppendTime(out, event.startHour, event.startMinute);
            }
            out.push_back(' ');
            cell.Took(out.size() - start);
            cell.Add(event.description);
            return;
        }
        case EntryKind::kDocHeader: {
            std::string summary;
            AppendDocSummary(summary, DecodePalmDocHeader(data));
            cell.Add(summary);
            return;
        }
        case EntryKind::kDocText:
            cell.Add(DecodePalmDocText(data, DocHeaderOf(model).compression, kCellLimit).text);
            return;
        case EntryKind::kString:
            cell.Add(DecodeStringResource(data).text);
            return;
        case EntryKind::kBitmap: {
            std::string text = "bitmap";
            for (const BitmapRendition& r : ListRenditions(data.data, data.size)) {
                text.push_back(' ');
                AppendDecimal(text, r.width);
                text.push_back('x');
                AppendDecimal(text, r.height);
                text.push_back('x');
                AppendDecimal(text, r.depth);
            }
            cell.Add(text);
            return;
        }
    }
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
char* PutFixedCell(const DatabaseModel& model, size_t index, size_t column, char* p) {
    const ModelEntry& entry = model.Entry(index);
    switch (column) {
        case 0: return PutDecimal(p, index);
        case 1:
            p = PutHex(p, entry.offset, 8);
            *p++ = 'h';
            return p;
        case 2:
            if (!entry.hasData) {
                *p++ = '?';
                return p;
            }
            return PutDecimal(p, uint64_t{entry.dataEnd} - entry.offset);
        default: break;
    }
    if (model.HoldsResources()) {
        switch (column) {
            case 3:
                for (uint8_t byte : entry.type.bytes)
                    *p++ = byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
                return p;
            case 4: return PutDecimal(p, entry.id);
            default: return p;
        }
    }
    switch (column) {
        case 3: return PutAttributes(p, entry.attributes);
        case 4: return PutCategory(p, model, entry.attributes);
        case 5:
            for (uint8_t byte : entry.uniqueId) p = PutHex(p, byte, 2);
            *p++ = 'h';
            return p;
        default: return p;
    }
}

size_t ContentsColumn(const DatabaseModel& model) {
    return model.HoldsResources() ? kResourceContents : kRecordContents;
}

}  // namespace

size_t ColumnCount(const DatabaseModel& model) {
    return model.HoldsResources() ? std::size(kResourceColumns) : std::size(kRecordColumns);
}

const char* ColumnTitle(const DatabaseModel& model, size_t column) {
    if (column >= ColumnCount(model)) return "";
    return model.HoldsResources() ? kResourceColumns[column] : kRecordColumns[column];
}

void AppendCell(const DatabaseModel& model, size_t index, size_t column, std::string& out) {
    if (index >= model.Count() || column >= ColumnCount(model)) return;
    if (column == ContentsColumn(model)) {
        AppendContents(model, index, out);
        return;
    }
    char cell[kFixedCellsMax];
    out.append(cell, static_cast<size_t>(PutFixedCell(model, index, column, cell) - cell));
}

void AppendHeaderLine(const DatabaseModel& model, std::string& out) {
    const size_t columns = ColumnCount(model);
    for (size_t column = 0; column < columns; ++column) {
        if (column != 0) out.push_back('\t');
        out += ColumnTitle(model, column);
    }
    out.push_back('\n');
}

void AppendEntryLine(const DatabaseModel& model, size_t index, std::string& out) {
    if (index >= model.Count()) return;
    const size_t contents = ContentsColumn(model);
    char cells[kFixedCellsMax];
    char* p = cells;
    for (size_t column = 0; column < contents; ++column) {
        p = PutFixedCell(model, index, column, p);
        *p++ = '\t';
    }
    out.append(cells, static_cast<size_t>(p - cells));
    AppendContents(model, index, out);
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
