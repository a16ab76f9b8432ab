// The lines of an entry's decoded fields: one "Label:\tvalue" line a field,
// which parts of a cut record were read, and the line that says where it is cut.
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#include "dump/DatabaseModel.h"
#include "dump/records/RecordCut.h"

namespace corvelle {

// One "Label:\tvalue" line; a value's line breaks go on after a TAB.
void AppendField(std::string& out, std::string_view label, std::string_view value);

// "The record ends at byte N, inside the note." when the record is cut.
void AppendCutLine(const DatabaseModel& model, const RecordCut& cut, std::string& out);

// How far the decoding of a record got, by the parts of its format in order:
// the parts before the one where the record is cut were read whole, that one
// (a text, or a list) in part, and those after it not at all.
class CutOrder {
public:
    CutOrder(const RecordCut& cut, std::initializer_list<const char*> parts) : m_rank(parts.size()) {
        if (!cut.cut) return;
        size_t rank = 0;
        for (const char* part : parts) {
            if (std::strcmp(part, cut.inside) == 0) {
                m_rank = rank;
                return;
            }
            ++rank;
        }
    }
    bool Whole(size_t part) const { return part < m_rank; }
    bool Begun(size_t part) const { return part <= m_rank; }

private:
    size_t m_rank;
};

}  // namespace corvelle
