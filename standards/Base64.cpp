#include "standards/Base64.h"

namespace corvelle {

void AppendBase64(const uint8_t* bytes, uint64_t size, std::string& out) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.reserve(out.size() + static_cast<size_t>((size + 2) / 3 * 4));
    for (uint64_t at = 0; at < size; at += 3) {
        const uint64_t left = size - at;
        const uint32_t group = uint32_t{bytes[at]} << 16 | (left > 1 ? uint32_t{bytes[at + 1]} << 8 : 0) |
                               (left > 2 ? uint32_t{bytes[at + 2]} : 0);
        out += kDigits[group >> 18];
        out += kDigits[(group >> 12) & 0x3F];
        out += left > 1 ? kDigits[(group >> 6) & 0x3F] : '=';
        out += left > 2 ? kDigits[group & 0x3F] : '=';
    }
}

}  // namespace corvelle
