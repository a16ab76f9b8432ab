// Any database as one JSON object: the file's counts, the header, the AppInfo
// and SortInfo blocks and every entry with its decoded fields. Deleted and
// expunged records stay in, with their flags: this is the export that keeps
// everything. The member names are documented in the README and stable.
#include <cstdio>

#include "standards/CivilDate.h"
#include "export/ExportWriters.h"
#include "standards/JsonFields.h"
#include "standards/JsonString.h"

namespace corvelle {
namespace {

// "memo" and the like; "other" for a database without a format.
const char* ContentsName(const DecodedDatabase& database) {
    return database.GetFormat() != nullptr ? database.GetFormat()->name : "other";
}

// A Palm date as its number and as ISO 8601 text in no time zone, null for
// the zero that means "never".
void DateMembers(JsonOut& json, const char* key, const char* textKey, uint32_t seconds) {
    json.Key(key);
    json.Number(seconds);
    json.Key(textKey);
    if (seconds == 0) {
        json.Null();
        return;
    }
    const CivilTime time = FromPalmSeconds(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", time.date.year, time.date.month,
                  time.date.day, time.hour, time.minute, time.second);
    json.String(text);
}

void WriteHeader(const ExportContext& context, JsonOut& json) {
    const DatabaseModel& model = context.model;
    const DatabaseHeader& header = model.Header();
    json.Key("header");
    json.OpenObject();
    json.Key("name");
    json.String(context.Utf8(header.name));
    NumberMember(json, "attributes", header.attributes);
    NumberMember(json, "version", header.version);
    DateMembers(json, "created", "createdText", header.created);
    DateMembers(json, "modified", "modifiedText", header.modified);
    DateMembers(json, "backedUp", "backedUpText", header.backedUp);
    NumberMember(json, "modificationNumber", header.modificationNumber);
    NumberMember(json, "appInfoOffset", header.appInfoOffset);
    NumberMember(json, "sortInfoOffset", header.sortInfoOffset);
    json.Key("type");
    json.String(context.Utf8(std::string_view(reinterpret_cast<const char*>(header.type.bytes), 4)));
    json.Key("creator");
    json.String(context.Utf8(std::string_view(reinterpret_cast<const char*>(header.creator.bytes), 4)));
    NumberMember(json, "uniqueIdSeed", header.uniqueIdSeed);
    NumberMember(json, "nextRecordList", header.nextRecordList);
    NumberMember(json, "entryCount", header.entryCount);
    json.Key("resources");
    json.Bool(model.HoldsResources());
    json.Key("contents");
    json.String(ContentsName(context.database));
    json.CloseObject();
}

void WriteBlock(const ExportContext& context, JsonOut& json, const char* key, const ByteSpan& block) {
    json.Key(key);
    if (block.data == nullptr) {
        json.Null();
        return;
    }
    const DatabaseModel& model = context.model;
    json.OpenObject();
    NumberMember(json, "offset", static_cast<uint64_t>(block.data - model.Bytes()));
    NumberMember(json, "size", block.size);
    if (block.data == model.AppInfo().data) {
        if (model.HasCategoryLabels()) {
            json.Key("categories");
            json.OpenArray();
            for (unsigned category = 0; category < 16; ++category)
                json.String(context.Utf8(model.CategoryLabel(category)));
            json.CloseArray();
        }
        JsonFields fields(json, context.decoder);
        context.database.Reader().WriteJsonAppInfo(fields);
    }
    if (context.withData) {
        json.Key("data");
        json.Hex(block.data, block.size);
    }
    json.CloseObject();
}

void WriteRecordMembers(const ExportContext& context, JsonOut& json, const ModelEntry& entry) {
    NumberMember(json, "attributes", entry.attributes);
    const bool gone = record_flags::IsGone(entry.attributes);
    json.Key("flags");
    json.OpenObject();
    const struct {
        const char* name;
        uint8_t bit;
    } kFlags[] = {{"expunged", record_flags::kExpunged}, {"dirty", record_flags::kDirty},
                  {"deleted", record_flags::kDeleted},   {"private", record_flags::kPrivate}};
    for (const auto& flag : kFlags) {
        json.Key(flag.name);
        json.Bool((entry.attributes & flag.bit) != 0);
    }
    // The archive bit shares its place with the category's: it means
    // something only once the record is deleted.
    json.Key("archive");
    json.Bool(gone && (entry.attributes & record_flags::kArchive) != 0);
    json.CloseObject();
    json.Key("category");
    if (gone)
        json.Null();
    else
        json.Number(entry.Category());
    json.Key("categoryName");
    if (gone) {
        json.Null();
    } else {
        const std::string_view label = context.model.CategoryLabel(entry.Category());
        if (label.empty())
            json.Null();
        else
            json.String(context.Utf8(label));
    }
    NumberMember(json, "uniqueId", entry.UniqueId());
}

// The writer only appends to `out`, never reads it back: what is passed on
// between two entries leaves it nothing to miss.
void WriteEntries(const ExportContext& context, JsonOut& json, std::string& out) {
    const DatabaseModel& model = context.model;
    JsonFields fields(json, context.decoder);
    json.Key("entries");
    json.OpenArray();
    for (size_t index : context.indexes) {
        const ModelEntry& entry = model.Entry(index);
        const ByteSpan data = model.Data(index);
        json.OpenObject();
        NumberMember(json, "index", index);
        NumberMember(json, "offset", entry.offset);
        json.Key("size");
        if (entry.hasData)
            json.Number(data.size);
        else
            json.Null();
        if (model.HoldsResources()) {
            json.Key("type");
            json.String(context.Utf8(std::string_view(reinterpret_cast<const char*>(entry.type.bytes), 4)));
            NumberMember(json, "id", entry.id);
        } else {
            WriteRecordMembers(context, json, entry);
        }
        json.Key("fields");
        if (context.database.Decodes(index) && context.database.Reader().HasJsonFields(index)) {
            json.OpenObject();
            context.database.Reader().WriteJsonFields(index, fields);
            json.CloseObject();
        } else {
            json.Null();
        }
        if (context.withData) {
            json.Key("data");
            if (entry.hasData)
                json.Hex(data.data, data.size);
            else
                json.Null();
        }
        json.CloseObject();
        if (!PassOn(context, out)) break;
    }
    json.CloseArray();
}

}  // namespace

void WriteJson(const ExportContext& context, std::string& out) {
    const DatabaseModel& model = context.model;
    JsonOut json(out);
    json.OpenObject();
    json.Key("file");
    json.OpenObject();
    NumberMember(json, "size", model.Size());
    json.Key("headerWhole");
    json.Bool(model.HeaderWhole());
    NumberMember(json, "announcedEntries", model.AnnouncedCount());
    NumberMember(json, "entriesInFile", model.Count());
    json.CloseObject();
    WriteHeader(context, json);
    WriteBlock(context, json, "appInfo", model.AppInfo());
    WriteBlock(context, json, "sortInfo", model.SortInfo());
    WriteEntries(context, json, out);
    json.CloseObject();
}

}  // namespace corvelle
