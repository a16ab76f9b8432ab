// Memos and PalmDOC documents as plain UTF-8 text.
//
// Memos come one after the other, each followed by a line break, with a
// separator line between two of them. The separator is a rule of equals
// signs with the memo's number; the rule is made longer until no line of any
// memo starts with it, so that the separator can never be memo text and the
// memos can be split apart again exactly.
#include <string>
#include <vector>

#include "dump/records/MemoRecord.h"
#include "dump/records/PalmDocRecord.h"
#include "export/ExportWriters.h"

namespace corvelle {
namespace {

bool AnyLineStartsWith(const std::string& text, const std::string& prefix) {
    for (size_t start = 0; start <= text.size();) {
        if (text.compare(start, prefix.size(), prefix) == 0) return true;
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

std::string SeparatorRule(const std::vector<std::string>& memos) {
    std::string rule(8, '=');
    for (bool clash = true; clash;) {
        clash = false;
        for (const std::string& memo : memos) {
            if (AnyLineStartsWith(memo, rule)) {
                clash = true;
                rule += "====";
                break;
            }
        }
    }
    return rule;
}

void WriteMemos(const ExportContext& context, std::string& out) {
    std::vector<std::string> memos;
    for (size_t index : context.indexes)
        if (IsLiveRecord(context.model, index))
            memos.push_back(context.Utf8(DecodeMemo(context.model.Data(index)).text));
    const std::string rule = SeparatorRule(memos);
    const std::string count = std::to_string(memos.size());
    for (size_t i = 0; i < memos.size(); ++i) {
        if (i > 0) out += rule + " Memo " + std::to_string(i + 1) + " of " + count + " " + rule + "\n";
        out += memos[i];
        out += '\n';
    }
}

// The text records joined before conversion: a two-byte character of
// Shift_JIS or Big5 may straddle two records.
void WriteDocument(const DatabaseModel& model, const ExportContext& context, std::string& out) {
    if (model.Count() == 0) return;
    const PalmDocHeader header = DecodePalmDocHeader(model.Data(0));
    std::string text;
    for (size_t index : context.indexes) {
        if (index == 0 || index > header.textRecords || !IsLiveRecord(model, index)) continue;
        const PalmDocText part = DecodePalmDocText(model.Data(index), header.compression);
        text += part.text;
        if (part.badReference)
            context.Warn(RecordName(index) + ": its text stops at byte " + std::to_string(part.stoppedAt) +
                         ", at a reference before the start of the text");
        else if (part.cut.cut)
            context.Warn(RecordName(index) + ": its text stops at byte " + std::to_string(part.cut.at) +
                         ", where the record ends inside " + part.cut.inside);
    }
    context.decoder.AppendUtf8(text, out);
}

}  // namespace

void WriteText(const ExportContext& context, std::string& out) {
    if (context.model.Format() == DatabaseFormat::kPalmDoc)
        WriteDocument(context.model, context, out);
    else
        WriteMemos(context, out);
}

}  // namespace corvelle
