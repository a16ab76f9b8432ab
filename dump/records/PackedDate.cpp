#include "dump/records/PackedDate.h"

#include <cstdio>

namespace corvelle {

std::string PackedDateText(PackedDate date) {
    if (date.IsNone()) return "none";
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", date.Year(), date.Month(), date.Day());
    return text;
}

}  // namespace corvelle
