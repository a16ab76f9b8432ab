#include "formats/FieldLines.h"

#include "dump/TextAppend.h"

namespace corvelle {

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

std::string CutWarning(size_t index, const RecordCut& cut) {
    return "record " + std::to_string(index) + ": the record ends at byte " + std::to_string(cut.at) + ", inside " +
           cut.inside + "; the rest is left out";
}

}  // namespace corvelle
