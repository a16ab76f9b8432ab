#include "dump/records/MemoRecord.h"

#include "dump/records/RecordReading.h"

namespace corvelle {

MemoRecord DecodeMemo(const ByteSpan& record) {
    RecordReader in(record);
    MemoRecord memo;
    memo.text = in.Text("the memo");
    memo.cut = in.Cut();
    return memo;
}

}  // namespace corvelle
