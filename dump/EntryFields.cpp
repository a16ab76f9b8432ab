// An entry's decoded fields, by the kind of entry: what the entry pane shows
// above the bytes and what the search looks through.
#include <string_view>
#include <vector>

#include "dump/DateBookFields.h"
#include "dump/EntryFormat.h"
#include "dump/EntryKind.h"
#include "dump/FieldLines.h"
#include "dump/PalmBitmap.h"
#include "dump/PalmBitmapLayout.h"
#include "dump/TextAppend.h"
#include "dump/records/AddressRecord.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/MemoRecord.h"
#include "dump/records/PalmDocRecord.h"
#include "dump/records/ResourceContent.h"
#include "dump/records/ToDoRecord.h"

namespace corvelle {
namespace {


const char* CompressionName(const BitmapRendition& r) {
    const bool compressed = (r.flags & bitmap::kCompressed) &&
                            !(r.version >= 2 && r.compression == bitmap::kNoCompression);
    if (!compressed) return "uncompressed";
    if (r.version < 2) return "scan-line compressed";
    switch (r.compression) {
        case bitmap::kScanLine: return "scan-line compressed";
        case bitmap::kRle: return "RLE compressed";
        case bitmap::kPackBits: return "PackBits compressed";
        default: return "unknown compression";
    }
}

void AppendBitmapFields(const ByteSpan& data, std::string& out) {
    std::string value;
    const std::vector<BitmapRendition> renditions = ListRenditions(data.data, data.size);
    for (size_t i = 0; i < renditions.size(); ++i) {
        const BitmapRendition& r = renditions[i];
        if (i != 0) value.push_back('\n');
        AppendDecimal(value, r.width);
        value.push_back('x');
        AppendDecimal(value, r.height);
        value += ", ";
        AppendDecimal(value, r.depth);
        value += r.depth == 1 ? " bit per pixel, density " : " bits per pixel, density ";
        AppendDecimal(value, r.density);
        value += ", ";
        value += CompressionName(r);
    }
    if (renditions.empty()) value = "no rendition";
    AppendField(out, "Bitmap", value);
}

}  // namespace

std::string EntryFieldsText(const DatabaseModel& model, size_t index) {
    std::string out;
    if (index >= model.Count()) return out;
    const ByteSpan data = model.Data(index);
    switch (KindOf(model, index)) {
        case EntryKind::kNoData:
        case EntryKind::kBytes:
            return out;
        case EntryKind::kMemo: {
            const MemoRecord memo = DecodeMemo(data);
            AppendField(out, "Memo", memo.text);
            AppendCutLine(model, memo.cut, out);
            return out;
        }
        case EntryKind::kToDo: {
            const ToDoRecord todo = DecodeToDo(data);
            const CutOrder read(todo.cut, {"the due date", "the priority", "the description", "the note"});
            std::string due;
            AppendDate(due, todo.due);
            if (read.Whole(0)) AppendField(out, "Due", due);
            if (read.Whole(1)) {
                AppendField(out, "Priority", Number(todo.priority));
                AppendField(out, "Completed", todo.completed ? "yes" : "no");
            }
            if (read.Begun(2)) AppendField(out, "Description", todo.description);
            if (!todo.note.empty()) AppendField(out, "Note", todo.note);
            AppendCutLine(model, todo.cut, out);
            return out;
        }
        case EntryKind::kAddress: {
            const AddressRecord address = DecodeAddress(data);
            const AddressLabels labels = ReadAddressLabels(model);
            for (unsigned field = 0; field < kAddressFieldCount; ++field) {
                if (!address.present[field]) continue;
                const std::string_view label = field >= kPhone1 && field <= kPhone5
                                                   ? PhoneLabel(labels, address.phoneLabel[field - kPhone1])
                                                   : std::string_view(labels.label[field]);
                AppendField(out, label, address.field[field]);
            }
            AppendCutLine(model, address.cut, out);
            return out;
        }
        case EntryKind::kDateBook: {
            const DateBookRecord event = DecodeDateBook(data);
            AppendDateBookFields(event, out);
            AppendCutLine(model, event.cut, out);
            return out;
        }
        case EntryKind::kDocHeader: {
            const PalmDocHeader header = DecodePalmDocHeader(data);
            const char* compression = header.compression == kPalmDocUncompressed ? "none"
                                      : header.compression == kPalmDocCompressed ? "PalmDOC"
                                                                                  : nullptr;
            const CutOrder read(header.cut, {"the compression", "the spare bytes", "the text length",
                                             "the text record count", "the record size", "the position"});
            if (read.Whole(0))
                AppendField(out, "Compression", compression != nullptr ? compression : Number(header.compression));
            if (read.Whole(2)) AppendField(out, "Text length", Number(header.textLength));
            if (read.Whole(3)) AppendField(out, "Text records", Number(header.textRecords));
            if (read.Whole(4)) AppendField(out, "Record size", Number(header.recordSize));
            if (read.Whole(5)) AppendField(out, "Position", Number(header.position));
            AppendCutLine(model, header.cut, out);
            return out;
        }
        case EntryKind::kDocText: {
            const PalmDocText text = DecodePalmDocText(data, DocHeaderOf(model).compression);
            AppendField(out, "Text", text.text);
            AppendCutLine(model, text.cut, out);
            if (text.badReference) {
                out += "The text stops at byte ";
                AppendDecimal(out, text.stoppedAt);
                out += " of the record: a back-reference there reaches before the start of the text.\n";
            }
            return out;
        }
        case EntryKind::kString: {
            const StringResource string = DecodeStringResource(data);
            AppendField(out, "String", string.text);
            AppendCutLine(model, string.cut, out);
            return out;
        }
        case EntryKind::kBitmap:
            AppendBitmapFields(data, out);
            return out;
    }
    return out;
}

}  // namespace corvelle
