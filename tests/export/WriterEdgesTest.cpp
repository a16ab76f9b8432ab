// The writers on records that the Palm modules' fixtures do not make: odd
// repeats, no alarm, a Shift_JIS character across two PalmDOC records, and
// the JSON of entries without data.
#include "ExportFixture.h"
#include "standards/JsonString.h"

namespace corvelle {
namespace {

struct RepeatRow {
    const char* name;
    bool timed;
    std::string repeat;  // the 8 repeat bytes: type, pad, end, frequency, repeat-on, start of week, pad
    const char* rule;    // the RRULE line, or "" for none
    size_t warnings;
};

class RepeatRules : public testing::TestWithParam<RepeatRow> {};

TEST_P(RepeatRules, FollowTheDateBook) {
    const std::string times = GetParam().timed ? std::string("\x09\x00\x0A\x00", 4) : std::string(4, '\xFF');
    // 2002-01-08 (a Tuesday), repeat and description flags.
    const std::string record = times + Be16(PackDate(2002, 1, 8)) + Be16(0x2400) + GetParam().repeat + "x" + '\0';
    std::vector<std::string> warnings;
    ExportOptions options;
    options.warnings = &warnings;
    const std::string out = Exported(Records("DATA", "date", {{0, 1, record}}), ExportType::kICalendar, options);
    const size_t at = out.find("RRULE:");
    const std::string rule = at == std::string::npos ? "" : out.substr(at, out.find("\r\n", at) - at);
    EXPECT_EQ(rule, GetParam().rule);
    EXPECT_EQ(warnings.size(), GetParam().warnings);
}

const std::string kNoEnd = "\xFF\xFF";
const std::string kEnd2002 = Be16(PackDate(2002, 12, 31));

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
                  std::string("\x04\x00", 2) + Be16(PackDate(2002, 2, 30)) + std::string("\x01\x00\x00\x00", 4),
                  "RRULE:FREQ=MONTHLY", 1}),
    [](const auto& info) { return info.param.name; });

TEST(CalendarExport, TheDateBooksNoAlarmGivesNoAlarm) {
    const std::string start = std::string("\x09\x00\x0A\x00", 4) + Be16(PackDate(2002, 1, 8)) + Be16(0x4000);
    const std::string out = Exported(Records("DATA", "date", {{0, 1, start + std::string("\xFF\x00", 2)},
                                                             {0, 2, start + std::string("\xFE\x01", 2)}}),
                                     ExportType::kICalendar);
    EXPECT_EQ(out.find("BEGIN:VALARM"), out.rfind("BEGIN:VALARM"));
    EXPECT_NE(out.find("TRIGGER:PT2H\r\n"), std::string::npos) << "a negative advance rings after the start";
}

TEST(TextExport, JoinsDocumentRecordsBeforeConverting) {
    // Uncompressed, 5 bytes of text in 2 records.
    const std::string header = Be16(1) + Be16(0) + Be32(5) + Be16(2) + Be16(4096) + Be32(0);
    ExportOptions options;
    options.encoding = "shift_jis";
    const auto document = Records("TEXt", "REAd", {{0, 1, header}, {0, 2, "ab\x82"}, {0, 3, "\xA0" "c"}, {0, 4, "x"}});
    EXPECT_EQ(Exported(document, ExportType::kText, options), "ab\xE3\x81\x82" "c");
}

TEST(JsonExport, KeepsWhatTheOtherFormatsLeaveOut) {
    const std::string out = Exported(
        Records("DATA", "memo", {{record_flags::kDeleted | record_flags::kArchive, 0x0A0B0C, std::string("old\0", 4)}}),
        ExportType::kJson);
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
