// The name tests decide, before anything is created or read, whether the
// viewer opens a file; every row is a name the host may offer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/FileNameRules.h"

namespace corvelle {
namespace {

struct PathCase {
    const char* name;
    const char* path;
    bool handled;
};

const std::vector<PathCase> kPathCases = {
    {"UpperCaseExtension", "C:\\data\\Memo.PDB", true},
    {"LowerCasePrc", "C:\\data\\app.prc", true},
    {"MixedCasePqa", "C:\\data\\query.Pqa", true},
    {"DotFileWithHandledExtension", "C:\\data\\.pdb", true},
    {"UncPath", "\\\\server\\share\\memo.pdb", true},
    {"OtherExtensionAfterOurs", "C:\\data\\memo.pdb.bak", false},
    {"NoDot", "C:\\data\\memo", false},
    {"DotOnlyInDirectory", "C:\\my.dir\\memo", false},
    {"EmptyExtension", "C:\\data\\memo.", false},
    {"NoBackslash", "memo.pdb", false},
    {"ForwardSlashOnly", "C:/data/memo.pdb", false},
    {"ParentDirectory", "C:\\data\\..", false},
    {"ComponentStartsWithTwoDots", "C:\\data\\..memo.pdb", false},
    {"EmptyPath", "", false},
    {"TrailingBackslash", "C:\\data.pdb\\", false},
    {"ExtensionPrefixOnly", "C:\\data\\memo.pd", false},
    {"ExtensionLonger", "C:\\data\\memo.pdbx", false},
};

class HandledPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(HandledPathTest, NarrowName) {
    EXPECT_EQ(IsHandledPath(GetParam().path), GetParam().handled);
}

TEST_P(HandledPathTest, WideNameFollowsTheSameRule) {
    const std::string narrow = GetParam().path;
    const std::wstring wide(narrow.begin(), narrow.end());
    EXPECT_EQ(IsHandledPath(wide.c_str()), GetParam().handled);
}

INSTANTIATE_TEST_SUITE_P(Names, HandledPathTest, testing::ValuesIn(kPathCases),
                         [](const testing::TestParamInfo<PathCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(HandledPathWideTest, NonLatinNamesAreJudgedByTheirExtension) {
    EXPECT_TRUE(IsHandledPath(L"C:\\\x0434\x0430\x043d\x043d\x044b\x0435\\\x0437\x0430\x043c.pdb"));
    EXPECT_TRUE(IsHandledPath(L"C:\\\x03b4\x03b5\\\x03b1\x03c1\x03c7\x03b5\x03af\x03bf.PQA"));
    // A Cyrillic letter that looks like a Latin one is not folded onto it.
    EXPECT_FALSE(IsHandledPath(L"C:\\data\\memo.\x0440\x0434\x0431"));
}

TEST(HandledPathWideTest, NullPathIsRefused) {
    EXPECT_FALSE(IsHandledPath(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(IsHandledPath(static_cast<const wchar_t*>(nullptr)));
}

struct ExtensionCase {
    const char* name;
    const char* extension;
    const char* list;
    bool handled;
};

const std::vector<ExtensionCase> kExtensionCases = {
    {"FirstItem", "prc", "prc,pdb,pqa", true},
    {"LastItem", "PQA", "prc,pdb,pqa", true},
    {"NotInList", "txt", "prc,pdb,pqa", false},
    {"EmptyExtension", "", "prc,pdb,pqa", false},
    {"EmptyItemBetweenCommas", "", "prc,,pqa", true},
    {"TrailingEmptyItem", "", "prc,", true},
    {"ItemWithSpaceIsExact", "pdb", "prc, pdb", false},
    {"HighBytesAreNotFolded", "\xC4", "\xE4", false},
};

class HandledExtensionTest : public testing::TestWithParam<ExtensionCase> {};

TEST_P(HandledExtensionTest, MatchesOneItemIgnoringCase) {
    const ExtensionCase& row = GetParam();
    EXPECT_EQ(IsHandledExtension(row.extension, row.list), row.handled);
}

INSTANTIATE_TEST_SUITE_P(Lists, HandledExtensionTest, testing::ValuesIn(kExtensionCases),
                         [](const testing::TestParamInfo<ExtensionCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle
