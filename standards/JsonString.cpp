#include "standards/JsonString.h"

#include <cstdint>
#include <cstdio>

#include "standards/ByteWords.h"
#include "standards/CodePage.h"
#include "standards/Utf8.h"

namespace corvelle {

namespace {

// Whether an ASCII byte goes into a JSON string as it is: not a quote, a
// backslash or a control character.
bool IsPlainJsonByte(unsigned char c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; }

// The same for the eight bytes at `p` at once: most of a text is such words.
bool IsPlainJsonWord(const char* p) {
    const uint64_t word = LoadByteWord(p);
    return AllAscii(word) && !AnyByteBelow(word, 0x20) && !AnyByteIs(word, '"') && !AnyByteIs(word, '\\');
}

}  // namespace

void AppendJsonString(std::string_view utf8, std::string& out) {
    out += '"';
    size_t i = 0;
    while (i < utf8.size()) {
        // A run of what needs no escaping goes in at once: well-formed
        // characters of any length, and the ASCII between them.
        size_t end = i;
        for (;;) {
            while (utf8.size() - end >= 8 && IsPlainJsonWord(utf8.data() + end)) end += 8;
            while (end < utf8.size() && IsPlainJsonByte(static_cast<unsigned char>(utf8[end]))) ++end;
            if (end == utf8.size() || static_cast<unsigned char>(utf8[end]) < 0x80) break;
            const size_t length = Utf8Length(utf8, end);
            if (length == 0) break;
            end += length;
        }
        if (end > i) {
            out.append(utf8.data() + i, end - i);
            i = end;
            continue;
        }
        const auto c = static_cast<unsigned char>(utf8[i++]);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c >= 0x80) {
                    out += kReplacementUtf8;  // not part of a well-formed character
                } else {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                }
        }
    }
    out += '"';
}

void AppendJsonHex(const uint8_t* bytes, uint64_t size, std::string& out) {
    static const char kDigits[] = "0123456789abcdef";
    out += '"';
    out.reserve(out.size() + size * 2 + 1);
    for (uint64_t i = 0; i < size; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
    }
    out += '"';
}

}  // namespace corvelle

namespace corvelle {

void JsonOut::NewLine() {
    m_out += '\n';
    m_out.append(m_first.size() * 2, ' ');
}

void JsonOut::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_first.empty()) return;  // the document's one value
    if (m_first.back() == '0') m_out += ',';
    m_first.back() = '0';
    NewLine();
}

void NumberMember(JsonOut& json, const char* key, uint64_t value) {
    json.Key(key);
    json.Number(value);
}

void JsonOut::Key(const char* key) {
    BeforeValue();
    AppendJsonString(key, m_out);
    m_out += ": ";
    m_afterKey = true;
}

void JsonOut::Open(char bracket) {
    BeforeValue();
    m_out += bracket;
    m_first += '1';
}

void JsonOut::Close(char bracket) {
    const bool empty = m_first.back() == '1';
    m_first.pop_back();
    if (!empty) NewLine();
    m_out += bracket;
    if (m_first.empty()) m_out += '\n';
}

void JsonOut::String(std::string_view utf8) {
    BeforeValue();
    AppendJsonString(utf8, m_out);
}

void JsonOut::Number(uint64_t value) {
    BeforeValue();
    m_out += std::to_string(value);
}

void JsonOut::Signed(int64_t value) {
    BeforeValue();
    m_out += std::to_string(value);
}

void JsonOut::Bool(bool value) {
    BeforeValue();
    m_out += value ? "true" : "false";
}

void JsonOut::Null() {
    BeforeValue();
    m_out += "null";
}

void JsonOut::Hex(const uint8_t* bytes, uint64_t size) {
    BeforeValue();
    AppendJsonHex(bytes, size, m_out);
}

}  // namespace corvelle
