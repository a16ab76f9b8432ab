// The record or resource list that follows the header. Only the list's
// entries are read; the data they point at is not.
#include "dump/ByteReader.h"
#include "dump/CodeNames.h"
#include "dump/PalmLayout.h"
#include "dump/RecordAttributes.h"
#include "dump/ResourceList.h"
#include "dump/Sections.h"

namespace corvelle {
namespace {

using namespace record_flags;

// Rough size of one entry's block, to reserve the report in one allocation.
constexpr size_t kRecordBlockBytes = 224;
constexpr size_t kResourceBlockBytes = 96;

std::string_view IsOrIsNot(uint8_t attributes, uint8_t bit) {
    return (attributes & bit) ? std::string_view(" ") : std::string_view(" not ");
}

// Printed once per entry: parsed once.
const ReportPattern kOffsetLine("\tOffset:\t%08Xh ");
const ReportPattern kAttributesLine("\tattrb :\t%02Xh ");
const ReportPattern kDeletedLine("\t\tRecord is%sdeleted.");
const ReportPattern kDirtyLine("\t\tRecord is%sdirty. ");
const ReportPattern kExpungedLine("\t\tRecord is%sexpunged.");
const ReportPattern kPrivateLine("\t\tRecord is%sprivate. ");
const ReportPattern kArchiveLine("\t\tRecord is deleted/expunged and is%smarked to be archived.");
const ReportPattern kCategoryLine("\t\tRecord category number is %d ");
const ReportPattern kRecordIdLine("\tID:\t%02X%02X%02Xh ");
const ReportPattern kTypeLine("\ttype:\t%08Xh \t\"%s\"\t%s");
const ReportPattern kResourceIdLine("\tID :\t%04Xh ");
const ReportPattern kLocalIdLine("\tlocalID:\t%08Xh ");

void AppendRecordBlock(ReportText& report, ByteReader& entry, bool describeAttributes) {
    const uint32_t dataOffset = entry.U32BE();
    const uint8_t attributes = entry.U8();
    const uint8_t id0 = entry.U8();
    const uint8_t id1 = entry.U8();
    const uint8_t id2 = entry.U8();

    report.Line(kOffsetLine, dataOffset);
    report.Line(kAttributesLine, attributes);
    // Query applications keep no such flags in their records.
    if (describeAttributes) {
        report.Line(kDeletedLine, IsOrIsNot(attributes, kDeleted));
        report.Line(kDirtyLine, IsOrIsNot(attributes, kDirty));
        report.Line(kExpungedLine, IsOrIsNot(attributes, kExpunged));
        report.Line(kPrivateLine, IsOrIsNot(attributes, kPrivate));
        if (attributes & (kExpunged | kDeleted))
            report.Line(kArchiveLine, IsOrIsNot(attributes, kArchive));
        else
            report.Line(kCategoryLine, attributes & kCategoryMask);
    }
    report.Line(kRecordIdLine, id0, id1, id2);
    report.BlankLine();
}

void AppendResourceBlock(ReportText& report, ByteReader& list) {
    const ResourceEntry entry = ReadResourceEntry(list);

    report.Line(kTypeLine, entry.type.Reversed(), FourCharText(entry.type), ResourceTypeName(entry.type));
    report.Line(kResourceIdLine, entry.id);
    report.Line(kLocalIdLine, entry.dataOffset);
    report.BlankLine();
}

}  // namespace

void AppendEntryList(ReportText& report, const FileBytes& file) {
    EntryListShape shape;
    if (!ReadEntryListShape(file, shape)) return;
    const bool describeAttributes = !CodeIs(shape.type, "pqa ");
    const bool resources = shape.resources;
    const uint32_t shown = shape.inside;

    report.Reserve(report.Size() + 64 + size_t{shown} * (resources ? kResourceBlockBytes : kRecordBlockBytes));
    report.Append(resources ? "Resources :\r\n" : "Records :\r\n");

    ByteReader entries(file.data, file.size);
    entries.Seek(layout::kListOffset);
    for (uint32_t i = 0; i < shown; ++i) {
        if (resources)
            AppendResourceBlock(report, entries);
        else
            AppendRecordBlock(report, entries, describeAttributes);
    }
    if (shown < shape.count) {
        ReportText reason;
        reason.Format("%d of %d entries are missing", shape.count - shown, shape.count);
        AppendFileEnds(report, file, reason.Take().c_str());
    }
}

}  // namespace corvelle
