// A Memo Pad record: one text up to its zero byte.
#pragma once

#include <string_view>

#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

enum class MemoPart : unsigned { kText };

struct MemoRecord {
    std::string_view text;  // points into the record's bytes
    RecordCut cut;
};

MemoRecord DecodeMemo(const ByteSpan& record);

}  // namespace corvelle
