#include <gtest/gtest.h>

#include "dump/ByteReader.h"

namespace corvelle {
namespace {

const uint8_t kBytes[] = {0x03, 0xE8, 'a', 'b', 0x00, 'c', 0x12, 0x34};

TEST(ByteReader, ReadsBothByteOrders) {
    ByteReader reader(kBytes, sizeof kBytes);
    const Field2 id = reader.Read<2>();
    EXPECT_EQ(id.BigEndian(), 0x03E8u);
    EXPECT_EQ(id.Reversed(), 0xE803u);
    EXPECT_TRUE(reader.Ok());
}

TEST(ByteReader, AFailedReadIsStickyAndDoesNotMove) {
    ByteReader reader(kBytes, sizeof kBytes);
    reader.Seek(6);
    EXPECT_EQ(reader.U32BE(), 0u);
    EXPECT_FALSE(reader.Ok());
    EXPECT_EQ(reader.Offset(), 6u);
    // Even a read that would fit now answers zero.
    EXPECT_EQ(reader.U8(), 0u);
    EXPECT_EQ(reader.Offset(), 6u);
}

TEST(ByteReader, SeekPastTheEndFails) {
    ByteReader reader(kBytes, sizeof kBytes);
    reader.Seek(sizeof kBytes);
    EXPECT_TRUE(reader.Ok());
    reader.Seek(sizeof kBytes + 1);
    EXPECT_FALSE(reader.Ok());
}

TEST(ByteReader, HugeCountsDoNotWrapAround) {
    ByteReader reader(kBytes, sizeof kBytes);
    reader.Seek(4);
    EXPECT_FALSE(reader.CanRead(UINT64_MAX - 2));
    EXPECT_TRUE(reader.CanRead(4));
    EXPECT_FALSE(reader.CanRead(5));
}

struct TextCase {
    const char* name;
    uint64_t start;
    uint64_t width;  // 0: zero-terminated
    const char* text;
    bool ok;
};

class ByteReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ByteReaderText, StopsAtZeroOrAtTheEnd) {
    const TextCase& c = GetParam();
    ByteReader reader(kBytes, sizeof kBytes);
    reader.Seek(c.start);
    const std::string_view text = c.width ? reader.FixedText(c.width) : reader.ZeroTerminatedText();
    EXPECT_EQ(std::string(text), c.text);
    EXPECT_EQ(reader.Ok(), c.ok);
}

const TextCase kTextCases[] = {
    {"FixedWithZero", 2, 4, "ab", true},
    {"FixedWithoutZero", 2, 2, "ab", true},
    {"FixedCutByEnd", 5, 8, "c\x12\x34", false},
    {"TerminatedWithZero", 2, 0, "ab", true},
    {"TerminatedCutByEnd", 5, 0, "c\x12\x34", false},
    {"TerminatedAtEnd", 8, 0, "", false},
};

INSTANTIATE_TEST_SUITE_P(Texts, ByteReaderText, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ByteReader, NullViewReadsNothing) {
    ByteReader reader(nullptr, 100);
    EXPECT_EQ(reader.Size(), 0u);
    EXPECT_EQ(reader.U8(), 0u);
    EXPECT_FALSE(reader.Ok());
}

}  // namespace
}  // namespace corvelle
