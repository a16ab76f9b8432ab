#include "standards/Rfc5322.h"

#include <cstdio>
#include <vector>

#include "standards/Base64.h"

namespace corvelle {
namespace {

constexpr size_t kFoldAt = 78;
constexpr size_t kLongestLine = 998;
// "=?UTF-8?B?" and "?=" leave 63 of an encoded word's 75 octets: 45 bytes of
// text, whose base64 is 60.
constexpr size_t kEncodedWordBytes = 45;

bool IsPrintableAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

void AppendEncodedWords(std::string_view utf8, std::string& out) {
    for (size_t at = 0; at < utf8.size();) {
        size_t end = at + kEncodedWordBytes < utf8.size() ? at + kEncodedWordBytes : utf8.size();
        // Back to a character's first byte: a word must hold whole characters.
        while (end > at + 1 && end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
        if (at > 0) out += ' ';
        out += "=?UTF-8?B?";
        AppendBase64(reinterpret_cast<const uint8_t*>(utf8.data() + at), end - at, out);
        out += "?=";
        at = end;
    }
}

// The addresses of a list, split at the commas that separate them.
std::vector<std::string_view> Addresses(std::string_view text) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    int angle = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (c == '"') quoted = !quoted;
        if (!quoted && c == '<') ++angle;
        if (!quoted && c == '>' && angle > 0) --angle;
        if (c == ',' && !quoted && angle == 0) {
            const std::string_view part = Trimmed(text.substr(start, i - start));
            if (!part.empty()) parts.push_back(part);
            start = i + 1;
        }
    }
    return parts;
}

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A line of the body, ended by CR LF.
void AppendBodyLine(std::string_view line, std::string& out) {
    size_t quotes = 0;
    while (quotes < line.size() && line[quotes] == '>') ++quotes;
    if (line.substr(quotes, 5) == "From ") out += '>';
    out.append(line.data(), line.size());
    out += "\r\n";
}

// Calls `line` for each line of `text`, whatever its line ends.
template <class Line>
void ForEachLine(std::string_view text, Line line) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        line(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) line(text.substr(start));
}

}  // namespace

void AppendHeaderField(std::string_view name, std::string_view value, std::string& out) {
    std::string line(name);
    line += ": ";
    for (char c : value) line += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    // Folding puts a CR LF before a space; the space stays, as the line's first.
    size_t lineStart = 0, lastSpace = std::string::npos;
    std::string folded;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ' && i > name.size() + 1) lastSpace = i;
        if (i - lineStart >= kFoldAt && lastSpace != std::string::npos && lastSpace > lineStart) {
            folded.append(line, lineStart, lastSpace - lineStart);
            folded += "\r\n";
            lineStart = lastSpace;
            lastSpace = std::string::npos;
        }
    }
    folded.append(line, lineStart, std::string::npos);
    out += folded;
    out += "\r\n";
}

std::string UnstructuredValue(std::string_view utf8) {
    if (IsPrintableAscii(utf8)) return std::string(utf8);
    std::string out;
    AppendEncodedWords(utf8, out);
    return out;
}

std::string AddressListValue(std::string_view utf8) {
    std::string out;
    for (std::string_view address : Addresses(utf8)) {
        if (!out.empty()) out += ", ";
        if (IsPrintableAscii(address)) {
            out.append(address.data(), address.size());
            continue;
        }
        const size_t angle = address.find('<');
        std::string_view name = Trimmed(address.substr(0, angle == std::string_view::npos ? address.size() : angle));
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
        AppendEncodedWords(name, out);
        if (angle != std::string_view::npos) {
            out += ' ';
            out.append(address.data() + angle, address.size() - angle);
        }
    }
    return out;
}

std::string FirstAddress(std::string_view text) {
    const std::vector<std::string_view> addresses = Addresses(text);
    if (addresses.empty()) return {};
    const std::string_view first = addresses.front();
    const size_t open = first.find('<'), close = first.find('>', open);
    if (open != std::string_view::npos && close != std::string_view::npos) {
        const std::string_view inside = Trimmed(first.substr(open + 1, close - open - 1));
        if (!inside.empty() && inside.find(' ') == std::string_view::npos) return std::string(inside);
    }
    size_t start = 0;
    while (start < first.size()) {
        size_t end = first.find(' ', start);
        if (end == std::string_view::npos) end = first.size();
        const std::string_view word = first.substr(start, end - start);
        if (word.find('@') != std::string_view::npos && word.find('"') == std::string_view::npos)
            return std::string(word);
        start = end + 1;
    }
    return {};
}

std::string DateValue(const CivilTime& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%s, %02u %s %04u %02u:%02u:%02u -0000", kDays[Weekday(time.date)],
                  time.date.day, kMonths[time.date.month - 1], time.date.year, time.hour, time.minute, time.second);
    return text;
}

std::string MboxDate(const CivilTime& time) {
    char text[40];
    std::snprintf(text, sizeof text, "%s %s %2u %02u:%02u:%02u %04u", kDays[Weekday(time.date)],
                  kMonths[time.date.month - 1], time.date.day, time.hour, time.minute, time.second, time.date.year);
    return text;
}

bool FitsEightBit(std::string_view utf8) {
    bool fits = true;
    ForEachLine(utf8, [&fits](std::string_view line) { fits = fits && line.size() <= kLongestLine; });
    return fits;
}

void AppendMboxBody(std::string_view utf8, std::string& out) {
    ForEachLine(utf8, [&out](std::string_view line) { AppendBodyLine(line, out); });
}

void AppendQuotedPrintableBody(std::string_view utf8, std::string& out) {
    static const char kHex[] = "0123456789ABCDEF";
    ForEachLine(utf8, [&out](std::string_view line) {
        size_t width = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            if (width + 3 > 75) {  // a soft line break keeps each line within 76
                out += "=\r\n";
                width = 0;
            }
            const auto byte = static_cast<unsigned char>(line[i]);
            const bool last = i + 1 == line.size();
            // A space or TAB at a line's end would be lost in transport. "F"
            // and ">" are encoded at a line's start, so that no line begins
            // "From " nor looks like an mboxrd-quoted ">From ", whose ">" a
            // reader would take off.
            const bool lineStart = width == 0 && (byte == 'F' || byte == '>');
            const bool plain = (byte >= 0x21 && byte <= 0x7E && byte != '=' && !lineStart) ||
                               ((byte == ' ' || byte == '\t') && !last && width > 0);
            const size_t length = plain ? 1 : 3;
            if (plain) {
                out += static_cast<char>(byte);
            } else {
                out += '=';
                out += kHex[byte >> 4];
                out += kHex[byte & 0x0F];
            }
            width += length;
        }
        out += "\r\n";
    });
}

}  // namespace corvelle
