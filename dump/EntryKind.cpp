#include "dump/EntryKind.h"

#include "dump/records/ResourceContent.h"

namespace corvelle {

PalmDocHeader DocHeaderOf(const DatabaseModel& model) {
    if (model.Count() == 0 || !model.Entry(0).hasData) return PalmDocHeader{};
    return DecodePalmDocHeader(model.Data(0));
}

EntryKind KindOf(const DatabaseModel& model, size_t index) {
    const ModelEntry& entry = model.Entry(index);
    if (!entry.hasData) return EntryKind::kNoData;
    if (model.HoldsResources()) {
        switch (KindOfResource(entry.type)) {
            case ResourceKind::kString: return EntryKind::kString;
            case ResourceKind::kBitmap: return EntryKind::kBitmap;
            case ResourceKind::kOther: return EntryKind::kBytes;
        }
        return EntryKind::kBytes;
    }
    switch (model.Format()) {
        case DatabaseFormat::kMemo: return EntryKind::kMemo;
        case DatabaseFormat::kToDo: return EntryKind::kToDo;
        case DatabaseFormat::kAddress: return EntryKind::kAddress;
        case DatabaseFormat::kDateBook: return EntryKind::kDateBook;
        case DatabaseFormat::kPalmDoc:
            if (index == 0) return EntryKind::kDocHeader;
            return index <= DocHeaderOf(model).textRecords ? EntryKind::kDocText : EntryKind::kBytes;
        case DatabaseFormat::kOther: return EntryKind::kBytes;
    }
    return EntryKind::kBytes;
}

}  // namespace corvelle
