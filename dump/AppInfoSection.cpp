// The AppInfo block: the standard category block of an ordinary database, or
// the PQA header of a query application.
#include "dump/ByteReader.h"
#include "dump/CodeNames.h"
#include "dump/PalmLayout.h"
#include "dump/Sections.h"

namespace corvelle {
namespace {

const char kAppInfoCut[] = "the AppInfo block is cut short";

// Ends a section that the end of the file cut short: the line that says so,
// then the empty line that ends the section in a whole file too.
void EndCutSection(ReportText& report, const FileBytes& file) {
    AppendFileEnds(report, file, kAppInfoCut);
    report.BlankLine();
}

void AppendCategoryBlock(ReportText& report, const FileBytes& file, uint64_t blockOffset) {
    ByteReader reader(file.data, file.size);
    reader.Seek(blockOffset);
    report.Append("AppInfo :\r\n");

    const uint16_t renamed = reader.U16BE();
    if (!reader.Ok()) return EndCutSection(report, file);
    report.Line("\trenamedCategories:\t%04Xh ", renamed);

    for (unsigned i = 0; i < layout::kCategoryCount; ++i) {
        // A label fills its 16 bytes when it has no zero byte; a label cut by
        // the end of the file shows the part inside it.
        report.Line("\tcategoryLabels:\t%s ", reader.FixedText(layout::kCategoryLabelWidth));
        if (!reader.Ok()) return EndCutSection(report, file);
    }
    for (unsigned i = 0; i < layout::kCategoryCount; ++i) {
        const uint8_t id = reader.U8();
        if (!reader.Ok()) return EndCutSection(report, file);
        report.Line("\tcategoryUniqIDs:\t%02Xh ", id);
    }
    const uint8_t lastId = reader.U8();
    if (!reader.Ok()) return EndCutSection(report, file);
    report.Line("\tlastUniqID:\t%02Xh ", lastId);
    report.BlankLine();
}

void AppendPqaHeader(ReportText& report, const FileBytes& file, uint64_t blockOffset) {
    ByteReader reader(file.data, file.size);
    reader.Seek(blockOffset);
    report.Append("AppInfo :\r\n");

    const Field4 signature = reader.Read<4>();
    if (!reader.Ok()) return EndCutSection(report, file);
    report.Line("\tSignature :\t%08Xh \t\"%s\"\t%s ", signature.Reversed(), FourCharText(signature),
                CreatorName(signature));

    const Field2 headerVersion = reader.Read<2>();
    if (!reader.Ok()) return EndCutSection(report, file);
    report.Line("\tHeader version:\t%04Xh \t(%d.%d)", headerVersion.Reversed(), headerVersion.bytes[1],
                headerVersion.bytes[0]);

    const Field2 encoderVersion = reader.Read<2>();
    if (!reader.Ok()) return EndCutSection(report, file);
    report.Line("\tEncoder version:\t%04Xh \t(%d.%d)", encoderVersion.Reversed(), encoderVersion.bytes[1],
                encoderVersion.bytes[0]);

    // Lengths count 16-bit units; they place the next field, while the texts
    // themselves are printed up to their zero byte.
    const uint32_t versionUnits = reader.U16BE();
    if (!reader.Ok()) return EndCutSection(report, file);
    report.Line("\tString version size:\t%04Xh ", 2 * versionUnits);
    const uint64_t versionOffset = reader.Offset();
    report.Line("\tString version :\t\t%s ", reader.ZeroTerminatedText());
    if (!reader.Ok()) return EndCutSection(report, file);

    ByteReader titleReader(file.data, file.size);
    titleReader.Seek(versionOffset + 2 * uint64_t{versionUnits});
    const uint32_t titleUnits = titleReader.U16BE();
    if (!titleReader.Ok()) return EndCutSection(report, file);
    report.Line("\tPQA Title String size:\t%04Xh ", 2 * titleUnits);
    report.Line("\tPQA Title :\t\t%s ", titleReader.ZeroTerminatedText());
    if (!titleReader.Ok()) return EndCutSection(report, file);
    report.BlankLine();
}

}  // namespace

void AppendAppInfoSection(ReportText& report, const FileBytes& file) {
    ByteReader header(file.data, file.size);
    header.Seek(layout::kAppInfoIdOffset);
    const uint32_t appInfoOffset = header.U32BE();
    header.Seek(layout::kTypeOffset);
    const FourCharCode type = header.Read<4>();
    if (!header.Ok()) return;

    // Only the block's first byte is tested against the file here; a block
    // that starts inside the file but runs past its end is cut short below.
    if (appInfoOffset == 0 || appInfoOffset >= file.size) return;

    if (CodeIs(type, "pqa "))
        AppendPqaHeader(report, file, appInfoOffset);
    else
        AppendCategoryBlock(report, file, appInfoOffset);
}

}  // namespace corvelle
