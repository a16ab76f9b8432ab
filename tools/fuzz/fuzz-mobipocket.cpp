// libFuzzer entry point for Mobipocket books. The first byte says how the rest is taken:
//   80h set:   a whole database file;
//   otherwise: the records after record 0, cut at each FEh FEh FEh, with record 0 written from the
//              byte's bits: 0-1 the compression (none, PalmDOC, HUFF/CDIC), 2 cp1252 (else UTF-8),
//              3-5 the extra data flags 0-2, 6 a KF8 book whose last record is its FDST. The HUFF
//              record is the first that begins "HUFF", the CDIC records those right after it.
// Every entry's row, text and JSON, the text export and the document are made; the sanitizers flag
// any read past the input, libFuzzer's memory limit any bomb; the checks below flag text that is
// not UTF-8 and a document that outgrows its bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dump/records/MobiHeader.h"
#include "export/Export.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "tools/fixtures/MobiWriter.h"

#include "tools/fuzz/FuzzChecks.h"

namespace {

using namespace corvelle;
using corvelle::fuzz::Check;
using corvelle::fuzz::CheckedSink;
using corvelle::fuzz::CheckUtf8;

void ReadBook(const uint8_t* bytes, size_t size) {
    const DatabaseModel model(bytes, size);
    const DecodedDatabase database(model);
    std::string line;
    for (size_t i = 0; i < model.Count(); ++i) {
        line.clear();
        AppendEntryLine(database, i, line);
        Check(!EntryText(database, i, 256).empty());
    }
    for (ExportType type : {ExportType::kText, ExportType::kJson}) {
        if (!database.Feeds(type)) continue;
        std::string out, error;
        Check(ExportToText(database, type, ExportOptions{}, out, error));
        CheckUtf8(out);
    }
    const std::unique_ptr<DocumentReader> document = database.Reader().OpenDocument(TextOptions{});
    if (document == nullptr) return;
    CheckedSink counted;
    for (size_t pieces = 0; document->Next(counted); ++pieces) Check(pieces <= model.Count() + 1);
    // What the book announces and a margin, each byte of it at most a U+FFFD of three.
    uint64_t textLength = 0;
    if (model.Count() > 0) textLength = DecodeMobiHeader(model.Data(0)).textLength;
    Check(counted.size <= 3 * (textLength + 64 * 1024) + 16);
}

std::vector<std::string> Pieces(const uint8_t* data, size_t size) {
    const std::string rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> pieces;
    for (size_t start = 0;;) {
        const size_t end = rest.find("\xFE\xFE\xFE", start);
        pieces.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return pieces;
        start = end + 3;
    }
}

std::string BookAround(uint8_t mode, const std::vector<std::string>& records) {
    static const uint16_t kCompressions[] = {1, 2, 17480, 17480};
    samples::MobiHeaderParts parts;
    parts.compression = kCompressions[mode & 3];
    parts.encoding = (mode & 4) != 0 ? 1252 : 65001;
    parts.extraFlags = (mode >> 3) & 7;
    parts.textRecords = static_cast<uint16_t>(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].compare(0, 4, "HUFF") != 0) continue;
        size_t cdics = 0;
        while (i + 1 + cdics < records.size() && records[i + 1 + cdics].compare(0, 4, "CDIC") == 0) ++cdics;
        parts.textRecords = static_cast<uint16_t>(i);
        parts.huffRecord = static_cast<uint32_t>(i + 1);
        parts.huffCount = static_cast<uint32_t>(cdics + 1);
        break;
    }
    parts.firstImage = parts.textRecords + 1 + parts.huffCount;
    for (uint16_t i = 0; i < parts.textRecords; ++i) parts.textLength += static_cast<uint32_t>(records[i].size());
    if ((mode & 0x40) != 0) {
        parts.version = 8;
        parts.fdstRecord = static_cast<uint32_t>(records.size());
    }
    parts.exth = {{100, "Author"}, {201, std::string(4, '\0')}};
    return samples::MobiBookFile(parts, records);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 0xFFFFFFFFu) return 0;
    const std::string file = (data[0] & 0x80) != 0 ? std::string(reinterpret_cast<const char*>(data + 1), size - 1)
                                                   : BookAround(data[0], Pieces(data + 1, size - 1));
    // An exact-size copy, so that reading one byte too far is caught.
    const std::vector<uint8_t> bytes(file.begin(), file.end());
    ReadBook(bytes.empty() ? nullptr : bytes.data(), bytes.size());
    return 0;
}
