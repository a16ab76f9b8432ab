// The "Image Dump" report for a front end that shows Unicode text (the Qt
// page): the report's bytes decoded from the file's code page (the options'
// Encoding, in which a device wrote the names the report shows) into UTF-8,
// its CR LF line ends as LF, positions in bytes; and the find command over
// it with the report's own rules. The Win32 page shows the report's bytes
// as they are (ViewedDatabase::Report).
#pragma once

#include <optional>
#include <string>

#include "model/SearchRules.h"
#include "model/ViewedDatabase.h"

namespace corvelle {

class ReportView {
public:
    explicit ReportView(const ViewedDatabase& viewed);

    const std::string& Utf8() const { return m_text; }
    // The Lister's find command from `selection` (bytes): letters folded
    // within ASCII only, as the Win32 page finds them.
    std::optional<TextRange> Find(const std::string& needle, TextRange selection, int flags) const {
        return FindMatch(m_text, needle, selection, flags);
    }

private:
    std::string m_text;
};

}  // namespace corvelle
