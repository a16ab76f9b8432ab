#include "plugin/ProfileValues.h"

#include <climits>
#include <cstring>

namespace corvelle {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int32_t LittleEndianInt32(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    }
    return static_cast<int32_t>(value);
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

bool NamesTextPage(const std::string& value) {
    static const char kText[] = "text";
    if (value.size() != sizeof kText - 1) return false;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kText[i]) return false;
    }
    return true;
}

void CopyCut(char* destination, size_t capacity, const char* source) {
    if (capacity == 0) return;
    size_t length = 0;
    while (length + 1 < capacity && source[length] != 0) {
        destination[length] = source[length];
        ++length;
    }
    destination[length] = 0;
}

std::optional<std::string> ParseStructValue(const std::string& text, size_t byteCount) {
    if (text.size() != 2 * byteCount + 2) return std::nullopt;
    std::string bytes;
    bytes.reserve(byteCount);
    unsigned sum = 0;
    for (size_t i = 0; i <= byteCount; ++i) {
        const int high = HexDigitValue(text[2 * i]);
        const int low = HexDigitValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        const unsigned byte = static_cast<unsigned>(high * 16 + low);
        if (i == byteCount) {
            if (byte != (sum & 0xFFu)) return std::nullopt;
        } else {
            sum += byte;
            bytes.push_back(static_cast<char>(byte));
        }
    }
    return bytes;
}

std::optional<SavedRect> ParseSavedRect(const std::string& text) {
    const auto bytes = ParseStructValue(text, 16);
    if (!bytes) return std::nullopt;
    const SavedRect rect{LittleEndianInt32(*bytes, 0), LittleEndianInt32(*bytes, 4),
                         LittleEndianInt32(*bytes, 8), LittleEndianInt32(*bytes, 12)};
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
    return rect;
}

int32_t ParseLeadingInt(const char* text) {
    const char* p = text;
    while (IsCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) magnitude = int64_t{INT32_MAX} + 1;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

std::optional<int32_t> MulDivRounded(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return std::nullopt;
    const int64_t product = int64_t{a} * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t magnitude = product < 0 ? uint64_t(0) - uint64_t(product) : uint64_t(product);
    const uint64_t divisor = c < 0 ? uint64_t(0) - uint64_t(int64_t{c}) : uint64_t(c);
    const uint64_t rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > uint64_t{INT32_MAX} + (negative ? 1 : 0)) return std::nullopt;
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(rounded))
                    : static_cast<int32_t>(rounded);
}

Font1Fields SplitFont1(const std::string& value) {
    Font1Fields fields;
    size_t start = 0;
    for (size_t index = 0; index < 4; ++index) {
        const size_t comma = value.find(',', start);
        fields.field[index] = value.substr(start, comma == std::string::npos ? std::string::npos
                                                                             : comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
}

ListerFont EmptyListerFont() {
    ListerFont font;
    std::memset(&font, 0, sizeof font);
    return font;
}

ListerFont ParseFont1(const std::string& value, int dpi) {
    ListerFont font = EmptyListerFont();
    const Font1Fields fields = SplitFont1(value);
    CopyCut(font.szFaceName, sizeof font.szFaceName, fields.field[0].c_str());

    const int32_t pixels = ParseLeadingInt(fields.field[1].c_str());
    const auto points = MulDivRounded(pixels, 72, dpi);
    if (points && *points >= -(INT32_MAX / 20) && *points <= INT32_MAX / 20) {
        font.nHeight = -20 * *points;
    }

    for (const std::string* flag : {&fields.field[2], &fields.field[3]}) {
        if (*flag == "b") font.bBold = 1;
        if (*flag == "i") font.bItalic = 1;
    }
    return font;
}

}  // namespace corvelle
