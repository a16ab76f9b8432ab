// Mail headers and bodies (RFC 5322, RFC 2047, RFC 2045, mboxrd): the edges
// where a reader would take a header for two, split a character, lose an
// address or take a body line for the next message's start.
#include <gtest/gtest.h>

#include <string>

#include "standards/Rfc5322.h"
#include "standards/Utf8.h"

namespace corvelle {
namespace {

struct ValueRow {
    const char* name;
    std::string (*make)(std::string_view);
    std::string in;
    std::string out;
};

class HeaderValue : public testing::TestWithParam<ValueRow> {};

TEST_P(HeaderValue, IsWhatReadersDecode) { EXPECT_EQ(GetParam().make(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Rows, HeaderValue,
    testing::Values(
        ValueRow{"AsciiSubjectAsItIs", UnstructuredValue, "Hello, world", "Hello, world"},
        ValueRow{"SubjectEncoded", UnstructuredValue, "Gr\xC3\xBC\xC3\x9F" "e", "=?UTF-8?B?R3LDvMOfZQ==?="},
        ValueRow{"AsciiAddressesAsTheyAre", AddressListValue, "a@x.org,  \"Doe, J\" <j@x.org>",
                 "a@x.org, \"Doe, J\" <j@x.org>"},
        ValueRow{"DisplayNameEncodedAddressKept", AddressListValue, "\"Zo\xC3\xAB\" <z@x.org>",
                 "=?UTF-8?B?Wm/Dqw==?= <z@x.org>"},
        ValueRow{"CommaInsideAngleBrackets", AddressListValue, "M\xC3\xBC <m,1@x>, b@x",
                 "=?UTF-8?B?TcO8?= <m,1@x>, b@x"},
        ValueRow{"FirstAddressInBrackets",
                 [](std::string_view t) { return FirstAddress(t); }, "Ann Lee <ann@x.org>, b@y", "ann@x.org"},
        ValueRow{"FirstAddressBare", [](std::string_view t) { return FirstAddress(t); }, "see ann@x.org", "ann@x.org"},
        ValueRow{"NoAddress", [](std::string_view t) { return FirstAddress(t); }, "Ann Lee", ""}),
    [](const auto& info) { return info.param.name; });

TEST(EncodedWords, NeverSplitACharacterAndStayWithin75Octets) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "\xE2\x82\xAC";  // 40 euro signs, 120 bytes
    const std::string value = UnstructuredValue(text);
    std::string decoded;
    for (size_t at = 0; at < value.size();) {
        size_t end = value.find(' ', at);
        if (end == std::string::npos) end = value.size();
        const std::string word = value.substr(at, end - at);
        EXPECT_LE(word.size(), 75u) << word;
        EXPECT_EQ(word.rfind("=?UTF-8?B?", 0), 0u);
        at = end + 1;
    }
    EXPECT_NE(value.find(' '), std::string::npos) << "120 bytes need more than one word";
    EXPECT_EQ(value.find("=="), std::string::npos) << "45-byte words of whole 3-byte characters need no padding";
}

struct FieldRow {
    const char* name;
    std::string value;
    std::string out;
};

class HeaderField : public testing::TestWithParam<FieldRow> {};

TEST_P(HeaderField, IsOneFieldOfShortLines) {
    std::string out;
    AppendHeaderField("Subject", GetParam().value, out);
    EXPECT_EQ(out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HeaderField,
    testing::Values(FieldRow{"Short", "Hi", "Subject: Hi\r\n"},
                    FieldRow{"LineBreaksCannotStartAnotherField", "a\r\nBcc: evil@x", "Subject: a  Bcc: evil@x\r\n"},
                    FieldRow{"FoldedAtASpace", std::string(70, 'a') + " " + std::string(20, 'b'),
                             "Subject: " + std::string(70, 'a') + "\r\n " + std::string(20, 'b') + "\r\n"},
                    FieldRow{"AWordLongerThanALineStaysWhole", std::string(100, 'c'),
                             "Subject: " + std::string(100, 'c') + "\r\n"}),
    [](const auto& info) { return info.param.name; });

struct BodyRow {
    const char* name;
    std::string body;
    std::string out;
};

class MboxBody : public testing::TestWithParam<BodyRow> {};

TEST_P(MboxBody, HasCrLfLinesAndQuotedFromLines) {
    std::string out;
    AppendMboxBody(GetParam().body, out);
    EXPECT_EQ(out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Rows, MboxBody,
                         testing::Values(BodyRow{"LineEndsOfEveryKind", "a\nb\r\nc\rd", "a\r\nb\r\nc\r\nd\r\n"},
                                         BodyRow{"FromLineQuoted", "From me\n>From you\n>>From x",
                                                 ">From me\r\n>>From you\r\n>>>From x\r\n"},
                                         BodyRow{"FromInsideALineKept", "not From here", "not From here\r\n"},
                                         BodyRow{"FromWithoutSpaceKept", "From:", "From:\r\n"},
                                         BodyRow{"EmptyLinesKept", "a\n\nb\n", "a\r\n\r\nb\r\n"}),
                         [](const auto& info) { return info.param.name; });

TEST(QuotedPrintableBody, KeepsLinesShortAndNoneBeginsWithFrom) {
    std::string body = "From the start " + std::string(200, 'x') + " \xC3\xA9=\n>From a reply\n";
    EXPECT_FALSE(FitsEightBit(std::string(999, 'y')));
    EXPECT_TRUE(FitsEightBit(std::string(998, 'y') + "\n" + std::string(998, 'y')));
    std::string out;
    AppendQuotedPrintableBody(body, out);
    EXPECT_EQ(out.rfind("=46rom the start", 0), 0u) << out;
    EXPECT_NE(out.find("=A9=3D\r\n=3EFrom a reply\r\n"), std::string::npos)
        << "the \"=\" and the line's last bytes encoded, and a \">\" that mboxrd readers would take off";
    for (size_t at = 0; at < out.size();) {
        const size_t end = out.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - at, 76u);
        EXPECT_NE(out.compare(at, 5, "From "), 0);
        EXPECT_NE(out.compare(at, 6, ">From "), 0);
        at = end + 2;
    }
}

TEST(MailDates, NameTheWeekdayAndNoZone) {
    const CivilTime time{{2004, 2, 29}, 9, 5, 0};
    EXPECT_EQ(DateValue(time), "Sun, 29 Feb 2004 09:05:00 -0000");
    EXPECT_EQ(MboxDate(time), "Sun Feb 29 09:05:00 2004");
}

}  // namespace
}  // namespace corvelle
