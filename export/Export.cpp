// The exports, which of them fit a database, and the one entry point that
// checks the request and hands it to the writer.
#include "export/Export.h"

#include "standards/CodePage.h"
#include "export/ExportWriters.h"

namespace corvelle {
namespace {

struct ExportNames {
    ExportType type;
    const char* name;
    const char* extension;
    const char* title;
};

const ExportNames kExports[] = {
    {ExportType::kVCard, "vcard", "vcf", "vCard"}, {ExportType::kICalendar, "ics", "ics", "iCalendar"},
    {ExportType::kText, "text", "txt", "text"},    {ExportType::kCsv, "csv", "csv", "CSV"},
    {ExportType::kMbox, "mbox", "mbox", "mbox"},
    {ExportType::kJson, "json", "json", "JSON"},
    {ExportType::kRaw, "raw", "", "raw"},         {ExportType::kImages, "images", "", "image files"},
};

const ExportNames* NamesOf(ExportType type) {
    for (const ExportNames& entry : kExports)
        if (entry.type == type) return &entry;
    return nullptr;
}

// "Memo", "resource", or "record" for a database without a format.
const char* KindOfDatabase(const DecodedDatabase& database) {
    if (database.GetFormat() != nullptr) return database.GetFormat()->title;
    return database.Model().HoldsResources() ? "resource" : "record";
}

std::string FittingNames(const DecodedDatabase& database) {
    std::string names;
    for (ExportType fitting : ExportTypesFor(database)) {
        if (!names.empty()) names += ", ";
        names += ExportTypeName(fitting);
    }
    return names;
}

}  // namespace

const char* ExportTypeName(ExportType type) {
    const ExportNames* names = NamesOf(type);
    return names != nullptr ? names->name : "";
}

bool ParseExportType(std::string_view name, ExportType& type) {
    for (const ExportNames& entry : kExports) {
        if (name == entry.name) {
            type = entry.type;
            return true;
        }
    }
    return false;
}

const char* ExportFileExtension(ExportType type) {
    const ExportNames* names = NamesOf(type);
    return names != nullptr ? names->extension : "";
}

const char* ExportTypeTitle(ExportType type) {
    const ExportNames* names = NamesOf(type);
    return names != nullptr ? names->title : "";
}

bool ExportWritesFolder(ExportType type) { return type == ExportType::kRaw || type == ExportType::kImages; }

std::vector<ExportType> ExportTypesFor(const DecodedDatabase& database) {
    std::vector<ExportType> types;
    for (const ExportNames& entry : kExports)
        if (database.Feeds(entry.type)) types.push_back(entry.type);
    return types;
}

std::vector<ExportType> AllExportTypes() {
    std::vector<ExportType> types;
    for (const ExportNames& entry : kExports) types.push_back(entry.type);
    return types;
}

std::vector<ExportType> ExportTypesFor(const DatabaseModel& model) { return ExportTypesFor(DecodedDatabase(model)); }

bool ExportToText(const DatabaseModel& model, ExportType type, const ExportOptions& options, std::string& out,
                  std::string& error) {
    return ExportToText(DecodedDatabase(model), type, options, out, error);
}

bool IsLiveRecord(const DatabaseModel& model, size_t index) {
    const ModelEntry& entry = model.Entry(index);
    return entry.hasData && !record_flags::IsGone(entry.attributes);
}

std::string RecordName(size_t index) { return "record " + std::to_string(index); }

bool ExportsWholeDocument(const ExportContext& context, ExportType type) {
    const Format* format = context.database.GetFormat();
    return type == ExportType::kText && context.whole && format != nullptr && format->hasDocument;
}

namespace {

// Checks the request and hands `run` the export's context: for a text, into
// an output that `flush`, when given, empties now and then.
template <class Run>
bool RunExport(const DecodedDatabase& database, ExportType type, const ExportOptions& options, const TextFlush* flush,
               std::string& error, Run run) {
    const DatabaseModel& model = database.Model();
    error.clear();
    if (!database.Feeds(type)) {
        // A file cut inside its header has no format to fit: say where it ends.
        if (!model.HeaderWhole())
            error = "the file ends at byte " + std::to_string(model.Size()) +
                    ", inside its header: there are no records for " + ExportTypeName(type) + "; it fits " +
                    FittingNames(database);
        else
            error = std::string(ExportTypeName(type)) + " does not fit a " + KindOfDatabase(database) +
                    " database; it fits " + FittingNames(database);
        return false;
    }
    const CodePageInfo* page = FindCodePage(options.encoding);
    if (page == nullptr) {
        error = "unknown encoding " + options.encoding + "; known: " + CodePageNames();
        return false;
    }
    TextDecoder decoder(*page);
    if (!decoder.Ok()) {
        error = "this system cannot convert from " + std::string(page->name);
        return false;
    }
    ExportContext context{database,         model, {}, decoder, options.withData,
                          options.warnings, options.selection == nullptr, flush};
    if (options.selection != nullptr) {
        for (size_t index : *options.selection)
            if (index < model.Count()) context.indexes.push_back(index);
    } else {
        for (size_t index = 0; index < model.Count(); ++index) context.indexes.push_back(index);
    }
    // The JSON says both itself; the other exports can only leave such entries
    // out. A document's reader says itself which of its text is missing.
    if (type != ExportType::kJson) {
        if (!ExportsWholeDocument(context, type))
            for (size_t index : context.indexes)
                if (!model.Entry(index).hasData) context.Warn(RecordName(index) + ": lies outside the file, left out");
        if (model.Count() < model.AnnouncedCount())
            context.Warn("the file holds " + std::to_string(model.Count()) + " of the " +
                         std::to_string(model.AnnouncedCount()) + " announced records");
    }
    return run(context);
}

// Checks the request and runs its writer into `out`, which `flush`, when
// given, empties now and then.
bool MakeExport(const DecodedDatabase& database, ExportType type, const ExportOptions& options, std::string& out,
                const TextFlush* flush, std::string& error) {
    out.clear();
    if (database.Feeds(type) && ExportWritesFolder(type)) {
        error = std::string(ExportTypeName(type)) + " writes a folder of files, not one text";
        return false;
    }
    return RunExport(database, type, options, flush, error, [type, &out](const ExportContext& context) {
        switch (type) {
            case ExportType::kVCard: WriteVCards(context, out); break;
            case ExportType::kICalendar: WriteICalendar(context, out); break;
            case ExportType::kText: WriteText(context, out); break;
            case ExportType::kJson: WriteJson(context, out); break;
            case ExportType::kCsv: WriteCsv(context, out); break;
            case ExportType::kMbox: WriteMbox(context, out); break;
            case ExportType::kImages:
            case ExportType::kRaw: break;
        }
        return true;
    });
}

}  // namespace

bool ExportToText(const DecodedDatabase& database, ExportType type, const ExportOptions& options, std::string& out,
                  std::string& error) {
    return MakeExport(database, type, options, out, nullptr, error);
}

bool ExportToOutput(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                    const ExportOutput& write, std::string& error) {
    bool written = true;
    const TextFlush flush = [&write, &written](std::string& text) {
        for (size_t at = 0; written && at < text.size(); at += kExportPieceSize)
            written = write(std::string_view(text).substr(at, kExportPieceSize));
        text.clear();  // its memory stays, for the next piece
        return written;
    };
    std::string out;
    if (!MakeExport(database, type, options, out, &flush, error)) return false;
    if (written) flush(out);
    if (!written) error = "cannot write";
    return written;
}

}  // namespace corvelle

namespace corvelle {

bool ExportToFiles(const DecodedDatabase& database, ExportType type, const ExportOptions& options,
                   const ExportFileOutput& write, std::string& error) {
    if (database.Feeds(type) && type != ExportType::kImages) {
        error = std::string(ExportTypeName(type)) + " is not written as a folder of files here";
        return false;
    }
    bool written = true;
    const bool made = RunExport(database, type, options, nullptr, error, [&](const ExportContext& context) {
        written = WriteImages(context, write);
        return true;
    });
    if (made && !written) error = "cannot write";
    return made && written;
}

}  // namespace corvelle
