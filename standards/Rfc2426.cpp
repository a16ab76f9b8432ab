#include "standards/Rfc2426.h"

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
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve(static_cast<size_t>((size + 2) / 3 * 4));
    for (uint64_t at = 0; at < size; at += 3) {
        const uint64_t left = size - at;
        const uint32_t group = uint32_t{bytes[at]} << 16 | (left > 1 ? uint32_t{bytes[at + 1]} << 8 : 0) |
                               (left > 2 ? uint32_t{bytes[at + 2]} : 0);
        out += kDigits[group >> 18];
        out += kDigits[(group >> 12) & 0x3F];
        out += left > 1 ? kDigits[(group >> 6) & 0x3F] : '=';
        out += left > 2 ? kDigits[group & 0x3F] : '=';
    }
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
