// The database header: one line per field of the 78-byte header.
#include "dump/ByteReader.h"
#include "dump/CodeNames.h"
#include "dump/PalmDate.h"
#include "dump/PalmLayout.h"
#include "dump/Sections.h"

namespace corvelle {
namespace {

struct AttributeLine {
    uint16_t bit;
    const char* text;
};

// Bits 0004h, 0080h, 0100h and 0400h upwards have no line.
const AttributeLine kAttributeLines[] = {
    {0x0001, "\t\tFile is a resource.\r\n"},
    {0x0002, "\t\tFile is read-only.\r\n"},
    {0x0008, "\t\tFile is ready to Back Up.\r\n"},
    {0x0010, "\t\tFile is ready to update old copy.\r\n"},
    {0x0020, "\t\tForce system to reset after file is installed.\r\n"},
    {0x0040, "\t\tDon't allow copy to be beamed.\r\n"},
    {0x0200, "\t\tFile is launchable.\r\n"},
};

// The hexadecimal shows the field's bytes reversed, the text its real value;
// a zero date has no text.
void AppendDateLine(ReportText& report, const char* format, const Field4& date) {
    report.Format(format, date.Reversed());
    if (!date.IsZero()) report.Append(PalmDateText(date.BigEndian()));
    report.EndLine();
}

int32_t SignExtend16(uint32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

}  // namespace

bool AppendHeaderSection(ReportText& report, const FileBytes& file) {
    report.Append("Header Information :\r\n\r\n");

    // Reads past the end give zeros (the reader fails for good), so every
    // field is read first and each line is printed only once the file is
    // known to hold all of its field. The name, being text, shows whatever
    // part of it the file holds.
    ByteReader reader(file.data, file.size);
    const std::string_view name = reader.FixedText(layout::kNameWidth);
    const Field2 attributes = reader.Read<2>();
    const Field2 version = reader.Read<2>();
    const Field4 created = reader.Read<4>();
    const Field4 modified = reader.Read<4>();
    const Field4 backedUp = reader.Read<4>();
    const Field4 modificationNumber = reader.Read<4>();
    const Field4 appInfoId = reader.Read<4>();
    const Field4 sortInfoId = reader.Read<4>();
    const Field4 type = reader.Read<4>();
    const Field4 creator = reader.Read<4>();
    const Field4 uniqueIdSeed = reader.Read<4>();
    const Field4 nextList = reader.Read<4>();
    const Field2 entryCount = reader.Read<2>();

    auto endsBefore = [&](uint64_t fieldEnd) {
        if (fieldEnd <= file.size) return false;
        AppendFileEnds(report, file, "the header is cut short");
        return true;
    };

    report.Line("\tName of database:\t%s", name);
    if (endsBefore(34)) return false;
    report.Line("\tattribute flags :\t%04Xh ", SignExtend16(attributes.BigEndian()));
    for (const AttributeLine& line : kAttributeLines)
        if (attributes.BigEndian() & line.bit) report.Append(line.text);
    if (endsBefore(36)) return false;
    report.Line("\tversion :\t%04Xh \t(%d.%d)", version.Reversed(), version.bytes[1], version.bytes[0]);
    if (endsBefore(40)) return false;
    AppendDateLine(report, "\tcreation Date :\t%08Xh \t", created);
    if (endsBefore(44)) return false;
    AppendDateLine(report, "\tmodification Date :\t%08Xh\t", modified);
    if (endsBefore(48)) return false;
    AppendDateLine(report, "\tlastBackupDate :\t%08Xh \t", backedUp);
    if (endsBefore(52)) return false;
    report.Line("\tmodificationNumber :\t%08Xh ", modificationNumber.BigEndian());
    if (endsBefore(56)) return false;
    report.Line("\tappInfoID :\t%08Xh ", appInfoId.BigEndian());
    if (endsBefore(60)) return false;
    report.Line("\tsortInfoID :\t%08Xh ", sortInfoId.BigEndian());
    if (endsBefore(64)) return false;
    report.Line("\tType :\t%08Xh \t\"%s\"\t%s", type.Reversed(), FourCharText(type), ResourceTypeName(type));
    if (endsBefore(68)) return false;
    report.Line("\tcreator :\t%08Xh \t\"%s\"\t%s ", creator.Reversed(), FourCharText(creator), CreatorName(creator));
    if (endsBefore(72)) return false;
    report.Line("\tuniqueIDSeed :\t%08Xh ", uniqueIdSeed.BigEndian());
    report.BlankLine();
    if (endsBefore(76)) return false;
    report.Line("\tNext offset:\t%08Xh ", nextList.BigEndian());
    if (endsBefore(layout::kHeaderSize)) return false;
    // A database holds up to 65535 entries: the count is unsigned.
    report.Line("\tNb :\t%04Xh \t(%d)", entryCount.BigEndian(), entryCount.BigEndian());
    report.BlankLine();
    return true;
}

}  // namespace corvelle
