// libFuzzer entry point for zTXT and Plucker books: the input as a whole
// database, then with its type and creator made zTXT/GPlm and Data/Plkr; as
// a zTXT book's data records and a Plucker book's text, table and metadata
// records inside books built around it; and as a Plucker text for the
// function walker. Each database goes through every row of --records, every
// --record N, its pictures, the JSON and text exports and its whole
// document. The sanitizers flag any read past the input; the checks below
// flag a document or an export that outgrows every bound the books set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dump/records/PluckerFunctions.h"
#include "standards/CodePage.h"
#include "export/Export.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "formats/Format.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

#include "tools/fuzz/FuzzChecks.h"

namespace {

using namespace corvelle;
using corvelle::fuzz::Check;
using corvelle::fuzz::CheckedSink;

struct Walked final : PluckerTextHandler {
    void Text(std::string_view bytes) override { size += bytes.size(); }
    void Character(uint32_t, std::string_view alternate) override { size += alternate.size(); }
    void Function(uint8_t, const uint8_t*) override {}
    void ParagraphEnd() override {}
    uint64_t size = 0;
};

// The most text a database of `size` bytes may give: every record bounded by
// a 16-bit size (a Plucker record, with 1 MB of tables, in UTF-8), or the
// whole file inflated at zlib's best ratio plus the margin (zTXT).
uint64_t Bound(const DatabaseModel& model, uint64_t size) {
    const uint64_t plucker = model.Count() * ((65536 + (1 << 20)) * 4 + 4096);
    const uint64_t ztxt = (size * 1032 + 65536) * 3 + model.Count() * 4096;
    return plucker > ztxt ? plucker : ztxt;
}

void Read(const std::string& bytes) {
    const std::vector<uint8_t> file(bytes.begin(), bytes.end());  // exact size: a read past it is caught
    const DatabaseModel model(file.empty() ? nullptr : file.data(), file.size());
    const DecodedDatabase database(model);
    std::string line;
    for (size_t i = 0; i < model.Count(); ++i) {
        line.clear();
        AppendEntryLine(database, i, line);
        Check(line.find('\n') == line.size() - 1);
        Check(EntryText(database, i, (i & 1) != 0 ? 64 : 4096).back() == '\n');
        if (database.Decodes(i)) database.Reader().Picture(i);
    }
    for (ExportType type : {ExportType::kJson, ExportType::kText}) {
        ExportOptions options;
        std::vector<std::string> warnings;
        options.warnings = &warnings;
        std::string out, error;
        if (database.Feeds(type)) Check(ExportToText(database, type, options, out, error));
    }
    TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    if (const auto document = database.Reader().OpenDocument(options)) {
        CheckedSink sink;
        while (document->Next(sink)) Check(sink.size <= Bound(model, file.size()));
    }
}

std::string Database(const char* type, const char* creator, const std::vector<std::string>& records) {
    samples::PalmDatabase db;
    db.type = type;
    db.creator = creator;
    for (const std::string& record : records) db.records.push_back({0, 0, record});
    return samples::SerializePalmDatabase(db);
}

std::string Word(uint32_t value) {
    std::string out;
    samples::Put16(out, value);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0xFFFFFF) return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    Read(input);
    if (input.size() >= 68) {
        for (const char* kind : {"zTXTGPlm", "DataPlkr"}) {
            std::string retyped = input;
            std::memcpy(&retyped[60], kind, 8);
            Read(retyped);
        }
    }
    // zTXT: the input as the data records, random access and one stream.
    // Record 0: 8192 bytes of text in 2 records of 1024, no marks, the flags at 18, a CRC-32 of 0.
    std::string record0 = Word(0x012C) + Word(2) + std::string("\0\0\x20\0\x04\0\0\0\0\0\0\0\0\0\1\0\0\0\0\0", 20);
    for (char flags : {'\1', '\0'}) {
        record0[18] = flags;
        Read(Database("zTXT", "GPlm", {record0, input, input.substr(size / 2)}));
    }
    // Plucker: the input as a text record's data (zlib and PalmDOC, stored),
    // a table's and the metadata's.
    const std::string page = Word(2) + Word(2) + Word(0x4000) + std::string("\1\0", 2) + Word(size / 2) + Word(0);
    const std::string plain = Word(3) + Word(1) + Word(size) + std::string("\0\1", 2) + Word(size) + Word(0);
    const std::string table = Word(4) + Word(0) + Word(size) + std::string("\x0D\0", 2);
    const std::string metadata = Word(5) + Word(0) + Word(size) + std::string("\x0A\0", 2);
    for (uint32_t compression : {2u, 1u}) {
        const std::string index = Word(1) + Word(compression) + Word(1) + Word(4) + Word(5);
        Read(Database("Data", "Plkr", {index, page + input, plain + input + std::string("\0\x92\0\4", 4),
                                       table + input, metadata + input}));
    }
    std::vector<PluckerParagraph> paragraphs;
    for (size_t i = 0; i + 1 < size && i < 64; i += 2) paragraphs.push_back({data[i], data[i + 1]});
    Walked walked;
    WalkPluckerText({data, size}, paragraphs, walked);
    Check(walked.size <= size);
    return 0;
}
