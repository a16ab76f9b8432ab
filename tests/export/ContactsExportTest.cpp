// URI values of vCard, and every prefix of the byte-by-byte Contacts fixture
// through --records, --record N and every export that fits it, for the
// sanitizer build to catch a read past the end. Whole records, and the
// PHOTO's base64 of both paddings, are checked by export-contacts
// (tools/export/check-contacts.py); the exports' shape by fuzz-export.
#include "../dump/TestFolder.h"
#include "ExportFixture.h"
#include "standards/Rfc2426.h"
#include "formats/EntryText.h"

namespace corvelle {
namespace {

TEST(VCardValues, UriKeepsItsBytes) {
    // No backslash escapes in a URI; a control character, which would break the line, as %XX.
    EXPECT_EQ(VCardUri("http://a.example/x,y;z\\w"), "http://a.example/x,y;z\\w");
    EXPECT_EQ(VCardUri(std::string("a\r\nb\x7F\x01", 6)), "a%0D%0Ab%7F%01");
}

// An Address Book record of a last name, a first name and a company, each of which may hold its
// reading after 01h as a Japanese Palm keeps it.
std::string NamesRecord(const std::string& last, const std::string& first, const std::string& company) {
    return std::string("\0\0\0\0\0\0\0\x07\0", 9) + last + '\0' + first + '\0' + company + '\0';
}

struct ReadingRow {
    const char* name;
    std::string record;
    std::string cell;                    // in the file's bytes
    std::vector<std::string> vcard;      // lines the vCard holds, in UTF-8
    std::vector<std::string> json;       // members the JSON holds
    std::vector<std::string> neither;    // what neither export holds
};

class NameReadings : public testing::TestWithParam<ReadingRow> {};

TEST_P(NameReadings, AreShownApartAndExportedWhereAddressBooksReadThem) {
    const ReadingRow& row = GetParam();
    const Database file(Records("DATA", "addr", {{0, 1, row.record}}));
    const DecodedDatabase database(file.model);
    std::string cell;
    AppendCellOf(database, 0, ColumnId::kContents, cell);
    EXPECT_EQ(cell, row.cell);
    ExportOptions options;
    options.encoding = "shift_jis";
    std::string vcard, json, error;
    ASSERT_TRUE(ExportToText(database, ExportType::kVCard, options, vcard, error)) << error;
    ASSERT_TRUE(ExportToText(database, ExportType::kJson, options, json, error)) << error;
    for (const std::string& line : row.vcard) EXPECT_NE(vcard.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    for (const std::string& member : row.json) EXPECT_NE(json.find(member), std::string::npos) << member;
    for (const std::string& text : row.neither) {
        EXPECT_EQ(vcard.find(text), std::string::npos) << text;
        EXPECT_EQ(json.find(text), std::string::npos) << text;
    }
}

// 93 63 92 86 is 田中, 82 BD 82 C8 82 A9 たなか, 91 BE 98 59 太郎, 82 BD 82 EB 82 A4 たろう.
INSTANTIATE_TEST_SUITE_P(
    Rows, NameReadings,
    testing::Values(
        ReadingRow{"JapaneseNames",
                   NamesRecord("\x93\x63\x92\x86\x01\x82\xBD\x82\xC8\x82\xA9",
                               "\x91\xBE\x98\x59\x01\x82\xBD\x82\xEB\x82\xA4", "ACME\x01\x82\xA0"),
                   "\x93\x63\x92\x86 (\x82\xBD\x82\xC8\x82\xA9), \x91\xBE\x98\x59 (\x82\xBD\x82\xEB\x82\xA4)",
                   {"N:田中;太郎;;;", "FN:太郎 田中", "ORG:ACME", "X-PHONETIC-LAST-NAME:たなか",
                    "X-PHONETIC-FIRST-NAME:たろう", "X-PHONETIC-ORG:あ"},
                   {"\"lastName\": \"田中\"", "\"lastNameReading\": \"たなか\"", "\"firstNameReading\": \"たろう\"",
                    "\"company\": \"ACME\"", "\"companyReading\": \"あ\""},
                   {"\xEF\xBF\xBD", "\\u0001"}},
        ReadingRow{"OnlyTheCompanyHasOne", NamesRecord("", "", "Sony\x01\x83\x5C\x83\x6A\x81\x5B"),
                   "Sony (\x83\x5C\x83\x6A\x81\x5B)",
                   {"FN:Sony", "X-PHONETIC-ORG:ソニー"}, {"\"companyReading\": \"ソニー\""},
                   {"X-PHONETIC-LAST-NAME", "lastNameReading"}},
        ReadingRow{"WithoutOneNothingChanges", NamesRecord("Doe", "Jane", "Acme"), "Doe, Jane",
                   {"N:Doe;Jane;;;", "ORG:Acme"}, {"\"lastName\": \"Doe\"", "\"company\": \"Acme\""},
                   {"PHONETIC", "Reading"}}),
    [](const auto& info) { return info.param.name; });

TEST(ContactsDatabase, EveryPrefixThroughTheListTheEntriesAndTheExports) {
    const TemporaryFolder folder;
    ASSERT_EQ(folder.Run("/usr/bin/python3 " CORVELLE_SOURCE_DIR "/tools/export/write-contacts-database.py ."), 0);
    const std::string bytes = folder.Read("contacts.pdb");
    ASSERT_GT(bytes.size(), 3000u);
    for (size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        const std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        const DatabaseModel model(copy.data(), copy.size());
        const DecodedDatabase database(model);
        std::string line;
        AppendHeaderLine(model, line);
        for (size_t i = 0; i < model.Count(); ++i) {
            line.clear();
            AppendEntryLine(database, i, line);
            ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
            const std::string text = EntryText(database, i);
            ASSERT_EQ(text.rfind("Record ", 0), 0u);
            ASSERT_EQ(text.back(), '\n');
        }
        for (ExportType type : ExportTypesFor(database)) {
            ExportOptions options;
            options.withData = true;
            std::vector<std::string> warnings;
            options.warnings = &warnings;
            std::string out, error;
            ASSERT_TRUE(type == ExportType::kRaw || ExportToText(database, type, options, out, error)) << error;
        }
    }
}

}  // namespace
}  // namespace corvelle
