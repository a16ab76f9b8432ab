// libFuzzer entry point for the books: the input taken as a whole database
// (every row, every entry's text, the text and JSON exports, the whole
// document), as the header of an eReader book and as one of its text records
// in each compression, and as PML and TealDoc text cut at a point the input
// chooses. Seeded with tests/data/books (a zlib bomb, a header whose records
// lie past the end). The sanitizers flag any read past the input; the checks
// below flag a document that never ends or outgrows its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dump/records/EReaderRecord.h"
#include "standards/CodePage.h"
#include "export/Export.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "formats/PmlText.h"
#include "formats/TealDocTags.h"
#include "tools/fixtures/PalmWriter.h"

#include "tools/fuzz/FuzzChecks.h"

namespace {

using namespace corvelle;
using corvelle::fuzz::Check;
using corvelle::fuzz::CheckedSink;

class NoImages final : public PmlImages {
public:
    ByteSpan Find(std::string_view) const override { return {}; }
};

class Dropped final : public TealDocOutput {
public:
    void Text(std::string_view bytes) override { size += bytes.size(); }
    void Header(std::string_view bytes) override { size += bytes.size(); }
    void Rule() override {}
    uint64_t size = 0;
};

void ReadDatabase(const std::vector<uint8_t>& bytes) {
    const DatabaseModel model(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    const DecodedDatabase database(model);
    std::string out;
    for (size_t i = 0; i < model.Count(); ++i) {
        out.clear();
        AppendEntryLine(database, i, out);
        Check(out.find('\n') == out.size() - 1);
        Check(!EntryText(database, i, 256).empty());
    }
    for (ExportType type : {ExportType::kText, ExportType::kJson}) {
        std::string error;
        if (database.Feeds(type)) Check(ExportToText(database, type, ExportOptions{}, out, error));
    }
    static TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    if (const auto document = database.Reader().OpenDocument(options)) {
        CheckedSink sink;
        size_t pieces = 0;
        while (document->Next(sink)) Check(++pieces <= 2 * model.Count() + 8);
        Check(sink.size <= 64 * bytes.size() + 65535 + 16);
    }
}

std::vector<uint8_t> Serialized(const samples::PalmDatabase& database) {
    const std::string file = samples::SerializePalmDatabase(database);
    return std::vector<uint8_t>(file.begin(), file.end());
}

samples::PalmDatabase EReader(const std::string& header, const std::vector<std::string>& records) {
    samples::PalmDatabase db;
    db.type = "PNRd";
    db.creator = "PPrs";
    db.records.push_back({0, 1, header});
    for (const std::string& record : records) db.records.push_back({0, 2, record});
    return db;
}

// A 132-byte header of this compression whose text runs from record 1 to `nonText` - 1, with
// every other run pointing at record 2 and counting two records.
std::string Header132(uint16_t compression, uint16_t nonText) {
    std::string header(132, '\0');
    const auto put = [&](size_t at, uint16_t value) {
        header[at] = static_cast<char>(value >> 8);
        header[at + 1] = static_cast<char>(value & 0xFF);
    };
    put(0, compression);
    put(12, nonText);
    for (size_t at = 14; at < 32; at += 2) put(at, 2);
    for (size_t at = 32; at < 54; at += 2) put(at, 2);
    return header;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0xFFFFFFFFu) return 0;
    // An exact-size copy, so that reading one byte too far is caught.
    const std::vector<uint8_t> input(data, data + size);
    ReadDatabase(input);

    const std::string bytes(input.begin(), input.end());
    // The input as a text record (and as the record after it) in each compression.
    for (uint16_t compression : {2, 10, 260})
        ReadDatabase(Serialized(EReader(Header132(compression, 3), {bytes, bytes})));
    std::string older(202, '\0');
    older[1] = 2;
    older[9] = 3;
    ReadDatabase(Serialized(EReader(older, {bytes, bytes.substr(size / 2)})));
    // The input as the header, before records of PML.
    ReadDatabase(Serialized(EReader(bytes, {std::string("\x01\\\x01x", 4), std::string("ab\0cd", 5)})));

    // The input as PML and as TealDoc text, cut where its first byte says.
    const size_t cut = size > 0 ? input[0] % (size + 1) : 0;
    const NoImages images;
    PmlText pml(&images);
    CheckedSink sink;
    pml.Add(std::string_view(bytes).substr(0, cut), sink);
    Check(pml.Unfinished().size() <= 1100);
    pml.Add(std::string_view(bytes).substr(cut), sink);
    pml.Finish(sink);
    // \UXXXX gives at most four bytes for its six; everything else no more than it takes.
    Check(sink.size <= 3 * size + 8);
    TealDocTags tags;
    Dropped dropped;
    tags.Add(std::string_view(bytes).substr(0, cut), dropped);
    tags.Add(std::string_view(bytes).substr(cut), dropped);
    tags.Finish(dropped);
    Check(dropped.size <= size + 1);

    const ByteSpan span{input.empty() ? nullptr : input.data(), size};
    for (EReaderCompression compression :
         {EReaderCompression::kPalmDoc, EReaderCompression::kZlib, EReaderCompression::kXoredPalmDoc}) {
        const EReaderText text = DecodeEReaderText(span, compression);
        Check(text.text.size() <= kEReaderRecordBound);
    }
    Check(DecodeEReaderNoteIds(span).size() <= size);
    return 0;
}
