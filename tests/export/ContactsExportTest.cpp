// The vCard helpers that contacts brought (the b encoding, URI values), and
// every prefix of the byte-by-byte Contacts fixture through --records,
// --record N and every export that fits it: the sanitizer build catches a
// read past the end, the checks below output that breaks its own shape.
// Whole records are checked by export-contacts (tools/export/check-contacts.py).
#include <algorithm>

#include "../dump/TestFolder.h"
#include "ExportFixture.h"
#include "export/ContentLine.h"
#include "export/Rfc2426.h"
#include "export/Utf8.h"
#include "formats/EntryText.h"

namespace corvelle {
namespace {

TEST(VCardValues, BinaryIsBase64WithItsPaddingAndUriKeepsItsBytes) {
    const struct {
        std::string bytes, base64;
    } vectors[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},
                   {"foo", "Zm9v"},  {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
                   {"foobar", "Zm9vYmFy"}, {"\xFF\xD8\xFF\xE0", "/9j/4A=="}, {std::string("\0\0\0", 3), "AAAA"}};
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.bytes);
        EXPECT_EQ(VCardBinary(reinterpret_cast<const uint8_t*>(v.bytes.data()), v.bytes.size()), v.base64);
    }
    // No backslash escapes in a URI; a control character, which would break the line, as %XX.
    EXPECT_EQ(VCardUri("http://a.example/x,y;z\\w"), "http://a.example/x,y;z\\w");
    EXPECT_EQ(VCardUri(std::string("a\r\nb\x7F\x01", 6)), "a%0D%0Ab%7F%01");
}

void ExpectExportsWhole(const DecodedDatabase& database) {
    for (ExportType type : ExportTypesFor(database)) {
        if (type == ExportType::kRaw) continue;
        ExportOptions options;
        options.withData = true;
        std::vector<std::string> warnings;
        options.warnings = &warnings;
        std::string out, error;
        ASSERT_TRUE(ExportToText(database, type, options, out, error)) << error;
        for (size_t i = 0; i < out.size(); i += Utf8SequenceLength(out, i)) ASSERT_NE(Utf8SequenceLength(out, i), 0u);
        if (type != ExportType::kVCard) continue;
        for (size_t start = 0, end; start < out.size(); start = end + 2) {
            end = out.find("\r\n", start);
            ASSERT_NE(end, std::string::npos);
            ASSERT_LE(end - start, kContentLineOctets);
        }
    }
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
        ExpectExportsWhole(database);
    }
}

}  // namespace
}  // namespace corvelle
