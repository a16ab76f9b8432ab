// Helpers shared by the engine's tests: build a database in memory and
// report it, and pick lines out of a report.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dump/PalmDump.h"
#include "tools/PalmWriter.h"

namespace corvelle::testing {

inline std::string ReportOf(const std::string& bytes) {
    // A copy of exactly the file's length on the heap, so that a read past
    // the end is caught by the address sanitizer.
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    return BuildReport(copy.empty() ? nullptr : copy.data(), static_cast<uint32_t>(copy.size()));
}

inline std::string ReportOf(const samples::PalmDatabase& database) {
    return ReportOf(samples::SerializePalmDatabase(database));
}

// The report's lines without their CR LF; fails the test on a bare LF or CR.
std::vector<std::string> Lines(const std::string& report);

// True when the report has exactly this line.
bool HasLine(const std::string& report, const std::string& line);

// The lines from the first that equals `first` up to the next empty line.
std::vector<std::string> Block(const std::string& report, const std::string& first);

}  // namespace corvelle::testing
