// Writes PalmDOC books (TEXt/REAd): test fixtures and benchmark inputs for
// the Text page and the text export. The text is cut into records of 4096
// bytes, each compressed on its own as a PalmDOC reader expects.
#pragma once

#include <string>

#include "tools/PalmWriter.h"

namespace corvelle::samples {

// One record of text, PalmDOC-compressed: literal bytes, space-and-letter
// pairs and back-references of 3 to 10 bytes up to 2047 bytes back.
std::string CompressPalmDocRecord(const std::string& text);

// A PalmDOC database of `text` (bytes of the device's code page), its text
// records compressed or not.
PalmDatabase PalmDocBook(const std::string& name, const std::string& text, bool compressed = true);

// A book's worth of English-looking text: `paragraphs` paragraphs of a few
// sentences each, every one ending in LF, the n-th beginning "Paragraph n:".
std::string SampleBookText(size_t paragraphs);

}  // namespace corvelle::samples
