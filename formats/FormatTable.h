// The table of formats, and a database seen through its format.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "formats/Format.h"

namespace corvelle {

// The database's format, or null when no format decodes it.
const Format* FindFormat(const DatabaseModel& model);

// Every format of the table, in the order they are asked.
std::vector<const Format*> AllFormats();

// Whether a database of this format (null: of none) feeds the export: json
// and raw fit every database, text every document.
bool FormatFeeds(const Format* format, ExportType type);

// A model with its format's reader, opened once: what the list, the entry
// pane, the command line, the search and the exports hold.
class DecodedDatabase {
public:
    // Explicit: opening reads what every entry needs (labels, a document's
    // header), so whatever asks per entry opens it once and keeps it.
    explicit DecodedDatabase(const DatabaseModel& model);
    ~DecodedDatabase();
    DecodedDatabase(const DecodedDatabase&) = delete;
    DecodedDatabase& operator=(const DecodedDatabase&) = delete;

    const DatabaseModel& Model() const { return m_model; }
    // Null: no format; the entries show as bytes.
    const Format* GetFormat() const { return m_format; }
    const FormatReader& Reader() const { return *m_reader; }
    // An entry with data that its format decodes.
    bool Decodes(size_t index) const;
    // Whether the format feeds this export (json and raw fit every database).
    bool Feeds(ExportType type) const;

private:
    const DatabaseModel& m_model;
    const Format* m_format;
    std::unique_ptr<FormatReader> m_reader;
};

}  // namespace corvelle
