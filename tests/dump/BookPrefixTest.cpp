// Every prefix of every book fixture through everything that reads a book: each line of
// --records, each --record N, the text and JSON exports and the whole document. The
// sanitizer build (sanitized-dump-tests) catches any read past the end; here each answer
// keeps its shape and each document ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "export/CodePage.h"
#include "export/Export.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"

using namespace corvelle;

namespace {

struct Counted final : DocumentSink {
    void Text(std::string_view utf8, unsigned) override { size += utf8.size(); }
    void Heading(std::string_view utf8) override { size += utf8.size(); }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string) override {}
    uint64_t size = 0;
};

void ExpectPrefixSafe(const std::vector<uint8_t>& bytes, TextDecoder& decoder) {
    const DatabaseModel model(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    const DecodedDatabase database(model);
    std::string line;
    const size_t tabs = ColumnCount(model) - 1;
    for (size_t i = 0; i < model.Count(); ++i) {
        line.clear();
        AppendEntryLine(database, i, line);
        ASSERT_EQ(static_cast<size_t>(std::count(line.begin(), line.end(), '\t')), tabs) << line;
        ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
        const std::string text = EntryText(database, i);
        ASSERT_EQ(text.rfind("Record ", 0), 0u);
    }
    for (ExportType type : {ExportType::kText, ExportType::kJson}) {
        std::string out, error;
        if (!database.Feeds(type)) continue;
        ASSERT_TRUE(ExportToText(database, type, ExportOptions{}, out, error)) << error;
    }
    TextOptions options;
    options.fallbackDecoder = &decoder;
    if (const auto document = database.Reader().OpenDocument(options)) {
        Counted sink;
        size_t pieces = 0;
        while (document->Next(sink)) ASSERT_LE(++pieces, 2 * model.Count() + 8);
        // No record gives more than its bound; no book more than 64 times its file.
        ASSERT_LE(sink.size, std::max<uint64_t>(64 * bytes.size(), 65535) + 16);
    }
}

TEST(BookPrefix, EveryPrefixOfEveryBookFixture) {
    TextDecoder decoder(*FindCodePage("cp1252"));
    for (const char* name : {"ereader-palmdoc.pdb", "ereader-older.pdb", "ereader-protected.pdb", "calibre-rich.pdb",
                             "calibre-long.pdb", "tealdoc.pdb", "isilo.pdb", "bomb.pdb", "past-the-end.pdb"}) {
        const std::string file = ReadAll(std::string(CORVELLE_TEST_DATA "/books/") + name);
        ASSERT_GT(file.size(), 200u) << name;
        for (size_t length = 0; length <= file.size(); ++length) {
            SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(length));
            // Exactly the prefix's bytes on the heap, so that a read past them is caught.
            const std::vector<uint8_t> bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
            ExpectPrefixSafe(bytes, decoder);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
