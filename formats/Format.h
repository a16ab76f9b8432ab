// A format: which databases it decodes and, for one database, what each of
// its entries holds. One file a format, each filling one `Format` and a
// reader; FormatTable.cpp lists them in the order they are asked. Nothing
// else names a format: the list, the entry pane, `--records`, `--record N`
// and the exports ask the database's reader.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "dump/ByteSpan.h"
#include "dump/DatabaseModel.h"
#include "dump/PalmBitmap.h"
#include "formats/ExportType.h"

namespace corvelle {

class ContentsCell;
class DocumentReader;
struct TextOptions;
class ExportFeed;
class JsonFields;

// A picture an entry holds, for the Records page to show beside its text and
// for the images export: bytes of the file to decode, or pixels the format
// decoded itself (a Note Pad drawing).
struct EntryPicture {
    enum class Kind { kNone, kPalmBitmap, kImageFile, kPixels };
    EntryPicture() = default;
    EntryPicture(Kind kindOfBytes, ByteSpan file) : kind(kindOfBytes), bytes(file) {}
    explicit EntryPicture(std::shared_ptr<const IconImage> decoded)
        : kind(Kind::kPixels), pixels(std::move(decoded)) {}

    Kind kind = Kind::kNone;
    ByteSpan bytes;  // a Palm bitmap family, or a whole JPEG, PNG, GIF or BMP file
    std::shared_ptr<const IconImage> pixels;  // kPixels
};

// One database seen through its format: opened once, with what every entry
// needs read then (labels, a document's header), and asked entry by entry.
// Indexes are the model's; entries without data are never asked.
class FormatReader {
public:
    virtual ~FormatReader() = default;

    // Whether the entry is decoded at all; one that is not shows as bytes.
    virtual bool Decodes(size_t index) const = 0;
    // The list's contents cell of a decoded entry.
    virtual void AppendContents(size_t index, ContentsCell& cell) const = 0;
    // Its fields, one "Label:\tvalue" line each (LF), with the line that says
    // where a cut entry stops.
    virtual void AppendFields(size_t index, std::string& out) const = 0;
    // The members of its JSON "fields" object; an entry without any has
    // "fields": null.
    virtual bool HasJsonFields(size_t index) const { return Decodes(index); }
    virtual void WriteJsonFields(size_t index, JsonFields& json) const {}
    // Members of the JSON "appInfo" object beyond the offset, size and
    // categories (an Address database's labels).
    virtual void WriteJsonAppInfo(JsonFields& json) const {}
    virtual EntryPicture Picture(size_t index) const { return {}; }
    // What a live entry gives an export of `type` (one the format feeds).
    virtual void Feed(size_t index, ExportType type, ExportFeed& feed) const {}
    // What an export of `type` gets once, before any entry: a table's column
    // names.
    virtual void FeedBeforeEntries(ExportType type, ExportFeed& feed) const {}
    // The whole document as a person reads it, for a format with a text
    // (Format::hasDocument); null otherwise.
    virtual std::unique_ptr<DocumentReader> OpenDocument(const TextOptions& options) const;
};

struct Format {
    const char* name;   // the JSON's "contents": "memo"
    const char* title;  // in messages: "vcard does not fit a Memo database"
    unsigned exports;   // ExportBit()s of the exports it feeds, beyond json and raw
    // Whether it decodes this database; the first format of the table that
    // does is the database's.
    bool (*decodes)(const DatabaseModel& model);
    std::unique_ptr<FormatReader> (*open)(const DatabaseModel& model);
    // Whether its databases are documents with a text to read (the Text
    // page). Asked of the header alone: a format that needs the records to
    // decide must fall back to one that answers the same.
    bool hasDocument = false;
};

// The usual test of `decodes`: a record database of this type and creator
// (a null creator: any), compared byte for byte.
bool IsRecordDatabase(const DatabaseModel& model, const char (&type)[5], const char* creator);

}  // namespace corvelle
