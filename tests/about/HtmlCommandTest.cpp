#include "about/HtmlCommand.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace corvelle {
namespace {

const LeadBytePredicate kSingleByte = [](unsigned char) { return false; };
// A stand-in for a double-byte code page: 0x81 starts a two-byte character.
const LeadBytePredicate kLead81 = [](unsigned char byte) { return byte == 0x81; };

struct CommandRow {
    const char* name;
    std::string command;
    std::string url;
    bool doubleByte;
    bool accepted;
    std::string expected;
};

const std::string kUrl = "https://corvelle.example.org/";

const std::vector<CommandRow> kCommands = {
    // The quoted placeholder is cut with its blank kept, then a blank is added.
    {"QuotedPlaceholder", "\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"", kUrl, false, true,
     "\"C:\\Program Files\\Browser\\browser.exe\"  " + kUrl},
    {"BarePlaceholder", "C:\\browser.exe %1", kUrl, false, true, "C:\\browser.exe  " + kUrl},
    {"BarePlaceholderGluedToProgram", "browser.exe -url=%1", kUrl, false, true,
     "browser.exe -url= " + kUrl},
    {"NoPlaceholder", "C:\\browser.exe", kUrl, false, true, "C:\\browser.exe " + kUrl},
    {"TextAfterPlaceholderDropped", "browser.exe \"%1\" -nohome -new", kUrl, false, true,
     "browser.exe  " + kUrl},
    {"QuotedWinsOverEarlierBare", "b.exe %1x \"%1\"", kUrl, false, true, "b.exe %1x  " + kUrl},
    {"EmptyCommand", "", kUrl, false, true, " " + kUrl},
    // 0x81 '%' is one character, so the first "%1" is not a placeholder.
    {"PlaceholderInsideDoubleByteChar", "a\x81%1b %1", kUrl, true, true, "a\x81%1b  " + kUrl},
    {"SameTextSingleByte", "a\x81%1b %1", kUrl, false, true, "a\x81 " + kUrl},
    {"LongestThatFits", std::string(519 - 1 - kUrl.size(), 'p'), kUrl, false, true,
     std::string(519 - 1 - kUrl.size(), 'p') + " " + kUrl},
    {"OneCharacterTooLong", std::string(520 - 1 - kUrl.size(), 'p'), kUrl, false, false, ""},
    {"LongUrlTooLong", "b.exe %1", std::string(600, 'u'), false, false, ""},
};

class HtmlCommandLineTest : public testing::TestWithParam<CommandRow> {};

TEST_P(HtmlCommandLineTest, BuildsOrRefuses) {
    const CommandRow& row = GetParam();
    std::string commandLine = "untouched";
    const bool accepted = BuildHtmlCommandLine(row.command, row.url,
                                               row.doubleByte ? kLead81 : kSingleByte, commandLine);
    ASSERT_EQ(accepted, row.accepted);
    if (accepted) {
        EXPECT_EQ(commandLine, row.expected);
        EXPECT_LT(commandLine.size(), kHtmlCommandCapacity);
    } else {
        EXPECT_EQ(commandLine, "untouched");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HtmlCommandLineTest, testing::ValuesIn(kCommands),
                         [](const testing::TestParamInfo<CommandRow>& info) {
                             return std::string(info.param.name);
                         });

struct LookupRow {
    const char* name;
    std::map<std::string, std::string> classesRoot;
    HtmlCommandStatus status;
    std::string expected;
    std::vector<std::string> keysRead;
};

const std::vector<LookupRow> kLookups = {
    {"FoundThroughFileType",
     {{".htm", "htmlfile"}, {"htmlfile\\shell\\open\\command", "\"C:\\web.exe\" \"%1\""}},
     HtmlCommandStatus::Ready,
     "\"C:\\web.exe\"  " + kUrl,
     {".htm", "htmlfile\\shell\\open\\command"}},
    {"NoHtmExtension", {{"htmlfile\\shell\\open\\command", "web.exe %1"}},
     HtmlCommandStatus::NoHtmlType, "", {".htm"}},
    {"FileTypeWithoutOpenCommand", {{".htm", "htmlfile"}, {"otherfile\\shell\\open\\command", "x"}},
     HtmlCommandStatus::NoOpenCommand, "", {".htm", "htmlfile\\shell\\open\\command"}},
    {"CommandTooLong",
     {{".htm", "htmlfile"}, {"htmlfile\\shell\\open\\command", std::string(500, 'c') + " %1"}},
     HtmlCommandStatus::TooLong, "", {".htm", "htmlfile\\shell\\open\\command"}},
};

class HtmlCommandLookupTest : public testing::TestWithParam<LookupRow> {};

TEST_P(HtmlCommandLookupTest, FollowsTheAssociation) {
    const LookupRow& row = GetParam();
    std::vector<std::string> keysRead;
    const ClassesRootReader reader = [&](const std::string& subkey, std::string& value) -> long {
        keysRead.push_back(subkey);
        const auto found = row.classesRoot.find(subkey);
        if (found == row.classesRoot.end()) return 2;  // ERROR_FILE_NOT_FOUND
        value = found->second;
        return 0;
    };
    const HtmlCommand command = FindHtmlCommand(reader, kUrl, kSingleByte);
    EXPECT_EQ(command.status, row.status);
    EXPECT_EQ(command.commandLine, row.expected);
    EXPECT_EQ(keysRead, row.keysRead);
}

INSTANTIATE_TEST_SUITE_P(Rows, HtmlCommandLookupTest, testing::ValuesIn(kLookups),
                         [](const testing::TestParamInfo<LookupRow>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle
