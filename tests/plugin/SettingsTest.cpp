// Where the options and the Lister font are looked for, in which order, and
// what is refused, against a table-driven fake of the system.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/Settings.h"
#include "tests/plugin/FakeSettingsPlatform.h"

namespace corvelle {
namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
    return std::string(info.param.name);
}

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

struct RegistryValue {
    RegistryRoot root;
    const char* name;
    std::string text;
};

struct ResolveCase {
    const char* name;
    std::vector<RegistryValue> registry;
    std::vector<std::string> existing;
    std::string expected;  // "" stands for the fallback
    std::vector<std::string> reads;
};

const std::string kLongDir = "C:\\" + std::string(287, 'd');

const std::vector<ResolveCase> kResolveCases = {
    {"CurrentUserRelativePath",
     {{kUser, "IniFileName", ".\\wincmd.ini"}, {kUser, "InstallDir", "C:\\tc"}},
     {"C:\\tc\\wincmd.ini"},
     "C:\\tc\\wincmd.ini",
     {"HKCU/IniFileName", "HKCU/InstallDir"}},
    {"LocalMachineWhenUserHasNoName",
     {{kUser, "InstallDir", "C:\\user"}, {kMachine, "IniFileName", ".\\wincmd.ini"},
      {kMachine, "InstallDir", "D:\\tc"}},
     {"D:\\tc\\wincmd.ini", "C:\\user\\wincmd.ini"},
     "D:\\tc\\wincmd.ini",
     {"HKCU/IniFileName", "HKLM/IniFileName", "HKLM/InstallDir"}},
    {"InstallDirOnlyFromTheSameKey",
     {{kUser, "IniFileName", ".\\wincmd.ini"}, {kMachine, "InstallDir", "D:\\tc"}},
     {"D:\\tc\\wincmd.ini"},
     "",
     {"HKCU/IniFileName", "HKCU/InstallDir"}},
    {"AbsoluteNameIsNotFollowed",
     {{kUser, "IniFileName", "C:\\tc\\wincmd.ini"}, {kUser, "InstallDir", "C:\\tc"}},
     {"C:\\tc\\wincmd.ini"},
     "",
     {"HKCU/IniFileName"}},
    {"CombinedPathNamesNoFile",
     {{kUser, "IniFileName", ".\\wincmd.ini"}, {kUser, "InstallDir", "C:\\tc"}},
     {},
     "",
     {"HKCU/IniFileName", "HKCU/InstallDir"}},
    {"NoKeyAnywhere", {}, {}, "", {"HKCU/IniFileName", "HKLM/IniFileName"}},
    {"OverlongUserNameCountsAsMissing",
     {{kUser, "IniFileName", "." + std::string(299, 'n')}, {kMachine, "IniFileName", ".\\w.ini"},
      {kMachine, "InstallDir", "D:\\tc"}},
     {"D:\\tc\\w.ini"},
     "D:\\tc\\w.ini",
     {"HKCU/IniFileName", "HKLM/IniFileName", "HKLM/InstallDir"}},
    {"CombinedPathTooLongIsRefused",
     {{kUser, "IniFileName", ".\\wincmd.ini"}, {kUser, "InstallDir", kLongDir}},
     {kLongDir + "\\wincmd.ini"},
     "",
     {"HKCU/IniFileName", "HKCU/InstallDir"}},
    {"CombinedPathFillingTheBufferIsKept",
     {{kUser, "IniFileName", ".\\wincmd.ini"}, {kUser, "InstallDir", std::string(288, 'd')}},
     {std::string(288, 'd') + "\\wincmd.ini"},
     std::string(288, 'd') + "\\wincmd.ini",
     {"HKCU/IniFileName", "HKCU/InstallDir"}},
};

class ResolveHostIniTest : public testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveHostIniTest, FollowsRegistryOrder) {
    const ResolveCase& row = GetParam();
    FakeSettingsPlatform platform;
    for (const RegistryValue& value : row.registry) {
        platform.registry[{value.root, value.name}] = value.text;
    }
    platform.existingPaths.insert(row.existing.begin(), row.existing.end());

    const std::string fallback = "E:\\suggested\\wincmd.ini";
    const std::string resolved = ResolveHostIni(platform, fallback);
    EXPECT_EQ(resolved, row.expected.empty() ? fallback : row.expected);
    EXPECT_EQ(platform.registryReads, row.reads);
}

INSTANTIATE_TEST_SUITE_P(Keys, ResolveHostIniTest, testing::ValuesIn(kResolveCases),
                         RowName<ResolveCase>);

TEST(ReadListerFontTest, CandidateBesideSuggestedPathWinsWithoutRegistry) {
    FakeSettingsPlatform platform;
    platform.existingPaths = {"C:\\tc\\wincmd.ini"};
    platform.profile[{"C:\\tc\\wincmd.ini", "Lister/Font1"}] = "Courier New,-13,b";
    platform.registry[{kUser, "IniFileName"}] = ".\\other.ini";

    const ListerFont font = ReadListerFont(platform, "C:\\tc\\wincmd.ini");
    EXPECT_STREQ(font.szFaceName, "Courier New");
    EXPECT_EQ(font.nHeight, 200);
    EXPECT_EQ(font.bBold, 1);
    EXPECT_TRUE(platform.registryReads.empty());
}

TEST(ReadListerFontTest, RegistryFindsFileWhenCandidateIsMissing) {
    FakeSettingsPlatform platform;
    platform.registry[{kUser, "IniFileName"}] = ".\\wincmd.ini";
    platform.registry[{kUser, "InstallDir"}] = "C:\\tc";
    platform.existingPaths = {"C:\\tc\\wincmd.ini"};
    platform.profile[{"C:\\tc\\wincmd.ini", "Lister/Font1"}] = "Arial,-13,i";

    const ListerFont font = ReadListerFont(platform, "E:\\nowhere\\wincmd.ini");
    EXPECT_STREQ(font.szFaceName, "Arial");
    EXPECT_EQ(font.bItalic, 1);
}

TEST(ReadListerFontTest, NothingFoundGivesEmptyRecordWithoutReads) {
    FakeSettingsPlatform platform;
    const ListerFont font = ReadListerFont(platform, "");
    EXPECT_STREQ(font.szFaceName, "");
    EXPECT_EQ(font.nHeight, 0);
    EXPECT_EQ(font.bBold, 0);
    EXPECT_EQ(font.bItalic, 0);
    EXPECT_TRUE(platform.profileReads.empty());
    EXPECT_EQ(platform.dpiQueries, 0);
}

TEST(ReadListerFontTest, EmptyValueNeedsNoScreenResolution) {
    FakeSettingsPlatform platform;
    platform.existingPaths = {"C:\\tc\\wincmd.ini"};
    const ListerFont font = ReadListerFont(platform, "C:\\tc\\wincmd.ini");
    EXPECT_STREQ(font.szFaceName, "");
    EXPECT_EQ(platform.dpiQueries, 0);
    EXPECT_EQ(platform.profileReads, std::vector<std::string>{"C:\\tc\\wincmd.ini|Lister/Font1"});
}

struct LongFontCase {
    const char* name;
    size_t faceLength;
    int expectedHeight;
};

// The value is read into 300 characters: ",-13" after a long face survives
// up to 299 characters, one more cuts the height to "-1".
const std::vector<LongFontCase> kLongFontCases = {
    {"FillsTheBuffer", 295, 200},
    {"OneCharacterTooLong", 296, 20},
};

class LongFont1Test : public testing::TestWithParam<LongFontCase> {};

TEST_P(LongFont1Test, ValueIsCutAtItsBuffer) {
    FakeSettingsPlatform platform;
    platform.existingPaths = {"C:\\tc\\wincmd.ini"};
    platform.profile[{"C:\\tc\\wincmd.ini", "Lister/Font1"}] =
        std::string(GetParam().faceLength, 'F') + ",-13";
    const ListerFont font = ReadListerFont(platform, "C:\\tc\\wincmd.ini");
    EXPECT_EQ(font.nHeight, GetParam().expectedHeight);
    EXPECT_EQ(std::strlen(font.szFaceName), sizeof font.szFaceName - 1);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongFont1Test, testing::ValuesIn(kLongFontCases),
                         RowName<LongFontCase>);

struct LocateCase {
    const char* name;
    std::string modulePath;
    std::vector<std::string> existing;
    std::string before;
    std::string after;
};

const std::string kLongModuleDir = "C:\\" + std::string(243, 'p') + "\\";

const std::vector<LocateCase> kLocateCases = {
    {"BesideThirtyTwoBitModule", "C:\\tc\\plugins\\Corvelle.wlx", {"C:\\tc\\plugins\\Corvelle.ini"},
     "quennet.ini", "C:\\tc\\plugins\\Corvelle.ini"},
    {"BesideSixtyFourBitModule", "C:\\tc\\plugins\\Corvelle.wlx64",
     {"C:\\tc\\plugins\\Corvelle.ini"}, "quennet.ini", "C:\\tc\\plugins\\Corvelle.ini"},
    {"RenamedModule", "C:\\x\\Palm.dll", {"C:\\x\\Palm.ini"}, "quennet.ini", "C:\\x\\Palm.ini"},
    {"DotOnlyInDirectory", "C:\\my.dir\\Corvelle", {"C:\\my.dir\\Corvelle.ini", "C:\\my.ini"},
     "quennet.ini", "C:\\my.dir\\Corvelle.ini"},
    {"NoFileKeepsDefault", "C:\\tc\\Corvelle.wlx", {}, "quennet.ini", "quennet.ini"},
    {"EarlierFindStays", "C:\\tc\\Corvelle.wlx", {}, "C:\\old\\Corvelle.ini",
     "C:\\old\\Corvelle.ini"},
    {"NoModulePath", "", {".ini"}, "quennet.ini", "quennet.ini"},
    {"LongestModulePath", kLongModuleDir + "Corvelle.wlx", {kLongModuleDir + "Corvelle.ini"},
     "quennet.ini", kLongModuleDir + "Corvelle.ini"},
    {"ModulePathTooLong", kLongModuleDir + "Corvelle.wlx64", {kLongModuleDir + "Corvelle.ini"},
     "quennet.ini", "quennet.ini"},
};

class LocateOptionsFileTest : public testing::TestWithParam<LocateCase> {};

TEST_P(LocateOptionsFileTest, FindsIniBesideModule) {
    const LocateCase& row = GetParam();
    FakeSettingsPlatform platform;
    platform.modulePath = row.modulePath;
    platform.existingPaths.insert(row.existing.begin(), row.existing.end());

    char buffer[kPathCapacity + 1];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, row.before.c_str());
    LocateOptionsFile(platform, buffer, kPathCapacity);
    EXPECT_EQ(std::string(buffer), row.after);
    EXPECT_EQ(buffer[kPathCapacity], '#');
}

INSTANTIATE_TEST_SUITE_P(Modules, LocateOptionsFileTest, testing::ValuesIn(kLocateCases),
                         RowName<LocateCase>);

struct SavedRectCase {
    const char* name;
    const char* autosave;  // nullptr: key absent
    const char* rect;      // nullptr: key absent
    bool applied;
    bool rectRead;
};

const std::vector<SavedRectCase> kSavedRectCases = {
    {"AutosaveAbsent", nullptr, "0000000000000000640000003200000096", true, true},
    {"AutosaveOn", "2", "0000000000000000640000003200000096", true, true},
    {"AutosaveOff", "0", "0000000000000000640000003200000096", false, false},
    {"NoRect", "1", nullptr, false, true},
    {"BadChecksum", "1", "0000000000000000640000003200000095", false, true},
};

class SavedHostRectTest : public testing::TestWithParam<SavedRectCase> {};

TEST_P(SavedHostRectTest, AppliesOnlyWithAutosaveAndValidRect) {
    const SavedRectCase& row = GetParam();
    FakeSettingsPlatform platform;
    const std::string ini = "C:\\tc\\Corvelle.ini";
    if (row.autosave) platform.profile[{ini, "Options/autosave"}] = row.autosave;
    if (row.rect) platform.profile[{ini, "Options/Rect"}] = row.rect;

    const auto rect = ReadSavedHostRect(platform, ini);
    EXPECT_EQ(rect.has_value(), row.applied);
    if (rect) {
        EXPECT_EQ(rect->right, 100);
    }
    const bool rectRead = !platform.profileReads.empty() &&
                          platform.profileReads.back() == ini + "|Options/Rect";
    EXPECT_EQ(rectRead, row.rectRead);
}

INSTANTIATE_TEST_SUITE_P(Options, SavedHostRectTest, testing::ValuesIn(kSavedRectCases),
                         RowName<SavedRectCase>);

struct CandidateCase {
    const char* name;
    std::string suggested;
    std::string expected;
};

const std::vector<CandidateCase> kCandidateCases = {
    {"FileInDirectory", "C:\\tc\\plugins.ini", "C:\\tc\\wincmd.ini"},
    {"DirectoryOnly", "C:\\tc\\", "C:\\tc\\wincmd.ini"},
    {"LongestDirectory", std::string(248, 'd') + "\\x.ini", std::string(248, 'd') + "\\wincmd.ini"},
    {"DirectoryTooLong", std::string(249, 'd') + "\\x.ini", ""},
};

class HostIniCandidateTest : public testing::TestWithParam<CandidateCase> {};

TEST_P(HostIniCandidateTest, KeepsDirectoryAndAppendsHostIni) {
    char suggested[kPathCapacity] = {};
    std::strncpy(suggested, GetParam().suggested.c_str(), sizeof suggested - 1);
    EXPECT_EQ(HostIniCandidate(suggested, sizeof suggested), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, HostIniCandidateTest, testing::ValuesIn(kCandidateCases),
                         RowName<CandidateCase>);

TEST(HostIniCandidateLimitsTest, UnterminatedPathIsNotReadPastItsBuffer) {
    char suggested[kPathCapacity];
    std::memset(suggested, 'a', sizeof suggested);
    suggested[3] = '\\';
    EXPECT_EQ(HostIniCandidate(suggested, sizeof suggested), "");
    EXPECT_EQ(HostIniCandidate(nullptr, sizeof suggested), "");
}

}  // namespace
}  // namespace corvelle
