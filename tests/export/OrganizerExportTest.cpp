// iCalendar of Palm OS 5's Calendar and Tasks where the independent checks (export-calendar,
// export-tasks) do not reach: zones that share a name or have none, offsets and rules iCalendar
// cannot state, meetings with a second organizer or no address, and the task alarms, repeats and
// completion dates left out with a warning; and the RFC 5545 values they are written with.
#include "ExportFixture.h"
#include "standards/Rfc5545.h"

namespace corvelle {
namespace {

std::string Text(const std::string& text) { return text + std::string(1, '\0'); }
std::string Blob(const std::string& id, const std::string& data) { return id + Be16(data.size()) + data; }
// offset, start and end (hour, weekday, week, month), adjustment, country, flags, name
std::string ZoneBlob(int offset, const std::string& changes, int adjust, const std::string& name) {
    return Blob("Bd00", Be16(static_cast<uint16_t>(offset)) + changes + Be16(static_cast<uint16_t>(adjust)) +
                            std::string(2, '\0') + Text(name));
}
const std::string kEuropeanChanges("\x02\x00\x04\x03\x03\x00\x04\x0A", 8);
// 09:00-10:00 (or untimed) on 2005-06-01, with a description and the flags given.
std::string Appointment(bool timed, uint16_t flags, const std::string& tail) {
    const std::string times = timed ? std::string("\x09\x00\x0A\x00", 4) : std::string(4, '\xFF');
    return times + Be16(PackDate(2005, 6, 1)) + Be16(0x0400 | flags) + Text("x") + tail;
}

struct CalendarOut {
    std::string ics;
    std::vector<std::string> warnings;
};
CalendarOut Calendar(const char* creator, const std::vector<std::string>& records) {
    std::vector<samples::PalmRecord> list;
    for (size_t i = 0; i < records.size(); ++i) list.push_back({0, static_cast<uint32_t>(i + 1), records[i]});
    CalendarOut out;
    ExportOptions options;
    options.warnings = &out.warnings;
    out.ics = Exported(Records("DATA", creator, list), ExportType::kICalendar, options);
    return out;
}
size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(CalendarExport, OneTimeZonePerZoneBeforeTheEvents) {
    const std::string berlin = ZoneBlob(60, kEuropeanChanges, 60, "Berlin");
    const CalendarOut out = Calendar(
        "PDat", {Appointment(true, 0, berlin), Appointment(true, 0, berlin),
                 Appointment(true, 0, ZoneBlob(60, std::string(8, '\0'), 0, "Berlin")),  // another Berlin
                 Appointment(true, 0, ZoneBlob(-210, std::string(8, '\0'), 0, "")),
                 Appointment(false, 0, ZoneBlob(0, std::string(8, '\0'), 0, "All day"))});
    EXPECT_EQ(Count(out.ics, "BEGIN:VTIMEZONE"), 3u) << out.ics;
    EXPECT_LT(out.ics.rfind("END:VTIMEZONE"), out.ics.find("BEGIN:VEVENT"));
    EXPECT_EQ(Count(out.ics, "DTSTART;TZID=Berlin:20050601T090000\r\n"), 2u);
    EXPECT_NE(out.ics.find("TZID:Berlin (2)\r\n"), std::string::npos);
    EXPECT_NE(out.ics.find("DTSTART;TZID=\"UTC-03:30\":20050601T090000\r\n"), std::string::npos);
    EXPECT_EQ(out.ics.find("All day"), std::string::npos) << "a date has no zone";
    EXPECT_NE(out.ics.find("DTSTART;VALUE=DATE:20050601\r\n"), std::string::npos);
    EXPECT_TRUE(out.warnings.empty());
}

TEST(CalendarExport, ZonesICalendarCannotStateAreSaidSo) {
    const CalendarOut out = Calendar(
        "PDat", {Appointment(true, 0, ZoneBlob(1440, std::string(8, '\0'), 0, "Far")),
                 Appointment(true, 0, ZoneBlob(60, std::string("\x02\x00\x04\x0D\x03\x00\x04\x0A", 8), 60,
                                               "Odd \"quoted\", zone"))});
    ASSERT_EQ(out.warnings.size(), 2u);
    EXPECT_EQ(out.warnings[0], "record 0: its time zone's offset is a day or more from UTC, written without its "
                               "time zone");
    EXPECT_EQ(out.warnings[1], "record 1: its time zone's daylight saving names no day, written without "
                               "daylight saving");
    EXPECT_NE(out.ics.find("DTSTART:20050601T090000\r\n"), std::string::npos) << "floating";
    EXPECT_NE(out.ics.find("TZID:Odd 'quoted'\\, zone\r\nBEGIN:STANDARD\r\nDTSTART:19040101T000000\r\n"
                           "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE"),
              std::string::npos)
        << out.ics;
    EXPECT_NE(out.ics.find("DTSTART;TZID=\"Odd 'quoted', zone\":20050601T090000\r\n"), std::string::npos);
}

TEST(CalendarExport, RepeatsAndExceptionsInTheirZone) {
    // Daily until 2005-06-30, one exception; in Berlin's summer, so UNTIL is two hours earlier in UTC.
    const std::string repeat = std::string("\x01\x00", 2) + Be16(PackDate(2005, 6, 30)) + std::string("\x01\0\0\0", 4);
    const std::string exceptions = Be16(1) + Be16(PackDate(2005, 6, 3));
    const CalendarOut out = Calendar("PDat", {std::string("\x09\x00\x0A\x00", 4) + Be16(PackDate(2005, 6, 1)) +
                                              Be16(0x2800) + repeat + exceptions +
                                              ZoneBlob(60, kEuropeanChanges, 60, "Berlin")});
    EXPECT_NE(out.ics.find("RRULE:FREQ=DAILY;UNTIL=20050630T215959Z\r\nEXDATE;TZID=Berlin:20050603T090000\r\n"),
              std::string::npos)
        << out.ics;
}

TEST(CalendarExport, MeetingsOrganizerAttendeesStatusAndShowAs) {
    const auto meeting = [](uint8_t status, uint8_t showAs, const std::string& attendees, unsigned count) {
        const std::string head{static_cast<char>(status), static_cast<char>(showAs)};
        return Blob("Bd01", head + Be16(count) + attendees);
    };
    const std::string people = std::string(1, '\0') + Text("Ana") + Text("ana@x.org") + std::string(1, '\0') +
                               Text("Bo") + Text("bo@x.org") + "\x02" + Text("Cy; \"C\"") + Text("c y@x.org") +
                               "\x01" + Text("") + Text("") + "\x07" + Text("Di") + Text("di@x.org");
    const CalendarOut out = Calendar("PDat", {Appointment(true, 0, meeting(4, 1, people, 5)),
                                              Appointment(true, 0, meeting(2, 3, "", 0))});
    EXPECT_NE(out.ics.find("ORGANIZER;CN=Ana:mailto:ana@x.org\r\n"
                           "ATTENDEE;CN=Bo;ROLE=CHAIR:mailto:bo@x.org\r\n"
                           "ATTENDEE;CN=\"Cy; 'C'\";ROLE=OPT-PARTICIPANT:mailto:c%20y@x.org\r\n"
                           "ATTENDEE;ROLE=REQ-PARTICIPANT:invalid:nomail\r\n"
                           "ATTENDEE;CN=Di;ROLE=REQ-PARTICIPANT:mailto:di@x.org\r\n"
                           "STATUS:CANCELLED\r\nTRANSP:TRANSPARENT\r\n"),
              std::string::npos)
        << out.ics;
    EXPECT_EQ(Count(out.ics, "STATUS:"), 1u) << "declined and out of office say nothing";
    EXPECT_EQ(Count(out.ics, "TRANSP:"), 1u);
}

struct TaskRow {
    const char* name;
    std::string fields;  // after the fields word, flags and priority
    uint16_t which;
    const char* expected;  // lines expected together, or "" for none
    const char* absent;    // a property that must not be written
    const char* warning;   // the one warning, or ""
};

class TaskParts : public testing::TestWithParam<TaskRow> {};

TEST_P(TaskParts, BecomeProperties) {
    const TaskRow& row = GetParam();
    const std::string record = Be16(row.which) + Be16(0) + Be16(1) + row.fields + Text("Task") + Text("");
    const CalendarOut out = Calendar("PTod", {record});
    if (*row.expected) {
        EXPECT_NE(out.ics.find(row.expected), std::string::npos) << out.ics;
    }
    if (*row.absent) {
        EXPECT_EQ(out.ics.find(row.absent), std::string::npos) << out.ics;
    }
    EXPECT_EQ(out.warnings, *row.warning ? std::vector<std::string>{row.warning} : std::vector<std::string>{});
}

const std::string kDue = Be16(PackDate(2005, 3, 14));
const std::string kDaily = std::string("\x01\x00\xFF\xFF\x01\x00\x00\x00", 8);

INSTANTIATE_TEST_SUITE_P(
    Rows, TaskParts,
    testing::Values(
        TaskRow{"AlarmTheDayBefore", kDue + std::string("\x09\x1E\x00\x01", 4), 0xA000,
                "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;RELATED=END:-PT14H30M\r\nDESCRIPTION:Task\r\n", "", ""},
        TaskRow{"AlarmOnTheDueDate", kDue + std::string("\x08\x00\x00\x00", 4), 0xA000, "TRIGGER;RELATED=END:PT8H\r\n",
                "", ""},
        TaskRow{"AlarmDaysBefore", kDue + std::string("\x07\x05\x00\x02", 4), 0xA000,
                "TRIGGER;RELATED=END:-P1DT16H55M\r\n", "", ""},
        TaskRow{"AlarmWithoutDueDate", std::string("\x09\x00\x00\x01", 4), 0x2000, "", "VALARM",
                "record 0: its alarm counts from a due date it has not, left out"},
        TaskRow{"AlarmAtNoTimeOfDay", kDue + std::string("\x18\x00\x00\x01", 4), 0xA000, "", "VALARM",
                "record 0: its alarm time is no time of day, left out"},
        TaskRow{"RepeatFromItsStart", Be16(PackDate(2005, 3, 1)) + kDaily, 0x1000,
                "DTSTART;VALUE=DATE:20050301\r\nRRULE:FREQ=DAILY\r\n", "DUE", ""},
        TaskRow{"RepeatFromNoDay", Be16(PackDate(2005, 2, 30)) + kDaily, 0x1000, "", "RRULE",
                "record 0: its repeat's start 2005-02-30 is no day of the calendar, written without the repeat"},
        TaskRow{"UnknownRepeat", Be16(PackDate(2005, 3, 1)) + std::string("\x09\x00\xFF\xFF\x01\x00\x00\x00", 8),
                0x1000, "", "DTSTART", "record 0: repeat type 9 is unknown, written as a single event"},
        TaskRow{"CompletedOn", Be16(PackDate(2005, 3, 2)), 0x4000,
                "STATUS:NEEDS-ACTION\r\nCOMPLETED:20050302T000000Z\r\n", "", ""},
        TaskRow{"CompletedOnNoDay", Be16(PackDate(2005, 4, 31)), 0x4000, "", "COMPLETED:",
                "record 0: completion date 2005-04-31 is no day of the calendar, left out"}),
    [](const auto& info) { return info.param.name; });

struct ValueRow {
    const char* name;
    std::string value;
    const char* text;
};

class ICalValues : public testing::TestWithParam<ValueRow> {};

TEST_P(ICalValues, AreWrittenAsTheStandardSays) { EXPECT_EQ(GetParam().value, GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Rows, ICalValues,
    testing::Values(ValueRow{"DurationZero", ICalDuration(0), "PT0M"},
                    ValueRow{"DurationWholeDays", ICalDuration(-2880), "-P2D"},
                    ValueRow{"DurationDaysHoursMinutes", ICalDuration(-(1440 + 60 + 5)), "-P1DT1H5M"},
                    ValueRow{"DurationMinutes", ICalDuration(45), "PT45M"},
                    ValueRow{"OffsetZeroIsPositive", ICalUtcOffset(0), "+0000"},
                    ValueRow{"OffsetHalfHourWest", ICalUtcOffset(-210), "-0330"},
                    ValueRow{"OffsetLargest", ICalUtcOffset(1439), "+2359"},
                    ValueRow{"ParamPlain", ICalParamValue("Ana Lima"), "Ana Lima"},
                    ValueRow{"ParamQuotedForColon", ICalParamValue("a:b"), "\"a:b\""},
                    ValueRow{"ParamWithoutQuotesOrControls", ICalParamValue("say \"hi\"\n"), "say 'hi' "},
                    ValueRow{"MailtoKeepsAddresses", ICalMailto("a.b+c@x-y.org"), "mailto:a.b+c@x-y.org"},
                    ValueRow{"MailtoEncodesTheRest", ICalMailto("a b<\xC3\xA9>@x"), "mailto:a%20b%3C%C3%A9%3E@x"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle
