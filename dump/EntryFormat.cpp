// The cells and texts of entries. Cells are appended into the caller's
// buffer without a heap allocation of their own for the common formats, so
// that `--records` of 65535 entries and the list's drawing stay cheap.
#include "dump/EntryFormat.h"

#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string_view>

#include "dump/PalmBitmap.h"
#include "dump/PalmBitmapLayout.h"
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

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// What one entry holds, by the database's format and the entry's place.
enum class Kind { kNoData, kBytes, kMemo, kToDo, kAddress, kDateBook, kDocHeader, kDocText, kString, kBitmap };

void AppendDecimal(std::string& out, uint64_t value) {
    char digits[24];
    char* p = digits + sizeof digits;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(p, static_cast<size_t>(digits + sizeof digits - p));
}

void AppendSigned(std::string& out, int64_t value) {
    if (value < 0) {
        out.push_back('-');
        AppendDecimal(out, static_cast<uint64_t>(-value));
    } else {
        AppendDecimal(out, static_cast<uint64_t>(value));
    }
}

void AppendTwoDigits(std::string& out, unsigned value) {
    if (value >= 100) {
        AppendDecimal(out, value);
        return;
    }
    out.push_back(static_cast<char>('0' + value / 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

void AppendDate(std::string& out, PackedDate date) {
    if (date.IsNone()) {
        out += "none";
        return;
    }
    AppendDecimal(out, date.Year());
    out.push_back('-');
    AppendTwoDigits(out, date.Month());
    out.push_back('-');
    AppendTwoDigits(out, date.Day());
}

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

PalmDocHeader DocHeaderOf(const DatabaseModel& model) {
    if (model.Count() == 0 || !model.Entry(0).hasData) return PalmDocHeader{};
    return DecodePalmDocHeader(model.Data(0));
}

Kind KindOf(const DatabaseModel& model, size_t index) {
    const ModelEntry& entry = model.Entry(index);
    if (!entry.hasData) return Kind::kNoData;
    if (model.HoldsResources()) {
        switch (KindOfResource(entry.type)) {
            case ResourceKind::kString: return Kind::kString;
            case ResourceKind::kBitmap: return Kind::kBitmap;
            case ResourceKind::kOther: return Kind::kBytes;
        }
        return Kind::kBytes;
    }
    switch (model.Format()) {
        case DatabaseFormat::kMemo: return Kind::kMemo;
        case DatabaseFormat::kToDo: return Kind::kToDo;
        case DatabaseFormat::kAddress: return Kind::kAddress;
        case DatabaseFormat::kDateBook: return Kind::kDateBook;
        case DatabaseFormat::kPalmDoc:
            if (index == 0) return Kind::kDocHeader;
            return index <= DocHeaderOf(model).textRecords ? Kind::kDocText : Kind::kBytes;
        case DatabaseFormat::kOther: return Kind::kBytes;
    }
    return Kind::kBytes;
}

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

void AppendTime(std::string& out, uint8_t hour, uint8_t minute) {
    AppendTwoDigits(out, hour);
    out.push_back(':');
    AppendTwoDigits(out, minute);
}

void AppendContents(const DatabaseModel& model, size_t index, std::string& out) {
    const ByteSpan data = model.Data(index);
    CellWriter cell(out);
    switch (KindOf(model, index)) {
        case Kind::kNoData:
            out += "(outside the file)";
            return;
        case Kind::kBytes: {
            const size_t count = data.size < kBytesShown ? static_cast<size_t>(data.size) : kBytesShown;
            char shown[kBytesShown];
            for (size_t i = 0; i < count; ++i)
                shown[i] = data.data[i] >= 0x20 && data.data[i] <= 0x7E ? static_cast<char>(data.data[i]) : '.';
            out.append(shown, count);
            return;
        }
        case Kind::kMemo:
            cell.Add(DecodeMemo(data).text);
            return;
        case Kind::kToDo:
            cell.Add(DecodeToDo(data).description);
            return;
        case Kind::kAddress: {
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
        case Kind::kDateBook: {
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
        case Kind::kDocHeader: {
            std::string summary;
            AppendDocSummary(summary, DecodePalmDocHeader(data));
            cell.Add(summary);
            return;
        }
        case Kind::kDocText:
            cell.Add(DecodePalmDocText(data, DocHeaderOf(model).compression, kCellLimit).text);
            return;
        case Kind::kString:
            cell.Add(DecodeStringResource(data).text);
            return;
        case Kind::kBitmap: {
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
                for (uint8_t byte : entry.type.bytes) *p++ = byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
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

// One "Label:\tvalue" line; a value's line breaks go on after a TAB.
void AppendField(std::string& out, std::string_view label, std::string_view value) {
    out += label;
    out += ":\t";
    size_t start = 0;
    for (size_t at; (at = value.find('\n', start)) != std::string_view::npos; start = at + 1) {
        out.append(value.data() + start, at + 1 - start);
        out.push_back('\t');
    }
    out.append(value.data() + start, value.size() - start);
    out.push_back('\n');
}

void AppendCutLine(const DatabaseModel& model, const RecordCut& cut, std::string& out) {
    if (!cut.cut) return;
    out += model.HoldsResources() ? "The resource ends at byte " : "The record ends at byte ";
    AppendDecimal(out, cut.at);
    out += ", inside ";
    out += cut.inside;
    out += ".\n";
}

// How far the decoding of a record got, by the parts of its format in order:
// the parts before the one where the record is cut were read whole, that one
// (a text, or a list) in part, and those after it not at all.
class CutOrder {
public:
    CutOrder(const RecordCut& cut, std::initializer_list<const char*> parts) : m_rank(parts.size()) {
        if (!cut.cut) return;
        size_t rank = 0;
        for (const char* part : parts) {
            if (std::strcmp(part, cut.inside) == 0) {
                m_rank = rank;
                return;
            }
            ++rank;
        }
    }
    bool Whole(size_t part) const { return part < m_rank; }
    bool Begun(size_t part) const { return part <= m_rank; }

private:
    size_t m_rank;
};

std::string AlarmText(const DateBookRecord& event) {
    const int advance = event.alarmAdvance;
    std::string text;
    AppendSigned(text, advance);
    const bool one = advance == 1;
    switch (event.alarmUnit) {
        case 0: text += one ? " minute" : " minutes"; break;
        case 1: text += one ? " hour" : " hours"; break;
        case 2: text += one ? " day" : " days"; break;
        default:
            text += " (unit ";
            AppendDecimal(text, event.alarmUnit);
            text += ")";
    }
    text += " before";
    return text;
}

std::string RepeatText(const DateBookRepeat& repeat) {
    static const char* const kTypes[] = {nullptr, "daily", "weekly", "monthly by day", "monthly by date", "yearly"};
    std::string text;
    if (repeat.type >= 1 && repeat.type <= 5) {
        text = kTypes[repeat.type];
    } else {
        text = "type ";
        AppendDecimal(text, repeat.type);
    }
    text += ", every ";
    AppendDecimal(text, repeat.frequency);
    if (repeat.end.IsNone()) {
        text += ", no end";
    } else {
        text += ", until ";
        AppendDate(text, repeat.end);
    }
    if (repeat.type == static_cast<uint8_t>(RepeatType::kWeekly)) {
        text += ", on";
        for (unsigned day = 0; day < 7; ++day)
            if (repeat.repeatOn & (1u << day)) {
                text.push_back(' ');
                text += kWeekdays[day];
            }
    } else if (repeat.type == static_cast<uint8_t>(RepeatType::kMonthlyByDay)) {
        const unsigned week = repeat.repeatOn / 7;
        text += ", week ";
        if (week == 4)
            text += "last";
        else
            AppendDecimal(text, week + 1);
        text.push_back(' ');
        text += kWeekdays[repeat.repeatOn % 7];
    }
    return text;
}

void AppendDateBookFields(const DateBookRecord& event, std::string& out) {
    namespace flags = date_book_flags;
    const CutOrder read(event.cut, {"the time", "the date", "the flags", "the alarm", "the repeat", "the exceptions",
                                    "the description", "the note"});
    std::string value;
    if (read.Whole(1)) {
        AppendDate(value, event.date);
        AppendField(out, "Date", value);
    }
    if (read.Whole(0)) {
        value.clear();
        if (event.Timed()) {
            AppendTime(value, event.startHour, event.startMinute);
            value.push_back('-');
            AppendTime(value, event.endHour, event.endMinute);
        } else {
            value = "none";
        }
        AppendField(out, "Time", value);
    }
    if (event.Has(flags::kAlarm) && read.Whole(3)) AppendField(out, "Alarm", AlarmText(event));
    if (event.Has(flags::kRepeat) && read.Whole(4)) AppendField(out, "Repeat", RepeatText(event.repeat));
    if (event.Has(flags::kExceptions) && read.Begun(5)) {
        value.clear();
        for (size_t i = 0; i < event.exceptions.size(); ++i) {
            if (i != 0) value += ", ";
            AppendDate(value, event.exceptions[i]);
        }
        AppendField(out, "Exceptions", value);
    }
    if (event.Has(flags::kDescription) && read.Begun(6)) AppendField(out, "Description", event.description);
    if (event.Has(flags::kNote) && read.Begun(7)) AppendField(out, "Note", event.note);
}

const char* CompressionName(const BitmapRendition& r) {
    const bool compressed = (r.flags & bitmap::kCompressed) &&
                            !(r.version >= 2 && r.compression == bitmap::kNoCompression);
    if (!compressed) return "uncompressed";
    if (r.version < 2) return "scan-line compressed";
    switch (r.compression) {
        case bitmap::kScanLine: return "scan-line compressed";
        case bitmap::kRle: return "RLE compressed";
        case bitmap::kPackBits: return "PackBits compressed";
        default: return "unknown compression";
    }
}

void AppendBitmapFields(const ByteSpan& data, std::string& out) {
    std::string value;
    const std::vector<BitmapRendition> renditions = ListRenditions(data.data, data.size);
    for (size_t i = 0; i < renditions.size(); ++i) {
        const BitmapRendition& r = renditions[i];
        if (i != 0) value.push_back('\n');
        AppendDecimal(value, r.width);
        value.push_back('x');
        AppendDecimal(value, r.height);
        value += ", ";
        AppendDecimal(value, r.depth);
        value += r.depth == 1 ? " bit per pixel, density " : " bits per pixel, density ";
        AppendDecimal(value, r.density);
        value += ", ";
        value += CompressionName(r);
    }
    if (renditions.empty()) value = "no rendition";
    AppendField(out, "Bitmap", value);
}

std::string Number(uint64_t value) {
    std::string text;
    AppendDecimal(text, value);
    return text;
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

std::string EntryFieldsText(const DatabaseModel& model, size_t index) {
    std::string out;
    if (index >= model.Count()) return out;
    const ByteSpan data = model.Data(index);
    switch (KindOf(model, index)) {
        case Kind::kNoData:
        case Kind::kBytes:
            return out;
        case Kind::kMemo: {
            const MemoRecord memo = DecodeMemo(data);
            AppendField(out, "Memo", memo.text);
            AppendCutLine(model, memo.cut, out);
            return out;
        }
        case Kind::kToDo: {
            const ToDoRecord todo = DecodeToDo(data);
            const CutOrder read(todo.cut, {"the due date", "the priority", "the description", "the note"});
            std::string due;
            AppendDate(due, todo.due);
            if (read.Whole(0)) AppendField(out, "Due", due);
            if (read.Whole(1)) {
                AppendField(out, "Priority", Number(todo.priority));
                AppendField(out, "Completed", todo.completed ? "yes" : "no");
            }
            if (read.Begun(2)) AppendField(out, "Description", todo.description);
            if (!todo.note.empty()) AppendField(out, "Note", todo.note);
            AppendCutLine(model, todo.cut, out);
            return out;
        }
        case Kind::kAddress: {
            const AddressRecord address = DecodeAddress(data);
            const AddressLabels labels = ReadAddressLabels(model);
            for (unsigned field = 0; field < kAddressFieldCount; ++field) {
                if (!address.present[field]) continue;
                const std::string_view label = field >= kPhone1 && field <= kPhone5
                                                   ? PhoneLabel(labels, address.phoneLabel[field - kPhone1])
                                                   : std::string_view(labels.label[field]);
                AppendField(out, label, address.field[field]);
            }
            AppendCutLine(model, address.cut, out);
            return out;
        }
        case Kind::kDateBook: {
            const DateBookRecord event = DecodeDateBook(data);
            AppendDateBookFields(event, out);
            AppendCutLine(model, event.cut, out);
            return out;
        }
        case Kind::kDocHeader: {
            const PalmDocHeader header = DecodePalmDocHeader(data);
            const char* compression = header.compression == kPalmDocUncompressed ? "none"
                                      : header.compression == kPalmDocCompressed ? "PalmDOC"
                                                                                  : nullptr;
            const CutOrder read(header.cut, {"the compression", "the spare bytes", "the text length",
                                             "the text record count", "the record size", "the position"});
            if (read.Whole(0))
                AppendField(out, "Compression", compression != nullptr ? compression : Number(header.compression));
            if (read.Whole(2)) AppendField(out, "Text length", Number(header.textLength));
            if (read.Whole(3)) AppendField(out, "Text records", Number(header.textRecords));
            if (read.Whole(4)) AppendField(out, "Record size", Number(header.recordSize));
            if (read.Whole(5)) AppendField(out, "Position", Number(header.position));
            AppendCutLine(model, header.cut, out);
            return out;
        }
        case Kind::kDocText: {
            const PalmDocText text = DecodePalmDocText(data, DocHeaderOf(model).compression);
            AppendField(out, "Text", text.text);
            AppendCutLine(model, text.cut, out);
            if (text.badReference) {
                out += "The text stops at byte ";
                AppendDecimal(out, text.stoppedAt);
                out += " of the record: a back-reference there reaches before the start of the text.\n";
            }
            return out;
        }
        case Kind::kString: {
            const StringResource string = DecodeStringResource(data);
            AppendField(out, "String", string.text);
            AppendCutLine(model, string.cut, out);
            return out;
        }
        case Kind::kBitmap:
            AppendBitmapFields(data, out);
            return out;
    }
    return out;
}

std::string EntryText(const DatabaseModel& model, size_t index, uint64_t hexLimit) {
    std::string out;
    if (index >= model.Count()) return out;
    const ModelEntry& entry = model.Entry(index);
    const bool resources = model.HoldsResources();
    out += resources ? "Resource " : "Record ";
    AppendDecimal(out, index);
    out += ": offset ";
    AppendCell(model, index, 1, out);
    if (entry.hasData) {
        out += ", ";
        AppendCell(model, index, 2, out);
        out += " bytes\n";
    } else {
        out += ", no data (outside the file)\n";
    }
    const auto line = [&](const char* label, size_t column) {
        out += label;
        out += ":\t";
        AppendCell(model, index, column, out);
        out.push_back('\n');
    };
    if (resources) {
        line("Type", 3);
        line("ID", 4);
    } else {
        line("Attributes", 3);
        line("Category", 4);
        line("Unique ID", 5);
    }
    const Kind kind = KindOf(model, index);
    if (kind != Kind::kNoData && kind != Kind::kBytes) {
        out.push_back('\n');
        out += EntryFieldsText(model, index);
    }
    out.push_back('\n');
    const ByteSpan data = model.Data(index);
    if (data.size <= hexLimit) {
        AppendHexDump(data.data, data.size, out);
    } else {
        std::string dump;
        AppendHexDump(data.data, hexLimit, dump);
        // Without the closing length line: the dump does not end there.
        const size_t last = dump.rfind('\n', dump.size() >= 2 ? dump.size() - 2 : 0);
        dump.resize(last == std::string::npos ? 0 : last + 1);
        out += dump;
        out += "... ";
        AppendDecimal(out, data.size - hexLimit);
        out += " more bytes: corvelle-dump --record ";
        AppendDecimal(out, index);
        out += " prints them.\n";
    }
    return out;
}

void AppendHexDump(const uint8_t* data, uint64_t size, std::string& out) {
    if (data == nullptr || size == 0) return;  // hexdump prints nothing for no bytes
    static const char kDigits[] = "0123456789abcdef";
    constexpr size_t kLineBytes = 79;  // "00000000  " + 16 x "xx " + 2 spaces + "|" + 16 + "|" + LF
    out.reserve(out.size() + static_cast<size_t>((size + 15) / 16) * kLineBytes + 10);
    char line[kLineBytes + 8];
    for (uint64_t at = 0; at < size; at += 16) {
        const size_t count = size - at < 16 ? static_cast<size_t>(size - at) : 16;
        std::memset(line, ' ', sizeof line);
        uint32_t offset = static_cast<uint32_t>(at);
        for (int i = 7; i >= 0; --i, offset >>= 4) line[i] = kDigits[offset & 0x0F];
        // Bytes start at column 10; the second group of eight one column later.
        for (size_t i = 0; i < count; ++i) {
            const size_t column = 10 + 3 * i + (i >= 8 ? 1 : 0);
            line[column] = kDigits[data[at + i] >> 4];
            line[column + 1] = kDigits[data[at + i] & 0x0F];
        }
        size_t end = 10 + 3 * 16 + 2;  // past the hex columns and the two spaces of a full line
        line[end++] = '|';
        for (size_t i = 0; i < count; ++i) {
            const uint8_t byte = data[at + i];
            line[end++] = byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
        }
        line[end++] = '|';
        line[end++] = '\n';
        out.append(line, end);
    }
    // The closing line: the length, as the offset of a line would be written.
    uint32_t length = static_cast<uint32_t>(size);
    for (int i = 7; i >= 0; --i, length >>= 4) line[i] = kDigits[length & 0x0F];
    line[8] = '\n';
    out.append(line, 9);
}

}  // namespace corvelle
