#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/DetectString.h"

namespace corvelle {
namespace {

struct DetectCase {
    const char* name;
    size_t capacity;
    bool written;
};

const std::vector<DetectCase> kDetectCases = {
    {"HostDefaultBuffer", 2048, true},
    {"ExactFit", sizeof kDetectString, true},
    {"OneByteShort", sizeof kDetectString - 1, false},
    {"SingleByte", 1, false},
};

class DetectStringTest : public testing::TestWithParam<DetectCase> {};

TEST_P(DetectStringTest, RespectsBufferLength) {
    std::vector<char> buffer(GetParam().capacity + 8, '#');
    CopyDetectString(buffer.data(), GetParam().capacity);
    EXPECT_STREQ(buffer.data(), GetParam().written ? "EXT=\"PDB\" | EXT=\"PRC\" | EXT=\"PQA\"" : "");
    for (size_t i = GetParam().capacity; i < buffer.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(buffer[i], '#');
    }
}

INSTANTIATE_TEST_SUITE_P(Buffers, DetectStringTest, testing::ValuesIn(kDetectCases),
                         [](const testing::TestParamInfo<DetectCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(DetectStringEdgeTest, ZeroCapacityWritesNothing) {
    char byte = '#';
    CopyDetectString(&byte, 0);
    EXPECT_EQ(byte, '#');
}

}  // namespace
}  // namespace corvelle
