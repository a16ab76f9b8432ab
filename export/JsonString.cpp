#include "export/JsonString.h"

#include <cstdio>

#include "export/CodePage.h"
#include "export/Utf8.h"

namespace corvelle {

void AppendJsonString(std::string_view utf8, std::string& out) {
    out += '"';
    size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x80) {
            const size_t length = Utf8SequenceLength(utf8, i);
            if (length == 0) {
                out += kReplacementUtf8;
                ++i;
            } else {
                out.append(utf8.data() + i, length);
                i += length;
            }
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
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
