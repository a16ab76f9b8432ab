// A document as plain text: what `--export text` writes of a book, which is
// the Text page's text without its looks (bold, italic, a heading's size).
#pragma once

#include <functional>
#include <string>

#include "formats/DocumentPlainText.h"

namespace corvelle {

class FormatReader;

// The whole document of a format's reader, as PlainTextSink writes it; false
// (nothing written) when the reader has no document to give. With `flush`,
// `out` is passed on as it fills, and the reading stops when the flush fails.
bool WritePlainDocument(const FormatReader& reader, const TextOptions& options, std::string& out,
                        const std::function<void(std::string)>& warn, const TextFlush* flush = nullptr);

}  // namespace corvelle
