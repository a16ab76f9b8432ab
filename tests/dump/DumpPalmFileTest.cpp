#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dump/MappedFile.h"
#include "dump/PalmDump.h"
#include "tools/PalmWriter.h"

namespace corvelle {
namespace {

class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& bytes) {
        char name[] = "/tmp/corvelle-test-XXXXXX";
        const int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fd);
        m_path = name;
    }
    ~TemporaryFile() { std::remove(m_path.c_str()); }
    const char* Path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

TEST(MappedFile, StatusOfEachOutcome) {
    MappedFile file;
    EXPECT_EQ(file.StatusCode(), MappedFile::kNotOpened);
    EXPECT_EQ(file.Open("/nonexistent/corvelle.pdb"), MappedFile::kNotOpened);

    TemporaryFile empty("");
    EXPECT_EQ(file.Open(empty.Path()), MappedFile::kNoMapping);
    EXPECT_EQ(file.View(), nullptr);

    TemporaryFile data("hello");
    EXPECT_EQ(file.Open(data.Path()), MappedFile::kMapped);
    ASSERT_NE(file.View(), nullptr);
    EXPECT_EQ(file.Size(), 5u);
    EXPECT_EQ(std::memcmp(file.View(), "hello", 5), 0);
    file.Close();
    EXPECT_EQ(file.StatusCode(), MappedFile::kNotOpened);
    EXPECT_EQ(file.View(), nullptr);
}

TEST(DumpPalmFile, FilesThatDoNotMapGiveOneLineSayingWhy) {
    TemporaryFile empty("");
    EXPECT_EQ(DumpPalmFile("/nonexistent/corvelle.pdb"), "Cannot open file.\r\n");
    EXPECT_EQ(DumpPalmFile(empty.Path()), "File is empty.\r\n");
    EXPECT_EQ(DumpPalmFile("/tmp"), "Cannot open file.\r\n");
}

TEST(DumpPalmFile, ATinyFileIsReportedAsCutShort) {
    TemporaryFile tiny("AB");
    EXPECT_EQ(DumpPalmFile(tiny.Path()),
              "Header Information :\r\n\r\n\tName of database:\tAB\r\n"
              "\tThe file ends at byte 2: the header is cut short.\r\n");
}

// The command-line tool streams the report in chunks; the bytes must be the
// same as the whole report's, across many chunk boundaries.
TEST(StreamReport, ChunksAddUpToTheWholeReport) {
    for (uint32_t records : {0u, 1u, 700u, 20000u}) {
        SCOPED_TRACE(records);
        TemporaryFile database(samples::SerializePalmDatabase(samples::SyntheticRecordDatabase(records)));
        MappedFile file;
        ASSERT_EQ(file.Open(database.Path()), MappedFile::kMapped);
        std::string streamed;
        size_t chunks = 0;
        struct Sink {
            std::string* text;
            size_t* chunks;
        } sink{&streamed, &chunks};
        StreamReport(
            file,
            [](void* context, const char* bytes, size_t size) {
                auto* s = static_cast<Sink*>(context);
                s->text->append(bytes, size);
                ++*s->chunks;
            },
            &sink);
        EXPECT_EQ(streamed, BuildReport(file));
        if (records == 20000) EXPECT_GT(chunks, 10u);
    }
}

struct DirectoryCase {
    const char* name;
    const char* path;
    const char* directory;
};

class DirectoryOfPathCases : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(DirectoryOfPathCases, InPlaceAndIntoADestination) {
    const DirectoryCase& c = GetParam();
    char inPlace[64];
    std::snprintf(inPlace, sizeof inPlace, "%s", c.path);
    EXPECT_STREQ(DirectoryOfPath(inPlace, nullptr, 0), c.directory);
    EXPECT_STREQ(inPlace, c.directory);

    char source[64];
    std::snprintf(source, sizeof source, "%s", c.path);
    char destination[64] = {};
    EXPECT_EQ(DirectoryOfPath(source, destination, sizeof destination - 1), destination);
    EXPECT_STREQ(destination, c.directory);
    EXPECT_STREQ(source, c.path);
}

const DirectoryCase kDirectoryCases[] = {
    {"FileInDirectory", "C:\\tc\\plugins.ini", "C:\\tc\\"},
    {"NoBackslash", "plugins.ini", "plugins.ini"},
    {"EndsInBackslash", "C:\\tc\\", "C:\\tc\\"},
    {"Empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Paths, DirectoryOfPathCases, ::testing::ValuesIn(kDirectoryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DirectoryOfPath, CopyIsLimitedToCount) {
    char source[] = "C:\\a\\b";
    char destination[8];
    std::memset(destination, 'x', sizeof destination);
    destination[4] = '\0';
    // strncpy copies "C:\a" without a terminator; the caller's zero at [4] ends it.
    DirectoryOfPath(source, destination, 4);
    EXPECT_STREQ(destination, "C:\\");
    EXPECT_EQ(destination[5], 'x');
}

}  // namespace
}  // namespace corvelle
