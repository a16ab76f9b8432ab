#include "export/Rfc2426.h"

#include "export/ContentLine.h"

namespace corvelle {

std::string VCardText(std::string_view text) {
    std::string out;
    AppendEscapedText(text, out);
    return out;
}

std::string VCardStructured(std::initializer_list<std::string_view> parts) {
    std::string out;
    bool first = true;
    for (std::string_view part : parts) {
        if (!first) out += ';';
        first = false;
        AppendEscapedText(part, out);
    }
    return out;
}

void AppendVCardProperty(std::string_view name, std::string_view params, std::string_view value, std::string& out) {
    std::string line(name);
    if (!params.empty()) {
        line += ';';
        line += params;
    }
    line += ':';
    line += value;
    AppendFoldedLine(line, out);
}

}  // namespace corvelle
