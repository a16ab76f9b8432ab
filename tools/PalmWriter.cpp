#include "tools/PalmWriter.h"

#include "tools/BigEndianWriter.h"
#include "tools/PalmBitmapWriter.h"

namespace corvelle::samples {
namespace {
void PutCode(std::string& out, const std::string& code) {
    for (size_t i = 0; i < 4; ++i) Put8(out, i < code.size() ? static_cast<uint8_t>(code[i]) : ' ');
}
void PutFixedText(std::string& out, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) Put8(out, i < text.size() && i + 1 < width ? static_cast<uint8_t>(text[i]) : 0);
}

// Seconds since 1904-01-01 for a time in 2002-2004, so the samples carry
// plausible dates.
constexpr uint32_t kApril2002 = 0xB8D35E80;

}  // namespace

std::string SerializePalmDatabase(const PalmDatabase& db) {
    const bool resources = !db.resources.empty();
    const size_t entries = resources ? db.resources.size() : db.records.size();
    const uint32_t listEnd = 78 + static_cast<uint32_t>(entries) * (resources ? 10 : 8);
    // Palm OS leaves two zero bytes after the list.
    uint32_t next = listEnd + 2;
    const uint32_t appInfoOffset = db.appInfo.empty() ? 0 : next;
    next += static_cast<uint32_t>(db.appInfo.size());

    std::string out;
    PutFixedText(out, db.name, 32);
    Put16(out, db.attributes);
    Put16(out, db.version);
    Put32(out, db.created);
    Put32(out, db.modified);
    Put32(out, db.backedUp);
    Put32(out, db.modificationNumber);
    Put32(out, appInfoOffset);
    Put32(out, 0);  // no sort-info block
    PutCode(out, db.type);
    PutCode(out, db.creator);
    Put32(out, db.uniqueIdSeed);
    Put32(out, 0);  // no further list
    Put16(out, static_cast<uint32_t>(entries));

    std::string body = db.appInfo;
    if (resources) {
        for (const PalmResource& resource : db.resources) {
            PutCode(out, resource.type);
            Put16(out, resource.id);
            Put32(out, next + static_cast<uint32_t>(body.size() - db.appInfo.size()));
            body += resource.data;
        }
    } else {
        for (const PalmRecord& record : db.records) {
            Put32(out, next + static_cast<uint32_t>(body.size() - db.appInfo.size()));
            Put8(out, record.attributes);
            Put8(out, record.uniqueId >> 16);
            Put16(out, record.uniqueId);
            body += record.data;
        }
    }
    Put16(out, 0);
    return out + body;
}

std::string CategoryAppInfo(const std::vector<std::string>& labels, uint16_t renamedBits) {
    std::string out;
    Put16(out, renamedBits);
    for (size_t i = 0; i < 16; ++i) PutFixedText(out, i < labels.size() ? labels[i] : std::string(), 16);
    for (size_t i = 0; i < 16; ++i) Put8(out, i < labels.size() ? static_cast<uint32_t>(i) : 0);
    Put8(out, labels.empty() ? 0 : static_cast<uint32_t>(labels.size() - 1));
    Put16(out, 0);  // padding as Palm OS writes it
    return out;
}

std::string PqaAppInfo(const std::string& signature, uint16_t headerVersion, uint16_t encoderVersion,
                       const std::string& versionText, const std::string& title) {
    auto putText = [](std::string& out, const std::string& text) {
        std::string stored = text;
        stored.push_back('\0');
        if (stored.size() % 2) stored.push_back('\0');
        Put16(out, static_cast<uint32_t>(stored.size() / 2));
        out += stored;
    };
    std::string out;
    PutCode(out, signature);
    Put16(out, headerVersion);
    Put16(out, encoderVersion);
    putText(out, versionText);
    putText(out, title);
    return out;
}

PalmDatabase SyntheticRecordDatabase(uint32_t records) {
    PalmDatabase db;
    db.name = "Synthetic records";
    db.attributes = 0x0008;
    db.version = 1;
    db.created = db.modified = kApril2002;
    db.type = "DATA";
    db.creator = "memo";
    db.appInfo = CategoryAppInfo({"Unfiled", "Business", "Personal"});
    db.records.resize(records);
    for (uint32_t i = 0; i < records; ++i) {
        db.records[i].attributes = static_cast<uint8_t>((i * 0x1D) & 0xFF);
        db.records[i].uniqueId = 0x100000 + i;
        db.records[i].data = "r";
    }
    return db;
}

PalmDatabase SyntheticResourceDatabase(uint32_t resources) {
    static const char* const kTypes[] = {"code", "data", "tFRM", "tSTR", "Tbmp", "MBAR", "Talt", "pref"};
    PalmDatabase db;
    db.name = "Synthetic resources";
    db.attributes = 0x0001;
    db.type = "appl";
    db.creator = "Synt";
    db.resources.resize(resources);
    for (uint32_t i = 0; i < resources; ++i) {
        db.resources[i].type = kTypes[i % 8];
        db.resources[i].id = static_cast<uint16_t>(i);
        db.resources[i].data = "r";
    }
    return db;
}

PalmDatabase MemoSample() {
    PalmDatabase db;
    db.name = "MemoDB";
    db.attributes = 0x0008;  // ready to back up
    db.version = 0x0001;
    db.created = kApril2002;
    db.modified = kApril2002 + 86400 * 30 + 3661;
    db.backedUp = 0;
    db.modificationNumber = 42;
    db.type = "DATA";
    db.creator = "memo";
    db.uniqueIdSeed = 0x00C0FFEE;
    db.appInfo = CategoryAppInfo({"Unfiled", "Business", "Personal", "Quotes", "Recipes"}, 0x0018);
    const struct {
        uint8_t attributes;
        const char* text;
    } memos[] = {
        {0x40, "Shopping list\nBread\nMilk"},          // dirty, category 0
        {0x41, "Call the garage about the car"},         // dirty, category 1
        {0x12, "PIN of the old safe: see paper copy"},   // private, category 2
        {0x03, "A good recipe needs good bread"},        // category 3
        {0x20, "Deleted note"},                          // deleted, not archived
        {0x28, "Archived note"},                         // deleted, marked to be archived
        {0xA8, "Expunged and archived"},                 // expunged and deleted, archived
        {0x44, "Pancakes: flour, eggs, milk"},           // dirty, category 4
    };
    uint32_t id = 0x5A0001;
    for (const auto& memo : memos) db.records.push_back({memo.attributes, id++, std::string(memo.text) + '\0'});
    return db;
}

PalmDatabase ApplicationSample() {
    PalmDatabase db;
    db.name = "Hello";
    db.attributes = 0x0001 | 0x0008 | 0x0200;  // resource, backup, launchable
    db.version = 0x0102;
    db.created = kApril2002;
    db.modified = kApril2002 + 600;
    db.type = "appl";
    db.creator = "HeLo";
    using namespace std::string_literals;  // resource data holds zero bytes
    const struct {
        const char* type;
        uint16_t id;
        std::string data;
    } resources[] = {
        {"code", 0, "\0\0\0\x28"s},  {"code", 1, "\x4E\x56\0\0\x4E\x75"s}, {"data", 0, "\0\0\0\0"s},
        {"pref", 0, "\0\x1E\0\0\x10\0"s}, {"tFRM", 1000, "form"s},       {"tSTR", 1000, "Hello, Palm!\0"s},
        {"Talt", 1001, "alert"s},    {"MBAR", 1000, "menu"s},           {"tAIN", 1000, "Hello\0"s},
        {"tAIB", 1000, HelloIconFamily()}, {"tver", 1, "1.2\0"s}, {"Tbmp", 1100, "bitmap"s},
    };
    for (const auto& resource : resources) db.resources.push_back({resource.type, resource.id, resource.data});
    return db;
}

PalmDatabase QuerySample() {
    PalmDatabase db;
    db.name = "Weather Query";
    db.attributes = 0x0001 | 0x0200;
    db.version = 0x0100;
    db.created = kApril2002 + 7200;
    db.modified = kApril2002 + 7200;
    db.type = "pqa ";
    db.creator = "clpr";
    db.appInfo = PqaAppInfo("lnch", 0x0102, 0x0001, "Palm Query Application 1.0", "Weather");
    db.records.push_back({0x00, 0x000001, "<html><body>Weather</body></html>"});
    db.records.push_back({0x00, 0x000002, "<html><body>Forecast</body></html>"});
    return db;
}

}  // namespace corvelle::samples
