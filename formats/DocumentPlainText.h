// A whole document as plain UTF-8 text with LF line ends: what a format
// whose text is read through a DocumentReader gives `--export text`.
// Headings are lines of their own, a rule or page break an empty line,
// images leave nothing; the notes come back for the export's warnings.
#pragma once

#include <string>
#include <vector>

#include "formats/DocumentText.h"

namespace corvelle {

// `expected`: about how long the text will be (a book's announced length), so that it grows once.
std::string ReadWholeDocument(DocumentReader& document, std::vector<std::string>& notes, size_t expected = 0);

}  // namespace corvelle
