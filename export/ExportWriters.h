// What the writers share: the database, the entries to write in their order,
// the code page's decoder and where to say what was left out. Internal to
// export/: callers use Export.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dump/DatabaseModel.h"
#include "standards/CodePage.h"
#include "export/Export.h"
#include "export/PlainDocument.h"

namespace corvelle {

struct ExportContext {
    const DecodedDatabase& database;
    const DatabaseModel& model;
    std::vector<size_t> indexes;  // inside the model, in the order to write them
    TextDecoder& decoder;
    bool withData = false;
    std::vector<std::string>* warnings = nullptr;
    // The whole database, not a selection of its entries.
    bool whole = true;
    // Given when the export goes out as it is made: a writer that can (a
    // document's text) hands it what it has from time to time.
    const TextFlush* flush = nullptr;

    std::string Utf8(std::string_view bytes) const { return decoder.ToUtf8(bytes); }
    void Warn(std::string text) const {
        if (warnings != nullptr) warnings->push_back(std::move(text));
    }
};

// A record that an address book, calendar or editor should get: not deleted
// or expunged (those are gone from the device, only not yet synchronised
// away), and with data in the file.
bool IsLiveRecord(const DatabaseModel& model, size_t index);

// When the export goes out as it is made, hands `out` on once it holds a
// piece's worth; false once the output failed (the rest is not wanted).
inline bool PassOn(const ExportContext& context, std::string& out) {
    return context.flush == nullptr || out.size() < kExportPieceSize || (*context.flush)(out);
}

// Hands every live entry that the format decodes to `feed`, in the order
// asked. A writer that writes each entry as it comes gives its `out`, which
// is passed on between entries.
template <class Feed>
void FeedLiveEntries(const ExportContext& context, ExportType type, Feed& feed, std::string* out = nullptr) {
    for (size_t index : context.indexes) {
        if (!IsLiveRecord(context.model, index) || !context.database.Decodes(index)) continue;
        feed.Begin(index);
        context.database.Reader().Feed(index, type, feed);
        if (out != nullptr && !PassOn(context, *out)) return;
    }
}

// Whether this export is a document's whole text, read through its format's
// document reader (a selection of a document's records is fed record by record).
bool ExportsWholeDocument(const ExportContext& context, ExportType type);

// "record 12" for the warnings.
std::string RecordName(size_t index);

void WriteVCards(const ExportContext& context, std::string& out);
void WriteICalendar(const ExportContext& context, std::string& out);
void WriteText(const ExportContext& context, std::string& out);
void WriteJson(const ExportContext& context, std::string& out);
void WriteCsv(const ExportContext& context, std::string& out);
void WriteMbox(const ExportContext& context, std::string& out);
// False once `write` failed.
bool WriteImages(const ExportContext& context, const ExportFileOutput& write);

}  // namespace corvelle
