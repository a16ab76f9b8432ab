// What the export tests share: a database written by the sample writer, the
// model over its bytes, one export of it, and the big-endian fields records hold.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "export/Export.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle {

struct Database {
    explicit Database(const samples::PalmDatabase& database)
        : bytes(samples::SerializePalmDatabase(database)),
          model(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) {}
    std::string bytes;
    DatabaseModel model;
};

inline samples::PalmDatabase Records(const char* type, const char* creator,
                                     std::vector<samples::PalmRecord> records = {}) {
    samples::PalmDatabase database;
    database.name = "Test";
    database.type = type;
    database.creator = creator;
    database.records = std::move(records);
    return database;
}

// The export of the whole database; a refusal fails the test.
inline std::string Exported(const samples::PalmDatabase& database, ExportType format,
                            const ExportOptions& options = {}) {
    const Database file(database);
    std::string out, error;
    EXPECT_TRUE(ExportToText(file.model, format, options, out, error)) << error;
    return out;
}

inline std::string Be16(unsigned value) { return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)}; }
inline std::string Be32(uint32_t value) { return Be16(value >> 16) + Be16(value & 0xFFFF); }
// 7 bits of years since 1904, 4 of month, 5 of day.
constexpr uint16_t PackDate(unsigned year, unsigned month, unsigned day) {
    return static_cast<uint16_t>(((year - 1904) << 9) | (month << 5) | day);
}

}  // namespace corvelle
