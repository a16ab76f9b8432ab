#include "standards/Rfc5545.h"

#include <cstdio>
#include <cstring>

namespace corvelle {

std::string ICalDate(const CivilDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", date.year % 10000, date.month % 100, date.day % 100);
    return text;
}

std::string ICalLocalDateTime(const CivilDate& date, unsigned hour, unsigned minute, unsigned second) {
    char text[16];
    std::snprintf(text, sizeof text, "T%02u%02u%02u", hour % 100, minute % 100, second % 100);
    return ICalDate(date) + text;
}

std::string ICalUtcDateTime(const CivilTime& time) {
    return ICalLocalDateTime(time.date, time.hour, time.minute, time.second) + "Z";
}

std::string ICalOffset(long amount, DurationUnit unit) {
    std::string text = amount < 0 ? "-P" : "P";
    const unsigned long size =
        amount < 0 ? 0ul - static_cast<unsigned long>(amount) : static_cast<unsigned long>(amount);
    if (unit != DurationUnit::kDays) text += 'T';
    text += std::to_string(size);
    text += unit == DurationUnit::kMinutes ? 'M' : unit == DurationUnit::kHours ? 'H' : 'D';
    return text;
}

std::string ICalDuration(long minutes) {
    std::string text = minutes < 0 ? "-P" : "P";
    const unsigned long size =
        minutes < 0 ? 0ul - static_cast<unsigned long>(minutes) : static_cast<unsigned long>(minutes);
    const unsigned long days = size / 1440, hours = size % 1440 / 60, rest = size % 60;
    if (days != 0) text += std::to_string(days) + "D";
    if (size % 1440 != 0 || size == 0) text += "T";
    if (hours != 0) text += std::to_string(hours) + "H";
    if (rest != 0 || size == 0) text += std::to_string(rest) + "M";
    return text;
}

std::string ICalUtcOffset(int minutes) {
    char text[16];
    const unsigned size = static_cast<unsigned>(minutes < 0 ? -minutes : minutes);
    std::snprintf(text, sizeof text, "%c%02u%02u", minutes < 0 ? '-' : '+', size / 60 % 100, size % 60);
    return text;
}

std::string ICalParamValue(std::string_view utf8) {
    std::string value;
    bool quote = false;
    for (char c : utf8) {
        if (c == '"') {
            value += '\'';
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            value += ' ';
        } else {
            quote = quote || c == ':' || c == ';' || c == ',';
            value += c;
        }
    }
    return quote ? '"' + value + '"' : value;
}

std::string ICalMailto(std::string_view utf8Address) {
    static const char kKept[] = "-._~!$&'*+=@";  // unreserved, and the sub-delimiters addresses use
    std::string uri = "mailto:";
    for (char c : utf8Address) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool letterOrDigit = (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
        if (letterOrDigit || (byte != 0 && std::strchr(kKept, c) != nullptr)) {
            uri += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            uri += hex;
        }
    }
    return uri;
}

}  // namespace corvelle
