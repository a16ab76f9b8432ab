// The whole text of one entry: where it lies, its list cells in words, its
// decoded fields and its bytes.
#include "dump/EntryFormat.h"
#include "dump/EntryKind.h"
#include "dump/TextAppend.h"

namespace corvelle {

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
    const EntryKind kind = KindOf(model, index);
    if (kind != EntryKind::kNoData && kind != EntryKind::kBytes) {
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

}  // namespace corvelle
