#include "dump/records/JFileRecord.h"

#include <cstring>
#include <string>

#include "dump/ByteReader.h"
#include "dump/DatabaseModel.h"

namespace corvelle {
namespace {

constexpr uint64_t kNameWidth = 21;

// The names of the record's parts, for the cut line: "the field lengths",
// "field 3".
const char* const kFieldWords[] = {
    "field 1",  "field 2",  "field 3",  "field 4",  "field 5",  "field 6",  "field 7",  "field 8",  "field 9",
    "field 10", "field 11", "field 12", "field 13", "field 14", "field 15", "field 16", "field 17", "field 18",
    "field 19", "field 20", "field 21", "field 22", "field 23", "field 24", "field 25", "field 26", "field 27",
    "field 28", "field 29", "field 30", "field 31", "field 32", "field 33", "field 34", "field 35", "field 36",
    "field 37", "field 38", "field 39", "field 40", "field 41", "field 42", "field 43", "field 44", "field 45",
    "field 46", "field 47", "field 48", "field 49", "field 50",
};
static_assert(sizeof kFieldWords / sizeof kFieldWords[0] == kJFileMaxFields);

}  // namespace

JFileLayout ReadJFileLayout(const DatabaseModel& model) {
    JFileLayout layout;
    const ByteSpan block = model.AppInfo();
    ByteReader in(block.data, block.size);
    std::string_view names[kJFileMaxFields];
    uint16_t types[kJFileMaxFields] = {};
    for (std::string_view& name : names) name = in.FixedText(kNameWidth);
    for (uint16_t& type : types) type = in.U16BE();
    layout.storedCount = in.U16BE();
    layout.version = in.U16BE();
    layout.dataWidth = in.U16BE();
    uint16_t widths[kJFileMaxFields] = {};
    for (uint16_t& width : widths) width = in.U16BE();
    layout.whole = in.Ok();
    if (!layout.whole) return layout;
    const unsigned count = layout.storedCount < kJFileMaxFields ? layout.storedCount : kJFileMaxFields;
    for (unsigned i = 0; i < count; ++i) layout.fields.push_back({names[i], types[i], widths[i]});
    return layout;
}

const char* JFileTypeWord(uint16_t type) {
    switch (type) {
        case 1: return "text";
        case 2: return "check box";
        case 4: return "date";
        case 8: return "integer";
        case 16: return "number";
        case 32: return "time";
        default: return nullptr;
    }
}

JFileRecord DecodeJFileRecord(const ByteSpan& record, size_t fieldCount) {
    JFileRecord result;
    ByteReader in(record.data, record.size);
    std::vector<uint16_t> lengths(fieldCount);
    for (uint16_t& length : lengths) length = in.U16BE();
    if (!in.Ok()) {
        result.cut.Mark(record.size, JFilePart::kLengths, "the field lengths");
        return result;
    }
    for (size_t i = 0; i < fieldCount; ++i) {
        const uint64_t left = record.size - in.Offset();
        const uint64_t length = lengths[i] < left ? lengths[i] : left;
        const std::string_view stored(reinterpret_cast<const char*>(in.Bytes(length)), static_cast<size_t>(length));
        result.values.push_back(stored.substr(0, stored.find('\0')));
        if (length < lengths[i]) {
            result.cut.Mark(record.size, static_cast<unsigned>(JFilePart::kFirstValue) + static_cast<unsigned>(i),
                            kFieldWords[i]);
            return result;
        }
    }
    return result;
}

}  // namespace corvelle
