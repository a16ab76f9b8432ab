// The formats, which of them fit a database, and the one entry point that
// checks the request and hands it to the format's writer.
#include "export/Export.h"

#include "export/CodePage.h"
#include "export/ExportWriters.h"

namespace corvelle {
namespace {

struct FormatNames {
    ExportFormat format;
    const char* name;
    const char* extension;
};

const FormatNames kFormats[] = {
    {ExportFormat::kVCard, "vcard", "vcf"}, {ExportFormat::kICalendar, "ics", "ics"},
    {ExportFormat::kText, "text", "txt"},   {ExportFormat::kJson, "json", "json"},
    {ExportFormat::kRaw, "raw", ""},
};

const char* KindOfDatabase(const DatabaseModel& model) {
    if (model.HoldsResources()) return "resource";
    switch (model.Format()) {
        case DatabaseFormat::kMemo: return "Memo";
        case DatabaseFormat::kToDo: return "To Do";
        case DatabaseFormat::kAddress: return "Address";
        case DatabaseFormat::kDateBook: return "Date Book";
        case DatabaseFormat::kPalmDoc: return "PalmDOC";
        case DatabaseFormat::kOther: break;
    }
    return "record";
}

bool Fits(const DatabaseModel& model, ExportFormat format) {
    for (ExportFormat fitting : ExportFormatsFor(model))
        if (fitting == format) return true;
    return false;
}

std::string FittingNames(const DatabaseModel& model) {
    std::string names;
    for (ExportFormat fitting : ExportFormatsFor(model)) {
        if (!names.empty()) names += ", ";
        names += ExportFormatName(fitting);
    }
    return names;
}

}  // namespace

const char* ExportFormatName(ExportFormat format) {
    for (const FormatNames& entry : kFormats)
        if (entry.format == format) return entry.name;
    return "";
}

bool ParseExportFormat(std::string_view name, ExportFormat& format) {
    for (const FormatNames& entry : kFormats) {
        if (name == entry.name) {
            format = entry.format;
            return true;
        }
    }
    return false;
}

const char* ExportFileExtension(ExportFormat format) {
    for (const FormatNames& entry : kFormats)
        if (entry.format == format) return entry.extension;
    return "";
}

std::vector<ExportFormat> ExportFormatsFor(const DatabaseModel& model) {
    std::vector<ExportFormat> formats;
    if (!model.HoldsResources()) {
        switch (model.Format()) {
            case DatabaseFormat::kAddress: formats.push_back(ExportFormat::kVCard); break;
            case DatabaseFormat::kToDo:
            case DatabaseFormat::kDateBook: formats.push_back(ExportFormat::kICalendar); break;
            case DatabaseFormat::kMemo:
            case DatabaseFormat::kPalmDoc: formats.push_back(ExportFormat::kText); break;
            case DatabaseFormat::kOther: break;
        }
    }
    formats.push_back(ExportFormat::kJson);
    formats.push_back(ExportFormat::kRaw);
    return formats;
}

bool IsLiveRecord(const DatabaseModel& model, size_t index) {
    const ModelEntry& entry = model.Entry(index);
    return entry.hasData && (entry.attributes & (record_flags::kDeleted | record_flags::kExpunged)) == 0;
}

std::string RecordName(size_t index) { return "record " + std::to_string(index); }

bool ExportToText(const DatabaseModel& model, ExportFormat format, const ExportOptions& options, std::string& out,
                  std::string& error) {
    out.clear();
    error.clear();
    if (!Fits(model, format)) {
        error = std::string(ExportFormatName(format)) + " does not fit a " + KindOfDatabase(model) +
                " database; it fits " + FittingNames(model);
        return false;
    }
    if (format == ExportFormat::kRaw) {
        error = "raw writes a folder of files, not one text";
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
    ExportContext context{model, {}, decoder, options.withData, options.warnings};
    if (options.selection != nullptr) {
        for (size_t index : *options.selection)
            if (index < model.Count()) context.indexes.push_back(index);
    } else {
        for (size_t index = 0; index < model.Count(); ++index) context.indexes.push_back(index);
    }
    // The JSON says both itself; the other formats can only leave such entries out.
    if (format != ExportFormat::kJson) {
        for (size_t index : context.indexes)
            if (!model.Entry(index).hasData) context.Warn(RecordName(index) + ": lies outside the file, left out");
        if (model.Count() < model.AnnouncedCount())
            context.Warn("the file holds " + std::to_string(model.Count()) + " of the " +
                         std::to_string(model.AnnouncedCount()) + " announced records");
    }
    switch (format) {
        case ExportFormat::kVCard: WriteVCards(context, out); break;
        case ExportFormat::kICalendar: WriteICalendar(context, out); break;
        case ExportFormat::kText: WriteText(context, out); break;
        case ExportFormat::kJson: WriteJson(context, out); break;
        case ExportFormat::kRaw: break;
    }
    return true;
}

}  // namespace corvelle
