#include "standards/Rfc4180.h"

#include "standards/CodePage.h"

namespace corvelle {
namespace {

bool IsControl(unsigned char byte) {
    return (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7F;
}

bool NeedsQuotes(std::string_view text) {
    if (text.empty()) return false;
    if (text.front() == ' ' || text.back() == ' ') return true;
    return text.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

void AppendCsvField(std::string_view utf8, std::string& out) {
    const bool quoted = NeedsQuotes(utf8);
    if (quoted) out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += "\"\"";
        else if (IsControl(static_cast<unsigned char>(c)))
            out += kReplacementUtf8;
        else
            out += c;
    }
    if (quoted) out += '"';
}

void AppendCsvRecord(const std::vector<std::string>& fields, std::string& out) {
    if (fields.size() == 1 && fields[0].empty()) {
        out += "\"\"\r\n";
        return;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        AppendCsvField(fields[i], out);
    }
    out += "\r\n";
}

}  // namespace corvelle
