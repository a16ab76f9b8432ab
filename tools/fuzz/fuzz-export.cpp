// libFuzzer entry point: the exports of arbitrary bytes. The first byte picks
// the database's kind (its type and creator are written over the header's),
// so that every writer sees every shape of record. The sanitizers flag any
// read past the input; the checks below flag output that a reader would
// refuse: text that is not UTF-8, content lines longer than 75 octets; and a
// book's text export must be what its Text page shows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "standards/ContentLine.h"
#include "export/Export.h"
#include "standards/Utf8.h"
#include "model/PageDocument.h"

namespace {

const char* const kKinds[] = {"DATAaddr", "DATAdate", "DATAtodo", "DATAmemo", "TEXtREAd", "DATAPDat", "DATAPTod",
                              "DATAPAdd", "BOOKMOBI", "DATAmail", "DATAexps", "DATAnpad", "JbDbJBas", "FotoFoto",
                              nullptr};
const char* const kEncodings[] = {"cp1252", "shift_jis", "big5"};

void CheckUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = corvelle::Utf8SequenceLength(text, i);
        if (length == 0) std::abort();
        i += length;
    }
}

void CheckContentLines(const std::string& text) {
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos || end - start > corvelle::kContentLineOctets) std::abort();
        start = end + 2;
    }
}

// The Text page's text of the same file is the export's text.
void CheckTextPage(const corvelle::DecodedDatabase& database, const std::string& encoding,
                   const std::string& exported) {
    corvelle::PageDocument page(database, *corvelle::FindCodePage(encoding));
    if (!page.HasDocument()) return;
    page.PrepareAll();
    if (page.Text().Utf8() != exported) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 0xFFFFFFFFu) return 0;
    const char* kind = kKinds[data[0] % (sizeof kKinds / sizeof kKinds[0])];
    // An exact-size copy, so that reading one byte too far is caught.
    std::vector<uint8_t> file(data + 1, data + size);
    if (kind != nullptr && file.size() >= 68) std::memcpy(file.data() + 60, kind, 8);
    const corvelle::DatabaseModel model(file.empty() ? nullptr : file.data(), file.size());
    const corvelle::DecodedDatabase database(model);
    for (corvelle::ExportType format : corvelle::ExportTypesFor(model)) {
        if (format == corvelle::ExportType::kRaw) continue;
        if (format == corvelle::ExportType::kImages) {
            std::string error;
            const auto keep = [](const std::string&, std::string_view bytes) { return !bytes.empty(); };
            if (!corvelle::ExportToFiles(database, format, {}, keep, error)) std::abort();
            continue;
        }
        corvelle::ExportOptions options;
        options.encoding = kEncodings[data[0] / 8 % 3];
        options.withData = true;
        std::vector<std::string> warnings;
        options.warnings = &warnings;
        std::string out, error;
        if (!corvelle::ExportToText(model, format, options, out, error)) std::abort();
        CheckUtf8(out);
        if (format == corvelle::ExportType::kVCard || format == corvelle::ExportType::kICalendar)
            CheckContentLines(out);
        // Notes (and warnings about the file) are on the page but not in the text.
        if (format == corvelle::ExportType::kText && warnings.empty()) CheckTextPage(database, options.encoding, out);
    }
    return 0;
}
