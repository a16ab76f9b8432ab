// JSON strings (RFC 8259): quotes, backslashes and control characters
// escaped, the rest as UTF-8. A byte that is not part of well-formed UTF-8
// becomes U+FFFD, so the document always parses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvelle {

void AppendJsonString(std::string_view utf8, std::string& out);

// Bytes as a JSON string of lower-case hex digits, two per byte.
void AppendJsonHex(const uint8_t* bytes, uint64_t size, std::string& out);

}  // namespace corvelle

namespace corvelle {

// Writes one JSON document, indented by two spaces a level, keeping track of
// the commas. Keys are ASCII names of ours; values go through the escaping
// above.
class JsonOut {
public:
    explicit JsonOut(std::string& out) : m_out(out) {}

    void OpenObject() { Open('{'); }
    void OpenArray() { Open('['); }
    void CloseObject() { Close('}'); }
    void CloseArray() { Close(']'); }
    // The key of the object member whose value comes next.
    void Key(const char* key);

    void String(std::string_view utf8);
    void Number(uint64_t value);
    void Signed(int64_t value);
    void Bool(bool value);
    void Null();
    void Hex(const uint8_t* bytes, uint64_t size);

private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeValue();
    void NewLine();

    std::string& m_out;
    std::string m_first;  // per open level: 1 while it has no member yet
    bool m_afterKey = false;
};

// An object member whose value is a number: the key and the number.
void NumberMember(JsonOut& json, const char* key, uint64_t value);

}  // namespace corvelle
