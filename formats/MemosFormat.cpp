// Memos (DATA/PMem), the memo pad of every Palm from late 2003 on: its
// records are Memo Pad's, one text up to its zero byte; only its AppInfo
// block (category colours, sort order) is new, and nothing shown reads that.
#include "formats/MemoReader.h"

namespace corvelle {
namespace {

bool IsMemos(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "PMem"); }

std::unique_ptr<FormatReader> OpenMemos(const DatabaseModel& model) { return std::make_unique<MemoReader>(model); }

}  // namespace

extern const Format kMemosFormat = {"memos", "Memos", ExportBit(ExportType::kText), IsMemos, OpenMemos};

}  // namespace corvelle
