#include "EveryPrefix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "standards/CodePage.h"
#include "export/Export.h"
#include "standards/Utf8.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "formats/Format.h"

namespace corvelle {
namespace {

// The export writes a reader's text without checking its UTF-8 again: every
// piece must be well formed, whatever the cut.
bool IsWellFormedUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8SequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

struct CountingSink final : DocumentSink {
    void Text(std::string_view utf8, unsigned) override { Count(utf8); }
    void Heading(std::string_view utf8) override { Count(utf8); }
    void Count(std::string_view utf8) {
        size += utf8.size();
        EXPECT_TRUE(IsWellFormedUtf8(utf8)) << utf8;
    }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string) override {}
    uint64_t size = 0;
};

void ExpectPrefixSafe(const std::vector<uint8_t>& bytes, const TextOptions& options, DocumentBound bound) {
    const DatabaseModel model(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    const DecodedDatabase database(model);
    const size_t tabs = ColumnCount(model) - 1;
    std::string line;
    for (size_t i = 0; i < model.Count(); ++i) {
        line.clear();
        AppendEntryLine(database, i, line);
        ASSERT_EQ(static_cast<size_t>(std::count(line.begin(), line.end(), '\t')), tabs) << line;
        ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
        ASSERT_EQ(EntryText(database, i).back(), '\n');
        ASSERT_EQ(EntryText(database, i, 64).back(), '\n');  // the fields whole, the bytes' start
        if (database.Decodes(i)) database.Reader().Picture(i);
    }
    for (ExportType type : ExportTypesFor(database)) {
        if (type == ExportType::kRaw) continue;
        std::string out, error;
        std::vector<std::string> warnings;
        ExportOptions exportOptions;
        exportOptions.warnings = &warnings;
        exportOptions.withData = true;
        if (type == ExportType::kImages) {
            const auto keep = [](const std::string&, std::string_view bytes) { return !bytes.empty(); };
            ASSERT_TRUE(ExportToFiles(database, type, exportOptions, keep, error)) << error;
            continue;
        }
        ASSERT_TRUE(ExportToText(database, type, exportOptions, out, error)) << error;
    }
    if (const auto document = database.Reader().OpenDocument(options)) {
        CountingSink sink;
        size_t pieces = 0;
        while (document->Next(sink)) ASSERT_LE(++pieces, 2 * model.Count() + 8);
        ASSERT_LE(sink.size, std::max<uint64_t>(bound.perFileByte * bytes.size(), bound.atLeast) + 16);
    }
}

}  // namespace

void ExpectEveryPrefixSafe(const std::string& name, const std::string& bytes, DocumentBound bound) {
    TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    for (size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE(name + " cut at " + std::to_string(length));
        const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        ExpectPrefixSafe(prefix, options, bound);
        if (testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace corvelle
