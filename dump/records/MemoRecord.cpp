#include "dump/records/MemoRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {
namespace {

const char* const kPartNames[] = {"the memo"};

}  // namespace

MemoRecord DecodeMemo(const ByteSpan& record) {
    RecordReader<MemoPart> in(record, kPartNames);
    MemoRecord memo;
    memo.text = in.Text(MemoPart::kText);
    memo.cut = in.Cut();
    return memo;
}

}  // namespace corvelle
