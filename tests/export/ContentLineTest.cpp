// Folding and escaping of vCard and iCalendar content lines, and the JSON
// string escaping: the edges where a reader would misread the value.
#include <gtest/gtest.h>

#include <string>

#include "standards/ContentLine.h"
#include "standards/JsonString.h"
#include "standards/Rfc2426.h"
#include "standards/Utf8.h"

namespace corvelle {
namespace {

struct EscapeRow {
    const char* name;
    std::string in;
    std::string out;
};

class EscapedText : public testing::TestWithParam<EscapeRow> {};

TEST_P(EscapedText, MatchesTheStandardsEscapes) {
    std::string out;
    AppendEscapedText(GetParam().in, out);
    EXPECT_EQ(out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Rows, EscapedText,
                         testing::Values(EscapeRow{"Comma", "a,b", "a\\,b"}, EscapeRow{"Semicolon", "a;b", "a\\;b"},
                                         EscapeRow{"Backslash", "a\\n", "a\\\\n"},
                                         EscapeRow{"LineFeed", "a\nb", "a\\nb"},
                                         EscapeRow{"CarriageReturnLineFeedIsOneBreak", "a\r\nb", "a\\nb"},
                                         EscapeRow{"LoneCarriageReturn", "a\rb", "a\\nb"},
                                         EscapeRow{"TabStays", "a\tb", "a\tb"},
                                         EscapeRow{"OtherControlIsReplaced", std::string("a\x01") + "b",
                                                   "a\xEF\xBF\xBD" "b"},
                                         EscapeRow{"Delete", "a\x7F", "a\xEF\xBF\xBD"}),
                         [](const auto& info) { return info.param.name; });

TEST(VCardStructured, KeepsSeparatorsInsideTheirPart) {
    EXPECT_EQ(VCardStructured({"Smith; Jr", "Ann, Lee", ""}), "Smith\\; Jr;Ann\\, Lee;");
}

// Each physical line: at most 75 octets, valid UTF-8 by itself; unfolded,
// the line as it was.
void ExpectFoldedWell(const std::string& line, const std::string& folded) {
    std::string unfolded;
    size_t start = 0;
    while (start < folded.size()) {
        const size_t end = folded.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "no CR LF at the end";
        const std::string piece = folded.substr(start, end - start);
        EXPECT_LE(piece.size(), kContentLineOctets);
        for (size_t i = 0; i < piece.size();) {
            const size_t length = Utf8SequenceLength(piece, i);
            ASSERT_NE(length, 0u) << "a sequence split at byte " << i << " of " << piece;
            i += length;
        }
        unfolded += start == 0 ? piece : piece.substr(1);
        if (start != 0) {
            EXPECT_EQ(piece[0], ' ');
        }
        start = end + 2;
    }
    EXPECT_EQ(unfolded, line);
}

struct FoldRow {
    const char* name;
    std::string line;
    size_t physicalLines;
};

class FoldedLine : public testing::TestWithParam<FoldRow> {};

TEST_P(FoldedLine, StaysWithinSeventyFiveOctets) {
    std::string folded;
    AppendFoldedLine(GetParam().line, folded);
    ExpectFoldedWell(GetParam().line, folded);
    size_t lines = 0;
    for (size_t at = folded.find("\r\n"); at != std::string::npos; at = folded.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, GetParam().physicalLines);
}

const std::string kEAcute = "\xC3\xA9";
const std::string kClef = "\xF0\x9D\x84\x9E";  // four octets

INSTANTIATE_TEST_SUITE_P(
    Rows, FoldedLine,
    testing::Values(FoldRow{"Empty", "", 1}, FoldRow{"Exactly75", std::string(75, 'a'), 1},
                    FoldRow{"Seventy6", std::string(76, 'a'), 2},
                    FoldRow{"ContinuationsHold74", std::string(75 + 74, 'a'), 2},
                    FoldRow{"OneMore", std::string(75 + 74 + 1, 'a'), 3},
                    FoldRow{"TwoOctetsAcrossTheEdge", std::string(74, 'a') + kEAcute + "b", 2},
                    FoldRow{"FourOctetsAcrossTheEdge", std::string(73, 'a') + kClef, 2},
                    FoldRow{"OnlyMultiByte", [] {
                                std::string s;
                                for (int i = 0; i < 100; ++i) s += i % 2 ? kClef : kEAcute;
                                return s;
                            }(),
                            5}),
    [](const auto& info) { return info.param.name; });

TEST(FoldedLine, CutsBeforeASequenceThatWouldNotFit) {
    std::string folded;
    AppendFoldedLine(std::string(74, 'a') + kEAcute, folded);
    EXPECT_EQ(folded, std::string(74, 'a') + "\r\n " + kEAcute + "\r\n");
}

struct JsonRow {
    const char* name;
    std::string in;
    std::string out;
};

void PrintTo(const JsonRow& row, std::ostream* out) { *out << row.name; }

class JsonString : public testing::TestWithParam<JsonRow> {};

TEST_P(JsonString, EscapesAndRepairs) {
    std::string out;
    AppendJsonString(GetParam().in, out);
    EXPECT_EQ(out, "\"" + GetParam().out + "\"");
    // Inside plain text, at every offset of the eight bytes taken at once: the same.
    const std::string plain = "0123456789abcdefg";
    for (size_t at = 0; at <= plain.size(); ++at) {
        SCOPED_TRACE(at);
        out.clear();
        AppendJsonString(plain.substr(0, at) + GetParam().in + plain.substr(at), out);
        EXPECT_EQ(out, "\"" + plain.substr(0, at) + GetParam().out + plain.substr(at) + "\"");
    }
}

const std::string kFffd = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Rows, JsonString,
    testing::Values(JsonRow{"Quote", "a\"b", "a\\\"b"}, JsonRow{"Backslash", "a\\b", "a\\\\b"},
                    JsonRow{"ShortEscapes", "\n\r\t", "\\n\\r\\t"}, JsonRow{"DeleteStays", "\x7F", "\x7F"},
                    JsonRow{"OtherControl", std::string("\x01\x1F", 2), "\\u0001\\u001f"},
                    JsonRow{"ZeroByte", std::string("a\0b", 3), "a\\u0000b"},
                    JsonRow{"ValidUtf8Stays", kEAcute + kClef, kEAcute + kClef},
                    JsonRow{"StrayContinuation", "\x80", kFffd}, JsonRow{"CutSequence", "a\xC3", "a" + kFffd},
                    JsonRow{"Overlong", "\xC0\x80", kFffd + kFffd},
                    JsonRow{"OverlongThreeOctets", "\xE0\x80\xAF", kFffd + kFffd + kFffd},
                    JsonRow{"Surrogate", "\xED\xA0\x80", kFffd + kFffd + kFffd},
                    JsonRow{"PastU10FFFF", "\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
