// The engine: reader, formatter, dates, code names; each section on databases built to reach what
// the samples do not; every prefix of every sample; files that do not map; the samples' golden
// reports; corvelle-dump's output and exit status (files are written in folders of their own).
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "TestFolder.h"
#include "Version.h"
#include "dump/ByteReader.h"
#include "dump/CodeNames.h"
#include "dump/DatabaseModel.h"
#include "formats/EntryText.h"
#include "dump/PalmDate.h"
#include "dump/PalmDump.h"
#include "dump/ReportText.h"
#include "standards/CodePage.h"
#include "tools/fixtures/PalmWriter.h"

using namespace corvelle;

namespace {

std::string ReportOf(const std::string& bytes) {
    // A copy of exactly the file's length on the heap: the sanitizer build catches a read past the end.
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    return BuildReport(copy.empty() ? nullptr : copy.data(), static_cast<uint32_t>(copy.size()));
}

const uint8_t kBytes[] = {0x03, 0xE8, 'a', 'b', 0x00, 'c', 0x12, 0x34};

TEST(ByteReader, ReadsUpToTheLastByteAndAFailureIsSticky) {
    ByteReader reader(kBytes, sizeof kBytes);
    const Field2 id = reader.Read<2>();
    EXPECT_EQ(id.BigEndian(), 0x03E8u);
    EXPECT_EQ(id.Reversed(), 0xE803u);
    reader.Seek(7);
    EXPECT_EQ(reader.U8(), 0x34u);
    reader.Seek(sizeof kBytes);  // the end itself is a place to stand
    EXPECT_TRUE(reader.Ok());
    reader.Seek(4);
    EXPECT_FALSE(reader.CanRead(UINT64_MAX - 2));  // no wrap-around
    EXPECT_EQ(reader.U32BE(), 0x00631234u);
    reader.Seek(6);
    EXPECT_EQ(reader.U32BE(), 0u);
    EXPECT_FALSE(reader.Ok());
    EXPECT_EQ(reader.U8(), 0u);  // even a read that would fit now answers zero
    EXPECT_EQ(reader.Offset(), 6u);
    ByteReader pastEnd(kBytes, sizeof kBytes), none(nullptr, 100);
    pastEnd.Seek(sizeof kBytes + 1);
    EXPECT_EQ(none.U8(), 0u);
    EXPECT_FALSE(pastEnd.Ok() || none.Ok());
}

TEST(ByteReader, TextsStopAtZeroOrAtTheEnd) {
    const struct { uint64_t start, width; const char* text; bool ok; } kCases[] = {  // width 0: zero-terminated
        {2, 4, "ab", true}, {2, 2, "ab", true}, {5, 8, "c\x12\x34", false},
        {2, 0, "ab", true}, {5, 0, "c\x12\x34", false}, {8, 0, "", false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::Message() << c.start << " " << c.width);
        ByteReader reader(kBytes, sizeof kBytes);
        reader.Seek(c.start);
        const std::string_view text = c.width ? reader.FixedText(c.width) : reader.ZeroTerminatedText();
        EXPECT_EQ(std::string(text), c.text);
        EXPECT_EQ(reader.Ok(), c.ok);
        if (c.ok) { EXPECT_EQ(reader.Offset(), c.start + (c.width ? c.width : text.size() + 1)); }
    }
}

TEST(ReportText, PrintsWhatPrintfPrints) {
    const struct { const char* format; int32_t value; } kCases[] = {
        {"\tNb :\t%04Xh ", 0x12}, {"%04X", 0x1FFFE}, {"%04Xh", -32768}, {"%08X", -1}, {"%02Xh", 0}, {"(%d)", -1},
        {"%d", INT32_MIN}, {"%d", INT32_MAX}, {"%04d", -7}, {"%6X", 0xAB}, {"100%% %d", 5}};
    for (const auto& c : kCases) {
        char expected[64];
        std::snprintf(expected, sizeof expected, c.format, c.value);
        ReportText report;
        report.Format(c.format, c.value);
        EXPECT_EQ(report.Take(), expected) << c.format;
    }
    ReportText report;  // texts end at their first zero; a missing argument prints nothing
    report.Format("[%s][%s]", std::string_view("ab\0cd", 5), "ef");
    report.Line("%d and %d", 1);
    EXPECT_EQ(report.Take(), "[ab][ef]1 and \r\n");
}

// The C library in the C locale is the reference: the range's ends, the leap
// days either side of the century and uneven steps across the whole range.
TEST(PalmDate, MatchesStrftimeAcrossTheRange) {
    std::setlocale(LC_TIME, "C");
    std::vector<uint64_t> seconds = {0, 1, 59 * 86400 + 3599, 0xB492F3FF, 0xB4E0BC80, 0xB4E20E00, 0xFFFFFFFF};
    for (uint64_t s = 0; s <= 0xFFFFFFFFu; s += 7777777 + s % 86399) seconds.push_back(s);
    for (const uint64_t s : seconds) {
        const time_t unixTime = static_cast<time_t>(s) - 2082844800;  // 1904-01-01 00:00:00 UTC
        std::tm parts{};
        ASSERT_NE(gmtime_r(&unixTime, &parts), nullptr);
        char expected[80];
        std::strftime(expected, sizeof expected, "%A %d %B %Y - %H %M %S", &parts);
        ASSERT_EQ(PalmDateText(static_cast<uint32_t>(s)), expected) << s;
    }
}

// Not the tables' names again: the lookups' rules (case, a code in both tables, zero and high bytes).
TEST(CodeNames, TextAndBothTables) {
    const struct { const char *code, *text, *creator, *type; } kCases[] = {
        {"appl", "appl", "unknown", "Application"}, {"APPL", "APPL", "unknown", "Application"},
        {"Appl", "Appl", "unknown", "unknown"},     {"pref", "pref", "Preferences", "Preferences"},
        {"pqa\0", "pqa", "unknown", "unknown"},     {"ab\0c", "ab", "unknown", "unknown"},
        {"\x80\xFFzz", "\x80\xFFzz", "unknown", "unknown"}};
    for (const auto& c : kCases) {
        FourCharCode code;
        std::memcpy(code.bytes, c.code, 4);
        EXPECT_EQ(FourCharText(code), c.text);
        EXPECT_STREQ(CreatorName(code), c.creator) << c.text;
        EXPECT_STREQ(ResourceTypeName(code), c.type) << c.text;
    }
}

// Whether the report holds these lines one after another from a line's start (as its last when atEnd).
bool HasBlock(const std::string& report, const std::vector<std::string>& block, bool atEnd) {
    std::string text = "\n";
    for (const std::string& line : block) text += line + "\r\n";
    const std::string lines = "\n" + report;
    const size_t at = atEnd ? lines.size() - std::min(lines.size(), text.size()) : 0;
    return lines.find(text, at) != std::string::npos;
}

std::string Ends(size_t size, const std::string& what) {
    return "\tThe file ends at byte " + std::to_string(size) + ": " + what + ".";
}

// A database with one record of these attributes (none when negative) or these resources.
std::string Db(const char* type, uint16_t attributes = 0, const std::string& appInfo = "", int record = -1,
               const std::vector<samples::PalmResource>& resources = {}) {
    samples::PalmDatabase db;
    db.name = "Test";
    db.type = type;
    db.attributes = attributes;
    db.appInfo = appInfo;
    if (record >= 0) db.records.push_back({static_cast<uint8_t>(record), 0x001234, "data"});
    db.resources = resources;
    return samples::SerializePalmDatabase(db);
}

std::string Patch(std::string file, size_t at, const std::string& part) { return file.replace(at, part.size(), part); }

std::string AppInfoAt(const std::string& bytes, uint32_t offset) {  // appInfoID is big-endian at byte 52
    return Patch(bytes, 52, {char(offset >> 24), char(offset >> 16), char(offset >> 8), char(offset)});
}

struct ReportCase { const char* name; std::string bytes; std::vector<std::string> block; bool atEnd = false; };

std::vector<ReportCase> Cases() {
    const std::string empty = Db("DATA");  // the header, no entries: 80 bytes
    const std::string cats = Db("DATA", 0, samples::CategoryAppInfo({"Unfiled", "", "0123456789abcdef"}, 0x8001));
    const std::string pqa = Db("pqa ", 0, samples::PqaAppInfo("lnch", 1, 1, "1.0", "T"));
    const std::string header = "the header is cut short", appInfo = "the AppInfo block is cut short";
    const std::vector<std::string> noAppInfo = {"\tNb :\t0000h \t(0)", "", "Records :"};
    // Lengths count 16-bit units: 3 units of version text put the title's length at 16.
    const std::string unknownPqa = std::string("zzzz\0\1\0\1\0\3ab\0\0XY\0\2Hi\0\0", 22);
    return {
        // Every flag bit set: each described one has its line, the others none.
        {"AllFlagsSignExtended", Db("DATA", 0xFFFF),
         {"\tattribute flags :\tFFFFFFFFh ", "\t\tFile is a resource.", "\t\tFile is read-only.",
          "\t\tFile is ready to Back Up.", "\t\tFile is ready to update old copy.",
          "\t\tForce system to reset after file is installed.", "\t\tDon't allow copy to be beamed.",
          "\t\tFile is launchable.", "\tversion :\t0000h \t(0.0)"}},
        {"VersionBytesAreUnsigned", Patch(empty, 34, "\xFF\x02"), {"\tversion :\t02FFh \t(2.255)"}},
        {"ZeroByteInCreator", Patch(empty, 60, std::string("applme\0o", 8)),
         {"\tType :\t6C707061h \t\"appl\"\tApplication", "\tcreator :\t6F00656Dh \t\"me\"\tunknown "}},
        {"CountIsUnsigned", Patch(empty, 76, "\xFF\xFF"),
         {"\tNb :\tFFFFh \t(65535)", "", "Records :", Ends(80, "65535 of 65535 entries are missing")}, true},
        {"CutInFlags", empty.substr(0, 33), {"\tName of database:\tTest", Ends(33, header)}, true},
        {"CutAfterFlags", empty.substr(0, 34), {"\tattribute flags :\t0000h ", Ends(34, header)}, true},
        {"CutAfterType", empty.substr(0, 64), {"\tType :\t41544144h \t\"DATA\"\tunknown", Ends(64, header)}, true},
        {"LabelWithoutZero", Patch(cats, 82, std::string(16, 'L')),
         {"AppInfo :", "\trenamedCategories:\t8001h ", "\tcategoryLabels:\tLLLLLLLLLLLLLLLL ",
          "\tcategoryLabels:\t ", "\tcategoryLabels:\t0123456789abcde "}},
        {"AppInfoAtFileEnd", AppInfoAt(pqa, pqa.size()), noAppInfo, true},
        {"AppInfoFarOutside", AppInfoAt(pqa, 0xFFFFFFFF), noAppInfo, true},
        {"AppInfoAtLastByte", AppInfoAt(cats, cats.size() - 1),
         {"AppInfo :", Ends(cats.size(), appInfo), "", "Records :"}, true},
        {"PqaTitlePlacedByLength", Db("pqa ", 0, unknownPqa),
         {"\tEncoder version:\t0100h \t(1.0)", "\tString version size:\t0006h ", "\tString version :\t\tab ",
          "\tPQA Title String size:\t0004h ", "\tPQA Title :\t\tHi ", ""}},
        {"PqaTextCut", pqa.substr(0, 92), {"\tString version :\t\t1. ", Ends(92, appInfo), "", "Records :"}, true},
        {"UpperCasePqaHasCategories", Db("PQA ", 0, samples::CategoryAppInfo({})),
         {"AppInfo :", "\trenamedCategories:\t0000h "}},
        {"FlagsHighCategoryLow", Db("DATA", 0, "", 0x5F),
         {"\tattrb :\t5Fh ", "\t\tRecord is not deleted.", "\t\tRecord is dirty. ", "\t\tRecord is not expunged.",
          "\t\tRecord is private. ", "\t\tRecord category number is 15 ", "\tID:\t001234h "}},
        {"ExpungedNotArchived", Db("DATA", 0, "", 0x80),
         {"\tattrb :\t80h ", "\t\tRecord is not deleted.", "\t\tRecord is not dirty. ", "\t\tRecord is expunged.",
          "\t\tRecord is not private. ", "\t\tRecord is deleted/expunged and is not marked to be archived."}},
        {"LibraryHoldsResources", Db("libr", 0, "", -1, {{"tFRM", 1000, "x"}}),
         {"Resources :", "\ttype:\t4D524674h \t\"tFRM\"\tFormes", "\tID :\t03E8h "}},
        {"UpperCaseApplHoldsRecords", Db("APPL", 1), noAppInfo, true},
        {"CountBeyondTheFile", Patch(Db("DATA", 0, "", 0), 76, "\xFF\xFF").substr(0, 86),
         {"\tID:\t001234h ", "", Ends(86, "65534 of 65535 entries are missing")}, true},
    };
}

TEST(ReportSections, EdgeCasesTheSamplesDoNotReach) {
    for (const ReportCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const std::string report = ReportOf(c.bytes);
        EXPECT_TRUE(HasBlock(report, c.block, c.atEnd)) << report;
    }
}

const struct { const char* file; samples::PalmDatabase (*make)(); } kSamples[] = {
    {"Memos.pdb", samples::MemoSample}, {"Hello.prc", samples::ApplicationSample}, {"Query.pqa", samples::QuerySample}};

// The samples are the writer's and their reports the golden ones. Every prefix of every sample:
// the report never reads past the end (the sanitizer build catches that), and it either is the
// whole file's report (less an AppInfo block that now starts outside the file, which is dropped
// without a word) or says where the file ends.
TEST(SampleReport, MatchesItsGoldenAndEveryTruncationIsReportedSafely) {
    for (const auto& sample : kSamples) {
        const std::string bytes = samples::SerializePalmDatabase(sample.make());
        const std::string full = ReportOf(bytes);
        EXPECT_EQ(ReadAll(std::string(CORVELLE_SAMPLES) + "/" + sample.file), bytes) << sample.file;
        EXPECT_EQ(full, ReadAll(std::string(CORVELLE_TEST_DATA) + "/" + sample.file + ".report")) << sample.file;
        const size_t appInfo = full.find("AppInfo :\r\n");
        const std::string fullWithoutAppInfo = appInfo == std::string::npos
            ? full : full.substr(0, appInfo) + full.substr(full.find("\r\n\r\n", appInfo) + 4);
        for (size_t length = 0; length <= bytes.size(); ++length) {
            SCOPED_TRACE(std::string(sample.file) + " cut at " + std::to_string(length));
            const std::string report = ReportOf(bytes.substr(0, length));
            ASSERT_EQ(report.rfind("Header Information :\r\n\r\n", 0), 0u);
            const std::string endLine = "\tThe file ends at byte " + std::to_string(length) + ": ";
            ASSERT_TRUE(report == full || report == fullWithoutAppInfo || report.find(endLine) != std::string::npos);
            if (length < 78) { ASSERT_NE(report.find("the header is cut short"), std::string::npos); }
        }
    }
}

TEST(DumpPalmFile, FilesThatDoNotMapGiveOneLineSayingWhy) {
    const TemporaryFolder folder;
    EXPECT_EQ(DumpPalmFile((folder.path + "/missing.pdb").c_str()), "Cannot open file.\r\n");
    EXPECT_EQ(DumpPalmFile(folder.path.c_str()), "Cannot open file.\r\n");
    EXPECT_EQ(DumpPalmFile(folder.Write("empty.pdb", "").c_str()), "File is empty.\r\n");
    EXPECT_EQ(DumpPalmFile(folder.Write("tiny.pdb", "AB").c_str()),
              "Header Information :\r\n\r\n\tName of database:\tAB\r\n"
              "\tThe file ends at byte 2: the header is cut short.\r\n");
}

// An expected stream that is empty or ends in a line break is the whole stream; any other is its start.
void ExpectStream(const std::string& actual, const std::string& expected) {
    const bool whole = expected.empty() || expected.back() == '\n';
    EXPECT_TRUE((whole ? actual : actual.substr(0, expected.size())) == expected) << actual.substr(0, 1000);
}

// The tool streams each report in chunks: a full database's 12 MB report crosses many chunk boundaries.
// A message on the error stream is one whole line.
TEST(CommandLine, OutputAndExitStatus) {
    const TemporaryFolder folder;  // the tool runs in it, beside an empty file and a full database
    folder.Write("empty.pdb", "");
    const std::string full = samples::SerializePalmDatabase(samples::SyntheticRecordDatabase(65535));
    folder.Write("full.pdb", full);
    const std::string fullReport = BuildReport(reinterpret_cast<const uint8_t*>(full.data()), full.size());
    size_t entries = 0;
    for (size_t at = 0; (at = fullReport.find("\tOffset:\t", at)) != std::string::npos; ++at) ++entries;
    EXPECT_EQ(entries, 65535u);
    const std::string sampleDir = CORVELLE_SAMPLES, golden = CORVELLE_TEST_DATA,
                      usage = "Usage: corvelle-dump [--encoding NAME] FILE...";
    const std::string memoFile = sampleDir + "/Memos.pdb", memos = ReadAll(golden + "/Memos.pdb.report");
    const std::string memoBytes = ReadAll(memoFile);  // --records and --record N print the entries' texts
    const DatabaseModel model(reinterpret_cast<const uint8_t*>(memoBytes.data()), memoBytes.size());
    std::string table;
    AppendHeaderLine(model, table);
    const DecodedDatabase database(model);
    for (size_t i = 0; i < model.Count(); ++i) AppendEntryLine(database, i, table);
    table += EntryCountText(model) + "\n";
    // With --encoding the file's bytes come out as UTF-8, the line ends as they were.
    samples::PalmDatabase latin;
    latin.name = "Caf\xE9";
    latin.type = "DATA";
    latin.creator = "memo";
    latin.records = {{0, 1, std::string("Cr\xE8me\r\nbr\xFBl\xE9" "e\0", 14)}};
    const std::string latinBytes = samples::SerializePalmDatabase(latin);
    folder.Write("latin.pdb", latinBytes);
    const DatabaseModel latinModel(reinterpret_cast<const uint8_t*>(latinBytes.data()), latinBytes.size());
    TextDecoder cp1252(*FindCodePage("cp1252"));
    const std::string latinRecord = EntryText(latinModel, 0);
    const struct { const char* name; std::string arguments; int status; std::string out, err; } kCases[] = {
        {"FilesInOrder", sampleDir + "/Hello.prc " + sampleDir + "/Query.pqa", 0,
         ReadAll(golden + "/Hello.prc.report") + ReadAll(golden + "/Query.pqa.report"), ""},
        {"FullDatabase", "full.pdb", 0, fullReport, ""},
        {"BadFilesNamedOthersDumped", "missing.pdb empty.pdb " + memoFile, 1, memos,
         "corvelle-dump: missing.pdb: cannot open file\ncorvelle-dump: empty.pdb: file is empty\n"},
        {"DashDashEndsOptions", "-- --help", 1, "", "corvelle-dump: --help: cannot open file\n"},
        {"Help", "--help " + memoFile, 0, usage, ""},
        {"Version", "--version", 0, "corvelle-dump " CORVELLE_VERSION_TEXT "\n", ""},
        {"NoFile", "", 2, "", usage},
        {"UnknownOption", "--bogus " + memoFile, 2, "", "corvelle-dump: unknown option --bogus\n" + usage},
        {"Records", "--records " + memoFile, 0, table, ""},
        {"Record", "--record 7 " + memoFile, 0, EntryText(model, 7), ""},
        {"RecordDashDash", "--record 0 -- " + memoFile, 0, EntryText(model, 0), ""},
        {"NoSuchRecord", "--record 8 " + memoFile, 1, "",
         "corvelle-dump: " + memoFile + ": no record 8: the file holds 8 of 8 announced records\n"},
        {"RecordsOfAMissingFile", "--records missing.pdb", 1, "", "corvelle-dump: missing.pdb: cannot open file\n"},
        {"RecordNotANumber", "--record -1 " + memoFile, 2, "",
         "corvelle-dump: --record needs an entry number from 0\n" + usage},
        {"RecordsOfTwoFiles", "--records " + memoFile + " " + memoFile, 2, "",
         "corvelle-dump: --records takes one FILE; --record takes N and one FILE; either an --encoding NAME\n" + usage},
        {"ReportInUtf8", "--encoding cp1252 latin.pdb", 0,
         cp1252.ToUtf8(BuildReport(reinterpret_cast<const uint8_t*>(latinBytes.data()), latinBytes.size())), ""},
        {"RecordInUtf8", "--record 0 --encoding CP1252 latin.pdb", 0, cp1252.ToUtf8(latinRecord), ""},
        {"RecordAsStored", "--record 0 latin.pdb", 0, latinRecord, ""},
        {"UnknownEncoding", "--encoding klingon --records latin.pdb", 1, "",
         "corvelle-dump: klingon: unknown encoding; known: cp1252, "},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(folder.Run(CORVELLE_DUMP_TOOL " " + c.arguments + " >out 2>err"), c.status);
        ExpectStream(folder.Read("out"), c.out);
        ExpectStream(folder.Read("err"), c.err);
    }
}

}  // namespace
