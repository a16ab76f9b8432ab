// Writes Palm OS databases: the project's own samples, test fixtures and
// benchmark inputs. Offsets in the header and the list are computed from the
// parts given, as a Palm device would lay the file out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvelle::samples {

struct PalmRecord {
    uint8_t attributes = 0;  // flags in the high four bits, category in the low four
    uint32_t uniqueId = 0;   // 24 bits
    std::string data;
};

struct PalmResource {
    std::string type;  // four characters
    uint16_t id = 0;
    std::string data;
};

struct PalmDatabase {
    std::string name;  // at most 31 characters; a longer one is cut
    uint16_t attributes = 0;
    uint16_t version = 0;
    uint32_t created = 0;
    uint32_t modified = 0;
    uint32_t backedUp = 0;
    uint32_t modificationNumber = 0;
    std::string type = "DATA";     // four characters
    std::string creator = "test";  // four characters
    uint32_t uniqueIdSeed = 0;
    std::string appInfo;  // raw bytes of the AppInfo block, empty for none
    std::vector<PalmRecord> records;
    std::vector<PalmResource> resources;  // used instead of records when not empty
};

// The whole file.
std::string SerializePalmDatabase(const PalmDatabase& database);

// A standard category block: up to 16 labels (the rest empty), their unique
// IDs (index + 1 when not given), the last unique ID and the renamed bits.
std::string CategoryAppInfo(const std::vector<std::string>& labels, uint16_t renamedBits = 0);

// A PQA header: signature, header and encoder versions as stored, and the
// two texts, each stored with its zero byte and padded to 16-bit units.
std::string PqaAppInfo(const std::string& signature, uint16_t headerVersion, uint16_t encoderVersion,
                       const std::string& versionText, const std::string& title);

// A record database of the given number of records, as used by benchmarks
// and stress tests: attributes and IDs vary from record to record.
PalmDatabase SyntheticRecordDatabase(uint32_t records);
PalmDatabase SyntheticResourceDatabase(uint32_t resources);

// The three bundled samples.
PalmDatabase MemoSample();
PalmDatabase ApplicationSample();
PalmDatabase QuerySample();

}  // namespace corvelle::samples
