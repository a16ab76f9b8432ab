#include "dump/records/TealDocRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the name", "the offset"};

}  // namespace

TealDocBookmark DecodeTealDocBookmark(const ByteSpan& record) {
    using Part = TealDocBookmarkPart;
    RecordReader<Part> in(record, kPartNames);
    TealDocBookmark bookmark;
    // A name cut by the record's end still shows as far as it goes.
    const uint64_t width = in.Left() < 16 ? in.Left() : 16;
    if (const uint8_t* name = in.Bytes(width, Part::kName)) {
        size_t length = 0;
        while (length < width && name[length] != 0) ++length;
        bookmark.name = std::string_view(reinterpret_cast<const char*>(name), length);
    }
    if (width < 16) in.Mark(Part::kName);
    if (in.Need(4, Part::kOffset)) bookmark.offset = in.U32();
    bookmark.cut = in.Cut();
    return bookmark;
}

}  // namespace corvelle
