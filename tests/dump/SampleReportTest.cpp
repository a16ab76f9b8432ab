// The bundled samples: their golden reports, that the writer still makes
// them byte for byte, and that every truncation of them is reported safely.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "Fixtures.h"

namespace corvelle {
namespace {

using testing::ReportOf;

struct SampleCase {
    const char* name;
    const char* file;
    std::function<samples::PalmDatabase()> make;
};

const SampleCase kSamples[] = {
    {"Memos", "Memos.pdb", samples::MemoSample},
    {"Hello", "Hello.prc", samples::ApplicationSample},
    {"Query", "Query.pqa", samples::QuerySample},
};

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class SampleReport : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleReport, MatchesItsGoldenReport) {
    const std::string path = std::string(CORVELLE_SAMPLES) + "/" + GetParam().file;
    const std::string golden = ReadWholeFile(std::string(CORVELLE_TEST_DATA) + "/" + GetParam().file + ".report");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(DumpPalmFile(path.c_str()), golden);
}

TEST_P(SampleReport, CommittedSampleIsWhatTheWriterMakes) {
    const std::string path = std::string(CORVELLE_SAMPLES) + "/" + GetParam().file;
    EXPECT_EQ(ReadWholeFile(path), samples::SerializePalmDatabase(GetParam().make()));
}

// The report without its AppInfo section: what a file gives whose AppInfo
// block starts at or beyond its end (that block is dropped without a word).
std::string WithoutAppInfo(const std::string& report) {
    const size_t start = report.find("AppInfo :\r\n");
    if (start == std::string::npos) return report;
    const size_t end = report.find("\r\n\r\n", start);
    return report.substr(0, start) + report.substr(end + 4);
}

// Every prefix of the file: the report never reads past the end (the
// sanitizer build catches that), and it either is the whole file's report
// (less an AppInfo block that now starts outside the file) or says where the
// file ends.
TEST_P(SampleReport, EveryTruncationIsReportedSafely) {
    const std::string bytes = samples::SerializePalmDatabase(GetParam().make());
    const std::string full = ReportOf(bytes);
    const std::string fullWithoutAppInfo = WithoutAppInfo(full);
    for (size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE(length);
        const std::string report = ReportOf(bytes.substr(0, length));
        ASSERT_EQ(report.rfind("Header Information :\r\n\r\n", 0), 0u);
        const std::string endLine = "\tThe file ends at byte " + std::to_string(length) + ": ";
        ASSERT_TRUE(report == full || report == fullWithoutAppInfo || report.find(endLine) != std::string::npos);
        if (length < 78) {
            ASSERT_NE(report.find("the header is cut short"), std::string::npos);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleReport, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvelle
