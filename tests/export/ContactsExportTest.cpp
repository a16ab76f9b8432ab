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
