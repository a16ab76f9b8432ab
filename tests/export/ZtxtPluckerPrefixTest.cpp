// Every prefix of every zTXT and Plucker fixture (tests/data/books/, written by tools/books/ztxtplucker.py:
// bombs, a damaged record, an owner ID and tables in themselves among them) through every line of
// --records, every --record N, every export that fits and the whole document: the sanitizer build catches
// any read past the end, and each must still be made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/CodePage.h"
#include "export/Export.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "formats/Format.h"
#include "tests/dump/TestFolder.h"

namespace corvelle {
namespace {

struct CountingSink final : DocumentSink {
    void Text(std::string_view utf8, unsigned) override { size += utf8.size(); }
    void Heading(std::string_view utf8) override { size += utf8.size(); }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string) override {}
    size_t size = 0;
};

void ExpectEveryPrefixSafe(const std::string& name, const std::string& bytes) {
    TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    for (size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE(name + " cut at " + std::to_string(length));
        const std::vector<uint8_t> file(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        const DatabaseModel model(file.empty() ? nullptr : file.data(), file.size());
        const DecodedDatabase database(model);
        std::string line;
        for (size_t i = 0; i < model.Count(); ++i) {
            line.clear();
            AppendEntryLine(database, i, line);
            ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
            ASSERT_EQ(EntryText(database, i).back(), '\n');
            if (database.Decodes(i)) database.Reader().Picture(i);
        }
        for (ExportType type : ExportTypesFor(database)) {
            if (type == ExportType::kRaw) continue;
            std::string out, error;
            std::vector<std::string> warnings;
            ExportOptions exportOptions;
            exportOptions.warnings = &warnings;
            exportOptions.withData = true;
            ASSERT_TRUE(ExportToText(database, type, exportOptions, out, error)) << error;
        }
        if (const auto document = database.Reader().OpenDocument(options)) {
            CountingSink sink;
            size_t pieces = 0;
            while (document->Next(sink)) ASSERT_LT(++pieces, 1000u);
            ASSERT_LT(sink.size, 8u << 20);  // every bomb stops within its bound
        }
    }
}

TEST(ZtxtPluckerFixtures, EveryPrefixOfEveryOne) {
    for (const char* name : {"ztxt-random.pdb", "ztxt-stream.pdb", "ztxt-damaged.pdb", "ztxt-bomb.pdb",
                             "plucker-rich.pdb", "plucker-doc.pdb", "plucker-cp1251.pdb", "plucker-owner.pdb",
                             "plucker-bomb.pdb"}) {
        const std::string bytes = ReadAll(std::string(CORVELLE_SOURCE_DIR "/tests/data/books/") + name);
        ASSERT_GT(bytes.size(), 200u) << name;
        ExpectEveryPrefixSafe(name, bytes);
    }
}

}  // namespace
}  // namespace corvelle
