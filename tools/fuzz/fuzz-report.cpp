// libFuzzer entry point: the report of arbitrary bytes. The sanitizers flag
// any read past the input; the checks below flag reports that break the
// report's own shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dump/PalmDump.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0xFFFFFFFFu) return 0;
    // An exact-size copy, so that reading one byte too far is caught.
    std::vector<uint8_t> file(data, data + size);
    const std::string report =
        corvelle::BuildReport(file.empty() ? nullptr : file.data(), static_cast<uint32_t>(file.size()));
    if (report.compare(0, 24, "Header Information :\r\n\r\n") != 0) std::abort();
    if (report.size() < 2 || report.compare(report.size() - 2, 2, "\r\n") != 0) std::abort();
    return 0;
}
