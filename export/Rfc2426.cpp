#include "export/Rfc2426.h"

#include "export/ContentLine.h"

namespace corvelle {

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

}  // namespace corvelle
