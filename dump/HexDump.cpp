// The bytes of an entry as `hexdump -v -C` shows them.
#include <cstring>

#include "dump/HexDump.h"

namespace corvelle {

void AppendHexDump(const uint8_t* data, uint64_t size, std::string& out) {
    if (data == nullptr || size == 0) return;  // hexdump prints nothing for no bytes
    static const char kDigits[] = "0123456789abcdef";
    constexpr size_t kLineBytes = 79;  // "00000000  " + 16 x "xx " + 2 spaces + "|" + 16 + "|" + LF
    out.reserve(out.size() + static_cast<size_t>((size + 15) / 16) * kLineBytes + 10);
    char line[kLineBytes + 8];
    for (uint64_t at = 0; at < size; at += 16) {
        const size_t count = size - at < 16 ? static_cast<size_t>(size - at) : 16;
        std::memset(line, ' ', sizeof line);
        uint32_t offset = static_cast<uint32_t>(at);
        for (int i = 7; i >= 0; --i, offset >>= 4) line[i] = kDigits[offset & 0x0F];
        // Bytes start at column 10; the second group of eight one column later.
        for (size_t i = 0; i < count; ++i) {
            const size_t column = 10 + 3 * i + (i >= 8 ? 1 : 0);
            line[column] = kDigits[data[at + i] >> 4];
            line[column + 1] = kDigits[data[at + i] & 0x0F];
        }
        size_t end = 10 + 3 * 16 + 2;  // past the hex columns and the two spaces of a full line
        line[end++] = '|';
        for (size_t i = 0; i < count; ++i) {
            const uint8_t byte = data[at + i];
            line[end++] = byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
        }
        line[end++] = '|';
        line[end++] = '\n';
        out.append(line, end);
    }
    // The closing line: the length, as the offset of a line would be written.
    uint32_t length = static_cast<uint32_t>(size);
    for (int i = 7; i >= 0; --i, length >>= 4) line[i] = kDigits[length & 0x0F];
    line[8] = '\n';
    out.append(line, 9);
}

}  // namespace corvelle
