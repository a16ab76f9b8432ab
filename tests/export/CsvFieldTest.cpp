// CSV fields and records (RFC 4180): the edges where a spreadsheet or a
// parser would split, join, trim or drop a cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standards/Rfc4180.h"

namespace corvelle {
namespace {

struct FieldRow {
    const char* name;
    std::string in;
    std::string out;
};

class CsvField : public testing::TestWithParam<FieldRow> {};

TEST_P(CsvField, IsQuotedWhereItWouldBeMisread) {
    std::string out = "x";
    AppendCsvField(GetParam().in, out);
    EXPECT_EQ(out, "x" + GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CsvField,
    testing::Values(FieldRow{"Plain", "Lunch", "Lunch"}, FieldRow{"Empty", "", ""},
                    FieldRow{"Comma", "Smith, Ann", "\"Smith, Ann\""},
                    FieldRow{"QuoteDoubled", "5\" disk", "\"5\"\" disk\""},
                    FieldRow{"OnlyAQuote", "\"", "\"\"\"\""},
                    FieldRow{"LineFeedKept", "a\nb", "\"a\nb\""},
                    FieldRow{"CarriageReturnLineFeedKept", "a\r\nb", "\"a\r\nb\""},
                    FieldRow{"LoneCarriageReturn", "a\rb", "\"a\rb\""},
                    FieldRow{"LeadingSpace", " 12.50", "\" 12.50\""}, FieldRow{"TrailingSpace", "Bonn ", "\"Bonn \""},
                    FieldRow{"InnerSpaceBare", "New York", "New York"}, FieldRow{"TabBare", "a\tb", "a\tb"},
                    FieldRow{"SemicolonBare", "a;b", "a;b"},
                    FieldRow{"ControlReplaced", std::string("a\0b", 3), "a\xEF\xBF\xBD" "b"},
                    FieldRow{"DeleteReplaced", "a\x7F", "a\xEF\xBF\xBD"},
                    FieldRow{"Utf8Kept", "Caf\xC3\xA9, Z\xC3\xBCrich", "\"Caf\xC3\xA9, Z\xC3\xBCrich\""}),
    [](const auto& info) { return info.param.name; });

struct RecordRow {
    const char* name;
    std::vector<std::string> fields;
    std::string out;
};

class CsvRecord : public testing::TestWithParam<RecordRow> {};

TEST_P(CsvRecord, EndsInCarriageReturnLineFeed) {
    std::string out;
    AppendCsvRecord(GetParam().fields, out);
    EXPECT_EQ(out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Rows, CsvRecord,
                         testing::Values(RecordRow{"Three", {"a", "b,c", ""}, "a,\"b,c\",\r\n"},
                                         RecordRow{"AllEmpty", {"", ""}, ",\r\n"},
                                         RecordRow{"OneEmptyFieldIsNoBlankLine", {""}, "\"\"\r\n"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
