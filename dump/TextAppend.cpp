#include "dump/TextAppend.h"

namespace corvelle {

void AppendDecimal(std::string& out, uint64_t value) {
    char digits[24];
    char* p = digits + sizeof digits;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(p, static_cast<size_t>(digits + sizeof digits - p));
}

void AppendSigned(std::string& out, int64_t value) {
    if (value < 0) {
        out.push_back('-');
        AppendDecimal(out, static_cast<uint64_t>(-value));
    } else {
        AppendDecimal(out, static_cast<uint64_t>(value));
    }
}

void AppendTwoDigits(std::string& out, unsigned value) {
    if (value >= 100) {
        AppendDecimal(out, value);
        return;
    }
    out.push_back(static_cast<char>('0' + value / 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

void AppendDate(std::string& out, PackedDate date) {
    if (date.IsNone()) {
        out += "none";
        return;
    }
    AppendDecimal(out, date.Year());
    out.push_back('-');
    AppendTwoDigits(out, date.Month());
    out.push_back('-');
    AppendTwoDigits(out, date.Day());
}

void AppendTime(std::string& out, uint8_t hour, uint8_t minute) {
    AppendTwoDigits(out, hour);
    out.push_back(':');
    AppendTwoDigits(out, minute);
}

std::string Number(uint64_t value) {
    std::string text;
    AppendDecimal(text, value);
    return text;
}

}  // namespace corvelle
