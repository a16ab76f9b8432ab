// The "Image Dump" report for a front end that shows Unicode text (the Qt
// page): the report's bytes decoded from the file's code page (the options'
// Encoding, in which a device wrote the names the report shows) into UTF-8,
// its CR LF line ends as LF, positions in bytes; and the find command over
// it with the report's own rules. The report of a big database is megabytes:
// it is converted as far as the page asks, a line at a time, so that its
// first screen costs no more than itself. The Win32 page shows the report's
// bytes as they are (ViewedDatabase::Report).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "model/SearchRules.h"
#include "model/ViewedDatabase.h"
#include "standards/CodePage.h"

namespace corvelle {

class ReportView {
public:
    explicit ReportView(const ViewedDatabase& viewed);

    // Converts on until at least `bytes` of text are there, or all of it.
    void Prepare(size_t bytes);
    void PrepareAll() { Prepare(SIZE_MAX); }
    bool IsComplete() const { return m_converted == m_report.size(); }
    // The text converted so far.
    const std::string& Utf8() const { return m_text; }
    // The whole text's size once complete; before, a guess from what the
    // report's bytes have given so far, always above what is there.
    size_t ExpectedSize() const;

    // The Lister's find command over the whole text from `selection`
    // (bytes): letters folded within ASCII only, as the Win32 page finds them.
    std::optional<TextRange> Find(const std::string& needle, TextRange selection, int flags);

private:
    std::string m_report;  // the report's bytes, CR LF
    size_t m_converted = 0;
    TextDecoder m_decoder;
    std::string m_text;
    std::string m_lines;  // the piece being converted, CR LF as LF
};

}  // namespace corvelle
