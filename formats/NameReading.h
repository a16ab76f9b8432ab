// A name and its reading: a Japanese Palm keeps how a name is read (its
// kana, by which the device sorts) after byte 01h in the same field, as in
// "田中" 01h "たなか". No code page that a Palm used has 01h inside a
// character, so the byte parts them in any of them.
#pragma once

#include <string>
#include <string_view>

#include "formats/ExportFeed.h"

namespace corvelle {

struct NameReading {
    std::string_view name;
    std::string_view reading;  // empty when the field holds none
};

inline NameReading SplitReading(std::string_view field) {
    const size_t mark = field.find('\x01');
    if (mark == std::string_view::npos) return {field, {}};
    return {field.substr(0, mark), field.substr(mark + 1)};
}

// The field as the device shows it: "田中 (たなか)"; a name without a
// reading as it is.
inline std::string ShownWithReading(std::string_view field) {
    const NameReading parts = SplitReading(field);
    std::string shown(parts.name);
    if (parts.reading.empty()) return shown;
    if (!shown.empty()) shown += ' ';
    shown += '(';
    shown.append(parts.reading.data(), parts.reading.size());
    shown += ')';
    return shown;
}

// A contact's names for the exports, each apart from its reading.
inline void PutNames(ContactCard& card, std::string_view last, std::string_view first, std::string_view company) {
    const NameReading lastName = SplitReading(last), firstName = SplitReading(first), org = SplitReading(company);
    card.lastName = lastName.name;
    card.lastNameReading = lastName.reading;
    card.firstName = firstName.name;
    card.firstNameReading = firstName.reading;
    card.company = org.name;
    card.companyReading = org.reading;
}

}  // namespace corvelle
