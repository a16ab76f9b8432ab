// What a resource of a well-known type holds: a string (tAIN, tver, tSTR)
// or a bitmap family (tAIB, Tbmp), decoded by the thumbnail's decoder.
#pragma once

#include <string_view>

#include "dump/CodeNames.h"
#include "dump/ByteSpan.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

enum class ResourceKind { kOther, kString, kBitmap };

ResourceKind KindOfResource(const FourCharCode& type);

enum class StringPart : unsigned { kText };

struct StringResource {
    std::string_view text;
    RecordCut cut;
};

StringResource DecodeStringResource(const ByteSpan& resource);

}  // namespace corvelle
