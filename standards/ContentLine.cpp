#include "standards/ContentLine.h"

#include "standards/CodePage.h"

namespace corvelle {

void AppendFoldedLine(std::string_view line, std::string& out) {
    size_t at = 0;
    size_t room = kContentLineOctets;  // the first piece has no leading space
    while (line.size() - at > room) {
        size_t cut = at + room;
        // Back to the start of the sequence the cut would split. A piece always
        // keeps at least one whole sequence: a sequence is 4 octets at most.
        while (cut > at + 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.data() + at, cut - at);
        out += "\r\n ";
        at = cut;
        room = kContentLineOctets - 1;
    }
    out.append(line.data() + at, line.size() - at);
    out += "\r\n";
}

void AppendEscapedText(std::string_view text, std::string& out) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '\\': out += "\\\\"; break;
            case ',': out += "\\,"; break;
            case ';': out += "\\;"; break;
            case '\r':
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
                out += "\\n";
                break;
            case '\n': out += "\\n"; break;
            case '\t': out += c; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    out += kReplacementUtf8;
                else
                    out += c;
        }
    }
}

std::string EscapedText(std::string_view text) {
    std::string out;
    AppendEscapedText(text, out);
    return out;
}

void AppendProperty(std::string_view name, std::string_view params, std::string_view value, std::string& out) {
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
