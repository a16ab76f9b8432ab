// The writers on records that the Palm modules' fixtures do not make: odd
// repeats, no alarm, a Shift_JIS character across two PalmDOC records, and
// the JSON of entries without data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "export/Export.h"
#include "export/JsonString.h"
#include "tools/PalmWriter.h"

namespace corvelle {
namespace {

using samples::PalmDatabase;

std::string Export(const PalmDatabase& database, ExportFormat format, std::vector<std::string>* warnings = nullptr,
                   const char* encoding = "cp1252") {
    const std::string bytes = samples::SerializePalmDatabase(database);
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ExportOptions options;
    options.encoding = encoding;
    options.warnings = warnings;
    std::string out, error;
    EXPECT_TRUE(ExportToText(model, format, options, out, error)) << error;
    return out;
}

std::string Be16(unsigned value) { return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)}; }

struct RepeatRow {
    const char* name;
    bool timed;
    std::string repeat;  // the 8 repeat bytes: type, pad, end, frequency, repeat-on, start of week, pad
    const char* rule;    // the RRULE line, or "" for none
    size_t warnings;
};

class RepeatRules : public testing::TestWithParam<RepeatRow> {};

TEST_P(RepeatRules, FollowTheDateBook) {
    PalmDatabase book;
    book.type = "DATA";
    book.creator = "date";
    const std::string times = GetParam().timed ? std::string("\x09\x00\x0A\x00", 4) : std::string(4, '\xFF');
    // 2002-01-08 (a Tuesday), repeat and description flags.
    book.records = {{0, 1, times + Be16((98u << 9) | (1u << 5) | 8u) + Be16(0x2400) + GetParam().repeat + "x" + '\0'}};
    std::vector<std::string> warnings;
    const std::string out = Export(book, ExportFormat::kICalendar, &warnings);
    const size_t at = out.find("RRULE:");
    const std::string rule = at == std::string::npos ? "" : out.substr(at, out.find("\r\n", at) - at);
    EXPECT_EQ(rule, GetParam().rule);
    EXPECT_EQ(warnings.size(), GetParam().warnings);
}

const std::string kNoEnd = "\xFF\xFF";
const std::string kEnd2002 = Be16((98u << 9) | (12u << 5) | 31u);

INSTANTIATE_TEST_SUITE_P(
    Rows, RepeatRules,
    testing::Values(
        RepeatRow{"FrequencyZeroIsEveryDay", true, std::string("\x01\x00", 2) + kNoEnd + std::string(4, '\0'),
                  "RRULE:FREQ=DAILY", 0},
        RepeatRow{"UntilOfATimedOneIsTheEndOfTheDay", true,
                  std::string("\x01\x00", 2) + kEnd2002 + std::string("\x03\x00\x00\x00", 4),
                  "RRULE:FREQ=DAILY;INTERVAL=3;UNTIL=20021231T235959", 0},
        RepeatRow{"UntilOfAnAllDayOneIsADate", false,
                  std::string("\x05\x00", 2) + kEnd2002 + std::string("\x01\x00\x00\x00", 4),
                  "RRULE:FREQ=YEARLY;UNTIL=20021231", 0},
        RepeatRow{"WeeklyWithoutDaysTakesTheStartsDay", true,
                  std::string("\x02\x00", 2) + kNoEnd + std::string("\x01\x00\x00\x00", 4),
                  "RRULE:FREQ=WEEKLY;WKST=SU", 0},
        RepeatRow{"WeeklyFromMonday", true, std::string("\x02\x00", 2) + kNoEnd + std::string("\x02\x41\x01\x00", 4),
                  "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=SU,SA;WKST=MO", 0},
        RepeatRow{"SecondTuesday", true, std::string("\x03\x00", 2) + kNoEnd + std::string("\x01\x09\x00\x00", 4),
                  "RRULE:FREQ=MONTHLY;BYDAY=2TU", 0},
        RepeatRow{"LastTuesday", true, std::string("\x03\x00", 2) + kNoEnd + std::string("\x01\x1E\x00\x00", 4),
                  "RRULE:FREQ=MONTHLY;BYDAY=-1TU", 0},
        RepeatRow{"NoSixthWeek", true, std::string("\x03\x00", 2) + kNoEnd + std::string("\x01\x25\x00\x00", 4), "",
                  1},
        RepeatRow{"UnknownType", true, std::string("\x07\x00", 2) + kNoEnd + std::string("\x01\x00\x00\x00", 4), "", 1},
        RepeatRow{"EndOnNoDayIsNoEnd", false,
                  std::string("\x04\x00", 2) + Be16((98u << 9) | (2u << 5) | 30u) + std::string("\x01\x00\x00\x00", 4),
                  "RRULE:FREQ=MONTHLY", 1}),
    [](const auto& info) { return info.param.name; });

TEST(CalendarExport, TheDateBooksNoAlarmGivesNoAlarm) {
    PalmDatabase book;
    book.type = "DATA";
    book.creator = "date";
    const std::string start = std::string("\x09\x00\x0A\x00", 4) + Be16((98u << 9) | (1u << 5) | 8u);
    book.records = {{0, 1, start + Be16(0x4000) + std::string("\xFF\x00", 2)},
                    {0, 2, start + Be16(0x4000) + std::string("\xFE\x01", 2)}};
    const std::string out = Export(book, ExportFormat::kICalendar);
    EXPECT_EQ(out.find("BEGIN:VALARM"), out.rfind("BEGIN:VALARM"));
    EXPECT_NE(out.find("TRIGGER:PT2H\r\n"), std::string::npos) << "a negative advance rings after the start";
}

TEST(TextExport, JoinsDocumentRecordsBeforeConverting) {
    PalmDatabase document;
    document.type = "TEXt";
    document.creator = "REAd";
    // Uncompressed, 5 bytes of text in 2 records.
    const std::string header =
        Be16(1) + Be16(0) + std::string("\0\0\0\x05", 4) + Be16(2) + Be16(4096) + std::string(4, '\0');
    document.records = {{0, 1, header},
                        {0, 2, "ab\x82"},
                        {0, 3, "\xA0" "c"},
                        {0, 4, "not text"}};
    EXPECT_EQ(Export(document, ExportFormat::kText, nullptr, "shift_jis"), "ab\xE3\x81\x82" "c");
}

TEST(JsonExport, KeepsWhatTheOtherFormatsLeaveOut) {
    PalmDatabase memos;
    memos.type = "DATA";
    memos.creator = "memo";
    memos.records = {{record_flags::kDeleted | record_flags::kArchive, 0x0A0B0C, std::string("old\0", 4)}};
    const std::string out = Export(memos, ExportFormat::kJson);
    EXPECT_NE(out.find("\"deleted\": true"), std::string::npos) << out;
    EXPECT_NE(out.find("\"archive\": true"), std::string::npos);
    EXPECT_NE(out.find("\"category\": null"), std::string::npos);
    EXPECT_NE(out.find("\"uniqueId\": 658188"), std::string::npos);
    EXPECT_NE(out.find("\"text\": \"old\""), std::string::npos);
}

TEST(JsonOut, PlacesCommasAndClosesEmptyContainers) {
    std::string out;
    JsonOut json(out);
    json.OpenObject();
    json.Key("a");
    json.OpenArray();
    json.CloseArray();
    json.Key("b");
    json.OpenArray();
    json.Number(1);
    json.Signed(-2);
    json.OpenObject();
    json.CloseObject();
    json.CloseArray();
    json.Key("c");
    json.Null();
    json.CloseObject();
    EXPECT_EQ(out, "{\n  \"a\": [],\n  \"b\": [\n    1,\n    -2,\n    {}\n  ],\n  \"c\": null\n}\n");
}

}  // namespace
}  // namespace corvelle
