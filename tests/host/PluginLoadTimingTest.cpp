// How long ListLoad takes, from the host's call to the returned viewer with
// the whole report in place. Printed, not asserted: the machine and Wine
// decide the figures.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Harness.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

struct LoadSize {
    const char* name;
    uint32_t records;
};

const std::vector<LoadSize> kLoadSizes = {
    {"SmallDatabase", 10},
    // Wine's rich-edit control takes most of the time and grows faster than
    // the report, so larger databases would hold up the suite for minutes.
    {"HundredsOfRecords", 300},
};

class PluginLoadTiming : public testing::TestWithParam<LoadSize> {};

TEST_P(PluginLoadTiming, PrintsListLoadTime) {
    CORVELLE_REQUIRE_PLUGIN();
    TempDir dir;
    const std::string pdb = dir.Write("timing.pdb", PalmDatabase::WithRecords(GetParam().records).Image());
    ListerWindow lister;

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const HWND frame = lister.Open(pdb);
    QueryPerformanceCounter(&end);
    ASSERT_NE(frame, nullptr);

    const ViewerParts parts = FindViewerParts(frame);
    ASSERT_TRUE(parts.IsComplete()) << DescribeTree(frame);
    const size_t shown = static_cast<size_t>(GetWindowTextLengthA(parts.dumpControl));
    EXPECT_EQ(shown, corvelle::DumpPalmFile(pdb.c_str()).size());

    const double milliseconds =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("ListLoad of %u records (%zu bytes of report): %.1f ms\n",
                static_cast<unsigned>(GetParam().records), shown, milliseconds);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PluginLoadTiming, testing::ValuesIn(kLoadSizes),
                         [](const testing::TestParamInfo<LoadSize>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle::host
