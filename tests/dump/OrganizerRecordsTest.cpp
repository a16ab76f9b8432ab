// The Calendar's and the Tasks' records of Palm OS 5, cut and odd: where the decoders stop and what
// the fields then say. Whole records are checked against Debian's Palm::Datebook and the Tasks
// writer of tools/export by the record-decoders and export-calendar / export-tasks tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeapFile.h"
#include "formats/EntryText.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

using namespace corvelle;

namespace {

std::string Be16(uint32_t value) {
    std::string out;
    samples::Put16(out, value);
    return out;
}
std::string Text(const std::string& text) { return text + std::string(1, '\0'); }
std::string Blob(const std::string& id, const std::string& data, size_t size = std::string::npos) {
    return id + Be16(size == std::string::npos ? data.size() : size) + data;
}

// 09:30-10:45 on 2004-12-05 with these flags.
std::string Appointment(uint16_t flags) { return std::string("\x09\x1E\x0A\x2D\xC9\x85", 6) + Be16(flags); }
// Berlin: UTC+01:00, daylight saving from the last Sunday of March at 02:00 to that of October at 03:00.
const std::string kBerlin = Be16(60) + std::string("\x02\x00\x04\x03\x03\x00\x04\x0A", 8) + Be16(60) + "\x07\x80";
const std::string kMeeting = std::string("\x01\x02", 2) + Be16(2) + std::string(1, '\0') + Text("Ana") +
                             Text("a@x.org") + "\x02" + Text("Bo") + Text("b@y.org");
// With a note, a description and a location.
const std::string kAppointment = Appointment(0x1600) + Text("Dentist") + Text("Bring the card");
const std::string kFieldsBefore =
    "Date:\t2004-12-05\nTime:\t09:30-10:45\nDescription:\tDentist\nNote:\tBring the card\n";

struct FieldsRow {
    const char* name;
    const char* creator;
    std::string record;
    std::string fields;  // "#" stands for the record's length
    const char* cell = nullptr;  // the contents cell, where it is checked
};

std::string Replaced(std::string text, const std::string& length) {
    const size_t at = text.find('#');
    return at == std::string::npos ? text : text.replace(at, 1, length);
}

class OrganizerFields : public testing::TestWithParam<FieldsRow> {};

TEST_P(OrganizerFields, SayWhereTheRecordStops) {
    samples::PalmDatabase db;
    db.creator = GetParam().creator;
    db.records = {{0x40, 1, GetParam().record}};
    const HeapFile file(samples::SerializePalmDatabase(db));
    const DatabaseModel model = file.Model();
    EXPECT_EQ(EntryFieldsText(model, 0), Replaced(GetParam().fields, std::to_string(GetParam().record.size())));
    if (GetParam().cell != nullptr) {
        std::string cell;
        AppendCellOf(DecodedDatabase(model), 0, ColumnId::kContents, cell);
        EXPECT_EQ(cell, GetParam().cell);
    }
}

// Tasks: fields word, flags, priority, then due date, completion date, alarm, repeat, description, note.
const std::string kTask = Be16(0xFC00) + Be16(0x0003) + Be16(2) + Be16(0xC985) + Be16(0xC986) +
                          std::string("\x08\x1E\x00\x01", 4) + Be16(0xC985) +
                          std::string("\x03\x00\xFF\xFF\x01\x22\x00\x00", 8) + Text("Call Ana") + Text("Re: lunch");

const FieldsRow kFieldRows[] = {
    {"CalendarWhole", "PDat",
     kAppointment + Text("Room 4") + Blob("Bd00", kBerlin + Text("Berlin")) + Blob("Bd01", kMeeting) +
         Blob("Bd07", "xyz") + Blob("\x01zZ\x7F", ""),
     kFieldsBefore + "Location:\tRoom 4\nTime zone:\tBerlin, UTC+01:00, daylight saving +60 minutes\n"
                     "Meeting:\taccepted, shown as tentative\nAttendee:\tAna <a@x.org>, organizer\n"
                     "Attendee:\tBo <b@y.org>, optional\nBlob Bd07:\t3 bytes\nBlob .zZ.:\t0 bytes\n",
     "2004-12-05 09:30 Dentist"},
    {"WithoutLocationBlobsFollowTheNote", "PDat",
     Appointment(0x1400) + Text("Dentist") + Text("Bring the card") + Blob("Bd00", kBerlin.substr(0, 14) + "Nameless"),
     kFieldsBefore + "Time zone:\tNameless, UTC+01:00, daylight saving +60 minutes\n"},
    {"CutInTheLocation", "PDat", kAppointment + "Roo",
     kFieldsBefore + "Location:\tRoo\nThe record ends at byte #, inside the location.\n"},
    {"CutInABlobsHead", "PDat", kAppointment + Text("R") + "Bd0",
     kFieldsBefore + "Location:\tR\nThe record ends at byte #, inside a blob.\n"},
    {"ZoneLeavingTheRecordReadAsFarAsItGoes", "PDat",
     kAppointment + Text("R") + Blob("Bd00", kBerlin + "Berl", 30),
     kFieldsBefore + "Location:\tR\nTime zone:\tBerl, UTC+01:00, daylight saving +60 minutes\n"
                     "The record ends at byte #, inside the time zone.\n"},
    {"ZoneCutBeforeItsName", "PDat", kAppointment + Text("R") + Blob("Bd00", kBerlin.substr(0, 9), 30),
     kFieldsBefore + "Location:\tR\nBlob Bd00:\t30 bytes\nThe record ends at byte #, inside the time zone.\n"},
    {"MeetingCutInItsSecondAttendee", "PDat", kAppointment + Text("R") + Blob("Bd01", kMeeting.substr(0, 18), 27),
     kFieldsBefore + "Location:\tR\nMeeting:\taccepted, shown as tentative\nAttendee:\tAna <a@x.org>, organizer\n"
                     "The record ends at byte #, inside the meeting.\n"},
    {"BlobLeavingTheRecord", "PDat", kAppointment + Text("R") + Blob("Bd09", "ab", 9),
     kFieldsBefore + "Location:\tR\nBlob Bd09:\t9 bytes\nThe record ends at byte #, inside a blob.\n"},
    {"WholeBlobsTooShortForTheirLayoutAreKept", "PDat",
     kAppointment + Text("R") + Blob("Bd00", "\x01\x02") + Blob("Bd01", std::string("\x01\x00\x00\x03", 4) + "\x01"),
     kFieldsBefore + "Location:\tR\nBlob Bd00:\t2 bytes\nBlob Bd01:\t5 bytes\n"},
    {"SecondZoneAndUnknownCodes", "PDat",
     kAppointment + Text("R") +
         Blob("Bd00", Be16(-210) + kBerlin.substr(2, 8) + Be16(-30) + std::string(2, '\0') + Text("")) +
         Blob("Bd00", kBerlin + Text("Berlin")) +
         Blob("Bd01", std::string("\x07\x09\x00\x01\x05", 5) + Text("Cy") + Text("")),
     kFieldsBefore + "Location:\tR\nTime zone:\tUTC-03:30, daylight saving -30 minutes\n"
                     "Meeting:\tstatus 7, shown as code 9\nAttendee:\tCy <>, role 5\nBlob Bd00:\t21 bytes\n"},
    {"AppointmentCutInTheAlarm", "PDat", Appointment(0x4000) + "\x05",
     "Date:\t2004-12-05\nTime:\t09:30-10:45\nThe record ends at byte #, inside the alarm.\n", "2004-12-05 09:30 "},
    {"TaskWhole", "PTod", kTask,
     "Due:\t2004-12-05\nPriority:\t2\nCompleted:\tyes\nCompleted on:\t2004-12-06\nAlarm:\t08:30, 1 day before\n"
     "Repeat:\tmonthly by day, every 1, no end, week last Sat, from 2004-12-05, after completion\n"
     "Description:\tCall Ana\nNote:\tRe: lunch\n", "Call Ana"},
    {"TaskWithoutOptionalFields", "PTod", Be16(0) + Be16(0) + Be16(5) + Text("") + Text(""),
     "Due:\tnone\nPriority:\t5\nCompleted:\tno\nDescription:\t\n"},
    {"TaskCutInTheFieldsWord", "PTod", "\xFC", "The record ends at byte #, inside the field flags.\n", ""},
    {"TaskCutInThePriority", "PTod", kTask.substr(0, 5),
     "Completed:\tyes\nThe record ends at byte #, inside the priority.\n"},
    {"TaskCutInTheRepeat", "PTod", kTask.substr(0, 20),
     "Due:\t2004-12-05\nPriority:\t2\nCompleted:\tyes\nCompleted on:\t2004-12-06\nAlarm:\t08:30, 1 day before\n"
     "The record ends at byte #, inside the repeat.\n"},
    {"TaskNoteWithoutItsZero", "PTod", kTask.substr(0, kTask.size() - 3),
     "Due:\t2004-12-05\nPriority:\t2\nCompleted:\tyes\nCompleted on:\t2004-12-06\nAlarm:\t08:30, 1 day before\n"
     "Repeat:\tmonthly by day, every 1, no end, week last Sat, from 2004-12-05, after completion\n"
     "Description:\tCall Ana\nNote:\tRe: lun\nThe record ends at byte #, inside the note.\n"},
};

INSTANTIATE_TEST_SUITE_P(Rows, OrganizerFields, testing::ValuesIn(kFieldRows),
                         [](const auto& info) { return info.param.name; });

}  // namespace
