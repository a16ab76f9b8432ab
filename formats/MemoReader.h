// The entries of a database of memos: Memo Pad's and the later Memos'
// records are the same one text up to its zero byte.
#pragma once

#include "formats/Format.h"

namespace corvelle {

class MemoReader : public FormatReader {
public:
    explicit MemoReader(const DatabaseModel& model) : m_model(model) {}
    bool Decodes(size_t index) const override;
    void AppendContents(size_t index, ContentsCell& cell) const override;
    void AppendFields(size_t index, std::string& out) const override;
    void WriteJsonFields(size_t index, JsonFields& json) const override;
    void Feed(size_t index, ExportType type, ExportFeed& feed) const override;

protected:
    const DatabaseModel& m_model;
};

}  // namespace corvelle
