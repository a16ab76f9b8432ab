// corvelle-dump as a user runs it: what reaches standard output, standard
// error and the exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolRun RunTool(const std::string& arguments) {
    const std::string out = "/tmp/corvelle-cli-out", err = "/tmp/corvelle-cli-err";
    const std::string command = std::string(CORVELLE_DUMP_TOOL) + " " + arguments + " >" + out + " 2>" + err;
    ToolRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return run;
}

const std::string kSamples = CORVELLE_SAMPLES;
const std::string kGolden = CORVELLE_TEST_DATA;

TEST(CommandLine, WritesTheReportBytesUnchanged) {
    const ToolRun run = RunTool(kSamples + "/Memos.pdb");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, ReadAll(kGolden + "/Memos.pdb.report"));
    EXPECT_EQ(run.err, "");
}

TEST(CommandLine, DumpsEveryFileInOrder) {
    const ToolRun run = RunTool(kSamples + "/Hello.prc " + kSamples + "/Query.pqa");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, ReadAll(kGolden + "/Hello.prc.report") + ReadAll(kGolden + "/Query.pqa.report"));
}

TEST(CommandLine, ABadFileIsNamedOnStandardErrorAndTheOthersAreStillDumped) {
    std::ofstream(std::string("/tmp/corvelle-cli-empty.pdb"), std::ios::binary).close();
    const ToolRun run = RunTool("/nonexistent/x.pdb /tmp/corvelle-cli-empty.pdb " + kSamples + "/Memos.pdb");
    std::remove("/tmp/corvelle-cli-empty.pdb");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, ReadAll(kGolden + "/Memos.pdb.report"));
    EXPECT_EQ(run.err,
              "corvelle-dump: /nonexistent/x.pdb: cannot open file\n"
              "corvelle-dump: /tmp/corvelle-cli-empty.pdb: file is empty\n");
}

struct OptionCase {
    const char* name;
    const char* arguments;
    int status;
    const char* outStart;
    const char* errStart;
};

class CommandLineOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(CommandLineOptions, AnswerAsDocumented) {
    const OptionCase& c = GetParam();
    const ToolRun run = RunTool(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out.rfind(c.outStart, 0), 0u) << run.out;
    EXPECT_EQ(run.err.rfind(c.errStart, 0), 0u) << run.err;
}

const OptionCase kOptionCases[] = {
    {"Help", "--help", 0, "Usage: corvelle-dump FILE...", ""},
    {"Version", "--version", 0, "corvelle-dump ", ""},
    {"NoFile", "", 2, "", "Usage: corvelle-dump FILE..."},
    {"UnknownOption", "--bogus", 2, "", "corvelle-dump: unknown option --bogus"},
};

INSTANTIATE_TEST_SUITE_P(Options, CommandLineOptions, ::testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
