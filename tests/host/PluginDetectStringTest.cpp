// ListGetDetectString as the host calls it: with its buffer and its length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"

namespace corvelle::host {
namespace {

using ListGetDetectStringProc = void(__stdcall*)(char* detectString, int maxLen);

const std::string kExpected = "EXT=\"PDB\" | EXT=\"PRC\" | EXT=\"PQA\"";

struct DetectBuffer {
    const char* name;
    int maxLen;
    bool complete;
};

const std::vector<DetectBuffer> kBuffers = {
    {"HostDefault", 2048, true},
    {"ExactFit", static_cast<int>(kExpected.size() + 1), true},
    {"OneShort", static_cast<int>(kExpected.size()), false},
    {"OneByte", 1, false},
};

class PluginDetectString : public testing::TestWithParam<DetectBuffer> {};

TEST_P(PluginDetectString, FillsNoMoreThanTheGivenLength) {
    CORVELLE_REQUIRE_PLUGIN();
    const auto detect =
        PluginModule::Get().EntryAs<ListGetDetectStringProc>("ListGetDetectString");
    ASSERT_NE(detect, nullptr) << "ListGetDetectString is not exported";

    const DetectBuffer& row = GetParam();
    std::vector<char> buffer(static_cast<size_t>(row.maxLen) + 16, '#');
    detect(buffer.data(), row.maxLen);
    EXPECT_EQ(std::string(buffer.data()), row.complete ? kExpected : std::string());
    for (size_t i = static_cast<size_t>(row.maxLen); i < buffer.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(buffer[i], '#');
    }
}

INSTANTIATE_TEST_SUITE_P(Buffers, PluginDetectString, testing::ValuesIn(kBuffers),
                         [](const testing::TestParamInfo<DetectBuffer>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle::host
