// A Mobipocket book's EXTH metadata in words: one "Label:\tvalue" line a
// record for `--record 0` and the Records page, and the JSON's "exth" list.
#pragma once

#include <string>

#include "dump/records/MobiHeader.h"

namespace corvelle {

class JsonOut;
class TextDecoder;

// One line a record, in the block's order. Texts are the record's own bytes;
// numbers decimal; a cover or thumbnail is the record it names, counted from
// the first image record; data that is no text is hex.
void AppendExthFields(const MobiHeader& header, std::string& out);

// "exth": [{"type": 100, "name": "author", "text": "..."}, ...]; texts in
// UTF-8 through the book's own code page.
void WriteExthJson(const MobiHeader& header, TextDecoder& bookText, JsonOut& json);

}  // namespace corvelle
