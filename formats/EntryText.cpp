// The whole text of one entry: where it lies, its list cells in words, its
// decoded fields and its bytes.
#include "formats/EntryText.h"

#include "dump/TextAppend.h"

namespace corvelle {

std::string EntryFieldsText(const DecodedDatabase& database, size_t index) {
    std::string out;
    if (database.Decodes(index)) database.Reader().AppendFields(index, out);
    return out;
}

std::string EntryFieldsText(const DatabaseModel& model, size_t index) {
    return EntryFieldsText(DecodedDatabase(model), index);
}

std::string EntryText(const DatabaseModel& model, size_t index, uint64_t hexLimit) {
    return EntryText(DecodedDatabase(model), index, hexLimit);
}

std::string EntryText(const DecodedDatabase& database, size_t index, uint64_t hexLimit) {
    const DatabaseModel& model = database.Model();
    std::string out;
    if (index >= model.Count()) return out;
    const ModelEntry& entry = model.Entry(index);
    const bool resources = model.HoldsResources();
    out += resources ? "Resource " : "Record ";
    AppendDecimal(out, index);
    out += ": offset ";
    AppendCellOf(database, index, ColumnId::kOffset, out);
    if (entry.hasData) {
        out += ", ";
        AppendCellOf(database, index, ColumnId::kSize, out);
        out += " bytes\n";
    } else {
        out += ", no data (outside the file)\n";
    }
    const auto line = [&](const char* label, ColumnId column) {
        out += label;
        out += ":\t";
        AppendCellOf(database, index, column, out);
        out.push_back('\n');
    };
    if (resources) {
        line("Type", ColumnId::kType);
        line("ID", ColumnId::kId);
    } else {
        line("Attributes", ColumnId::kAttributes);
        line("Category", ColumnId::kCategory);
        line("Unique ID", ColumnId::kUniqueId);
    }
    if (database.Decodes(index)) {
        out.push_back('\n');
        database.Reader().AppendFields(index, out);
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
