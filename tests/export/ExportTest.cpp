// The export entry point: which formats fit which database, the one-line
// reasons, the selection, and what the writers leave out.
#include "ExportFixture.h"

namespace corvelle {
namespace {

using samples::PalmDatabase;

struct FitRow {
    const char* name;
    const char* type;
    const char* creator;
    bool resources;
    const char* formats;
};

class FormatsFor : public testing::TestWithParam<FitRow> {};

TEST_P(FormatsFor, NameWhatFits) {
    PalmDatabase database = Records(GetParam().type, GetParam().creator);
    if (GetParam().resources) {
        database.attributes = 0x0001;
        database.resources = {{"tSTR", 1000, std::string("x\0", 2)}};
    }
    const Database file(database);
    std::string names;
    for (ExportType format : ExportTypesFor(file.model)) names += std::string(ExportTypeName(format)) + " ";
    EXPECT_EQ(names, GetParam().formats);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatsFor,
                         testing::Values(FitRow{"Address", "DATA", "addr", false, "vcard json raw "},
                                         FitRow{"DateBook", "DATA", "date", false, "ics json raw "},
                                         FitRow{"ToDo", "DATA", "todo", false, "ics json raw "},
                                         FitRow{"Memo", "DATA", "memo", false, "text json raw "},
                                         FitRow{"PalmDoc", "TEXt", "REAd", false, "text json raw "},
                                         FitRow{"Expense", "DATA", "exps", false, "csv json raw "},
                                         FitRow{"JFile", "JbDb", "JBas", false, "csv json raw "},
                                         FitRow{"Mail", "DATA", "mail", false, "mbox json raw "},
                                         FitRow{"NotePad", "DATA", "npad", false, "json raw images "},
                                         FitRow{"Photos", "Foto", "Foto", false, "json raw images "},
                                         FitRow{"Other", "DATA", "PeRl", false, "json raw "},
                                         FitRow{"MemoTypeButResources", "DATA", "memo", true, "json raw images "}),
                         [](const auto& info) { return info.param.name; });

TEST(ExportToText, SaysWhichFormatsFitAndWritesNothing) {
    const Database memos(Records("DATA", "memo", {{0, 1, std::string("a\0", 2)}}));
    std::string out = "stale", error;
    EXPECT_FALSE(ExportToText(memos.model, ExportType::kVCard, {}, out, error));
    EXPECT_EQ(out, "");
    EXPECT_EQ(error, "vcard does not fit a Memo database; it fits text, json, raw");
    EXPECT_FALSE(ExportToText(memos.model, ExportType::kRaw, {}, out, error));
    ExportOptions options;
    options.encoding = "koi8-r";
    EXPECT_FALSE(ExportToText(memos.model, ExportType::kText, options, out, error));
    EXPECT_EQ(error.find("unknown encoding koi8-r"), 0u) << error;
    EXPECT_EQ(out, "");
}

std::string Memo(const std::string& text) { return text + std::string(1, '\0'); }

TEST(TextExport, LeavesOutDeletedAndFollowsTheSelection) {
    const Database memos(Records("DATA", "memo",
                                 {{0, 1, Memo("one")}, {record_flags::kDeleted, 2, Memo("gone")},
                                  {record_flags::kExpunged | record_flags::kArchive, 3, Memo("gone too")},
                                  {0, 4, Memo("four")}}));
    std::string out, error;  // selected or not, deleted memos stay out (whole exports: export-text)
    const std::vector<size_t> selection = {3, 1, 2, 4, 99, 0};
    ExportOptions options;
    options.selection = &selection;
    ASSERT_TRUE(ExportToText(memos.model, ExportType::kText, options, out, error));
    EXPECT_EQ(out, "four\n======== Memo 2 of 2 ========\none\n");
}

TEST(TextExport, LengthensTheRuleUntilNoMemoLineStartsWithIt) {
    const Database memos(Records("DATA", "memo",
                                 {{0, 1, Memo("a\n======== Memo 2 of 2 ========")}, {0, 2, Memo("============b")}}));
    std::string out, error;
    ASSERT_TRUE(ExportToText(memos.model, ExportType::kText, {}, out, error));
    EXPECT_EQ(out, "a\n======== Memo 2 of 2 ========\n================ Memo 2 of 2 ================\n"
                   "============b\n");
}

// An appointment: start and end time, packed date, flags.
std::string Appointment(uint8_t startHour, uint16_t date, uint16_t flags, const std::string& tail) {
    const char minute = startHour == 0xFF ? '\xFF' : 0;
    std::string bytes = {static_cast<char>(startHour), minute,
                         static_cast<char>(startHour == 0xFF ? 0xFF : startHour + 1), minute};
    return bytes + Be16(date) + Be16(flags) + tail;
}

TEST(CalendarExport, LeavesOutNoDaysAndSaysSo) {
    const Database book(Records("DATA", "date",
                                {{0, 0x10, Appointment(9, PackDate(2003, 2, 29), 0x0400, Memo("leap"))},
                                 {0, 0x11, Appointment(0xFF, PackDate(2004, 2, 29), 0x0400, Memo("real leap"))},
                                 {0, 0x12, Appointment(24, PackDate(2004, 3, 1), 0x0400, Memo("hour 24"))}}));
    std::vector<std::string> warnings;
    ExportOptions options;
    options.warnings = &warnings;
    std::string out, error;
    ASSERT_TRUE(ExportToText(book.model, ExportType::kICalendar, options, out, error));
    EXPECT_EQ(out.find("SUMMARY:leap"), std::string::npos);
    EXPECT_NE(out.find("UID:date-000011@corvelle\r\nDTSTAMP:19040101T000000Z\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("DTSTART;VALUE=DATE:20040229\r\nDTEND;VALUE=DATE:20040301\r\n"), std::string::npos);
    EXPECT_EQ(out.find("hour 24"), std::string::npos);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "record 0: left out, its date 2003-02-29 is no day of the calendar");
    EXPECT_EQ(warnings[1], "record 2: left out, its start time 24:00 is no time of day");
}

}  // namespace
}  // namespace corvelle
