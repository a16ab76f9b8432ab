#include "export/PlainDocument.h"

#include <memory>

#include "export/Export.h"
#include "formats/Format.h"

namespace corvelle {

static_assert(kPlainTextPieceSize == kExportPieceSize, "a document's text goes out in the export's pieces");

bool WritePlainDocument(const FormatReader& reader, const TextOptions& options, std::string& out,
                        const std::function<void(std::string)>& warn, const TextFlush* flush) {
    const std::unique_ptr<DocumentReader> document = reader.OpenDocument(options);
    if (!document) return false;
    PlainTextSink sink(out, warn);
    while (document->Next(sink)) {
        if (flush != nullptr && !sink.PassOn(*flush)) break;
    }
    return true;
}

}  // namespace corvelle
