// An eReader book as a person reads it: its text records joined and read as
// PML, then its footnotes and its sidebars, each under a heading of its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "dump/DatabaseModel.h"
#include "dump/records/EReaderRecord.h"
#include "formats/DocumentText.h"
#include "formats/PmlText.h"

namespace corvelle {

// The book's images by name: the records after the text that start with
// "PNG ", gathered when the first is asked for (a book may name the same
// image many times; a book without any never looks).
class EReaderImages final : public PmlImages {
public:
    EReaderImages(const DatabaseModel& model, size_t firstRecord) : m_model(model), m_first(firstRecord) {}
    ByteSpan Find(std::string_view name) const override;

private:
    const DatabaseModel& m_model;
    const size_t m_first;
    mutable bool m_gathered = false;
    mutable std::unordered_map<std::string_view, ByteSpan> m_byName;
};

// The text of a book stops once it would be more than this many times the
// size of its file: no honest compression comes near, and a book of many
// small compressed bombs (each under the bound of a record) stops there.
constexpr uint64_t kEReaderMaxExpansion = 64;

std::unique_ptr<DocumentReader> OpenEReaderDocument(const DatabaseModel& model, const EReaderHeader& header);

// One text record's text on its own, as plain UTF-8 (headings and rules as
// lines of their own): for an export of chosen records. A command that the
// record before it cut is read whole here; one that this record cuts is
// left to the next.
std::string EReaderRecordPlainText(const DatabaseModel& model, const EReaderHeader& header, size_t index);

}  // namespace corvelle
