// TealDoc documents (TEXt/TlDc) are PalmDOC documents whose records after
// the text are bookmarks: a name of 16 bytes, then where in the text it points.
#pragma once

#include <cstdint>
#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

enum class TealDocBookmarkPart : unsigned { kName, kOffset };

struct TealDocBookmark {
    std::string_view name;  // up to its first zero byte
    uint32_t offset = 0;    // in the text, counted from its start
    RecordCut cut;
};

TealDocBookmark DecodeTealDocBookmark(const ByteSpan& record);

}  // namespace corvelle
