#include "dump/records/ResourceContent.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kStringPartNames[] = {"the string"};

}  // namespace

ResourceKind KindOfResource(const FourCharCode& type) {
    if (CodeIs(type, "tAIN") || CodeIs(type, "tver") || CodeIs(type, "tSTR")) return ResourceKind::kString;
    if (CodeIs(type, "tAIB") || CodeIs(type, "Tbmp")) return ResourceKind::kBitmap;
    return ResourceKind::kOther;
}

StringResource DecodeStringResource(const ByteSpan& resource) {
    RecordReader<StringPart> in(resource, kStringPartNames);
    StringResource string;
    string.text = in.Text(StringPart::kText);
    string.cut = in.Cut();
    return string;
}

}  // namespace corvelle
