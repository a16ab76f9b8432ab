// The cells and texts of entries. Cells are appended into the caller's
// buffer without a heap allocation of their own for the common formats, so
// that `--records` of 65535 entries and the list's drawing stay cheap.
#include "dump/EntryFormat.h"

#include <cstring>
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

void AppendHex(std::string& out, uint32_t value, int digits, const char* alphabet = "0123456789ABCDEF") {
    char text[8];
    for (int i = digits - 1; i >= 0; --i) {
        text[i] = alphabet[value & 0x0F];
        value >>= 4;
    }
    out.append(text, static_cast<size_t>(digits));
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
    bool Full() const { return m_room == 0; }
    size_t Room() const { return m_room; }

private:
    std::string& m_out;
    size_t m_room = kCellLimit;
};

// A text of the file in a cell that is not cut: only bytes below 20h change.
void AppendClean(std::string& out, std::string_view text) {
    const size_t start = out.size();
    out.append(text.data(), text.size());
    for (size_t i = start; i < out.size(); ++i)
        if (static_cast<unsigned char>(out[i]) < 0x20) out[i] = ' ';
}

void AppendPrintable(std::string& out, const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i)
        out.push_back(bytes[i] >= 0x20 && bytes[i] <= 0x7E ? static_cast<char>(bytes[i]) : '.');
}

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
            AppendPrintable(out, data.data, count);
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
            std::string head;  // short: stays in the string's own buffer
            AppendDate(head, event.date);
            if (event.Timed()) {
                head.push_back(' ');
                AppendTime(head, event.startHour, event.startMinute);
            }
            head.push_back(' ');
            cell.Add(head);
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

void AppendAttributes(uint8_t attributes, std::string& out) {
    using namespace record_flags;
    const bool gone = (attributes & (kExpunged | kDeleted)) != 0;
    const struct {
        uint8_t bit;
        const char* word;
        bool shown;
    } kWords[] = {{kExpunged, "expunged", true},
                  {kDirty, "dirty", true},
                  {kDeleted, "deleted", true},
                  {kPrivate, "private", true},
                  {kArchive, "archive", gone}};
    bool first = true;
    for (const auto& word : kWords) {
        if (!word.shown || (attributes & word.bit) == 0) continue;
        if (!first) out += ", ";
        out += word.word;
        first = false;
    }
}

void AppendCategory(const DatabaseModel& model, uint8_t attributes, std::string& out) {
    if (attributes & (record_flags::kExpunged | record_flags::kDeleted)) return;
    const unsigned category = attributes & 0x0F;
    AppendDecimal(out, category);
    const std::string_view label = model.CategoryLabel(category);
    if (label.empty()) return;
    out += " (";
    AppendClean(out, label);
    out.push_back(')');
}

void AppendType(const FourCharCode& type, std::string& out) { AppendPrintable(out, type.bytes, 4); }

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

void AppendDateBookFields(const DateBookRecord& event, uint64_t size, std::string& out) {
    namespace flags = date_book_flags;
    std::string value;
    AppendDate(value, event.date);
    AppendField(out, "Date", value);
    value.clear();
    if (event.Timed()) {
        AppendTime(value, event.startHour, event.startMinute);
        value.push_back('-');
        AppendTime(value, event.endHour, event.endMinute);
    } else {
        value = "none";
    }
    AppendField(out, "Time", value);
    // A part is shown only when the record held it whole.
    uint64_t needed = 8;
    if (event.Has(flags::kAlarm) && (needed += 2) <= size) AppendField(out, "Alarm", AlarmText(event));
    if (event.Has(flags::kRepeat) && (needed += 8) <= size) AppendField(out, "Repeat", RepeatText(event.repeat));
    if (event.Has(flags::kExceptions) && needed + 2 <= size) {
        value.clear();
        for (size_t i = 0; i < event.exceptions.size(); ++i) {
            if (i != 0) value += ", ";
            AppendDate(value, event.exceptions[i]);
        }
        AppendField(out, "Exceptions", value);
    }
    if (event.Has(flags::kDescription)) AppendField(out, "Description", event.description);
    if (event.Has(flags::kNote)) AppendField(out, "Note", event.note);
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
        value += " bits per pixel, density ";
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
    if (index >= model.Count()) return;
    const ModelEntry& entry = model.Entry(index);
    switch (column) {
        case 0: AppendDecimal(out, index); return;
        case 1:
            AppendHex(out, entry.offset, 8);
            out.push_back('h');
            return;
        case 2:
            if (entry.hasData)
                AppendDecimal(out, uint64_t{entry.dataEnd} - entry.offset);
            else
                out.push_back('?');
            return;
        default: break;
    }
    if (model.HoldsResources()) {
        switch (column) {
            case 3: AppendType(entry.type, out); return;
            case 4: AppendDecimal(out, entry.id); return;
            case kResourceContents: AppendContents(model, index, out); return;
            default: return;
        }
    }
    switch (column) {
        case 3: AppendAttributes(entry.attributes, out); return;
        case 4: AppendCategory(model, entry.attributes, out); return;
        case 5:
            for (uint8_t byte : entry.uniqueId) AppendHex(out, byte, 2);
            out.push_back('h');
            return;
        case kRecordContents: AppendContents(model, index, out); return;
        default: return;
    }
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
    const size_t columns = ColumnCount(model);
    for (size_t column = 0; column < columns; ++column) {
        if (column != 0) out.push_back('\t');
        AppendCell(model, index, column, out);
    }
    out.push_back('\n');
}

std::string EntryCountText(const DatabaseModel& model) {
    const uint32_t announced = model.AnnouncedCount();
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
            std::string due;
            AppendDate(due, todo.due);
            AppendField(out, "Due", due);
            AppendField(out, "Priority", Number(todo.priority));
            AppendField(out, "Completed", todo.completed ? "yes" : "no");
            AppendField(out, "Description", todo.description);
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
            AppendDateBookFields(event, data.size, out);
            AppendCutLine(model, event.cut, out);
            return out;
        }
        case Kind::kDocHeader: {
            const PalmDocHeader header = DecodePalmDocHeader(data);
            const char* compression = header.compression == kPalmDocUncompressed ? "none"
                                      : header.compression == kPalmDocCompressed ? "PalmDOC"
                                                                                  : nullptr;
            AppendField(out, "Compression", compression != nullptr ? compression : Number(header.compression));
            AppendField(out, "Text length", Number(header.textLength));
            AppendField(out, "Text records", Number(header.textRecords));
            AppendField(out, "Record size", Number(header.recordSize));
            AppendField(out, "Position", Number(header.position));
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
    const std::string fields = EntryFieldsText(model, index);
    if (!fields.empty()) {
        out.push_back('\n');
        out += fields;
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
    AppendHex(out, static_cast<uint32_t>(size), 8, "0123456789abcdef");
    out.push_back('\n');
}

}  // namespace corvelle
