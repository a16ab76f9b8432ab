// Memo Pad (DATA/memo): a record is one text up to its zero byte.
#include "dump/records/MemoRecord.h"
#include "formats/ExportFeed.h"
#include "standards/JsonFields.h"
#include "formats/ContentsCell.h"
#include "formats/FieldLines.h"
#include "formats/MemoReader.h"

namespace corvelle {

bool MemoReader::Decodes(size_t) const { return true; }

void MemoReader::AppendContents(size_t index, ContentsCell& cell) const {
    cell.Add(DecodeMemo(m_model.Data(index)).text);
}

void MemoReader::AppendFields(size_t index, std::string& out) const {
    const MemoRecord memo = DecodeMemo(m_model.Data(index));
    AppendField(out, "Memo", memo.text);
    AppendCutLine(m_model, memo.cut, out);
}

void MemoReader::WriteJsonFields(size_t index, JsonFields& json) const {
    const MemoRecord memo = DecodeMemo(m_model.Data(index));
    json.Text("text", memo.text);
    json.Cut(memo.cut);
}

void MemoReader::Feed(size_t index, ExportType, ExportFeed& feed) const {
    feed.Memo(DecodeMemo(m_model.Data(index)).text);
}

namespace {

bool IsMemoPad(const DatabaseModel& model) { return IsRecordDatabase(model, "DATA", "memo"); }

std::unique_ptr<FormatReader> OpenMemos(const DatabaseModel& model) { return std::make_unique<MemoReader>(model); }

}  // namespace

extern const Format kMemoFormat = {"memo", "Memo", ExportBit(ExportType::kText), IsMemoPad, OpenMemos};

}  // namespace corvelle
