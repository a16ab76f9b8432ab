#include "standards/Rfc2426.h"

#include "standards/Base64.h"
#include "standards/ContentLine.h"

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

std::string VCardBinary(const uint8_t* bytes, uint64_t size) {
    std::string out;
    AppendBase64(bytes, size, out);
    return out;
}

std::string VCardUri(std::string_view uri) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(uri.size());
    for (char c : uri) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace corvelle
