// The plug-in's rules, built everywhere: which files it takes, the find command, how each setting's
// text is read and what is refused, and where the settings are looked for, against a fake system.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "plugin/DetectString.h"
#include "plugin/FileNameRules.h"
#include "plugin/IniText.h"
#include "plugin/ProfileValues.h"
#include "model/SearchRules.h"
#include "standards/Utf8.h"
#include "plugin/Settings.h"
#include "plugin/SettingsPlatform.h"
#include "model/TabStops.h"

using namespace corvelle;

namespace {

TEST(DetectString, WrittenWhenItFitsAndNeverPastTheBuffer) {
    for (const size_t capacity : {size_t{2048}, sizeof kDetectString, sizeof kDetectString - 1, size_t{1}, size_t{0}}) {
        std::string buffer(capacity + 8, '#');
        CopyDetectString(&buffer[0], capacity);
        const std::string text = capacity >= sizeof kDetectString ? "EXT=\"PDB\" | EXT=\"PRC\" | EXT=\"PQA\"" : "";
        const std::string expected = capacity == 0 ? "" : text + '\0' + std::string(capacity - 1 - text.size(), '#');
        EXPECT_EQ(buffer, expected + std::string(8, '#')) << capacity;
    }
}

TEST(HandledPath, NarrowWideAndPosixNamesFollowOneRule) {
    const struct { const char* path; bool handled; } kCases[] = {
        {"C:\\data\\Memo.PDB", true},    {"C:\\data\\app.prc", true},           {"C:\\data\\query.Pqa", true},
        {"C:\\data\\.pdb", true},        {"\\\\server\\share\\memo.pdb", true},  {"C:\\data\\memo.pdb.bak", false},
        {"C:\\data\\memo", false},       {"C:\\my.dir\\memo", false},            {"C:\\data\\memo.", false},
        {"memo.pdb", false},             {"C:/data/memo.pdb", false},            {"C:\\data\\..", false},
        {"C:\\data\\..memo.pdb", false}, {"", false},                            {"C:\\data.pdb\\", false},
        {"C:\\data\\memo.pd", false},    {"C:\\data\\memo.pdbx", false}};
    for (const auto& c : kCases) {
        const std::string narrow = c.path;
        EXPECT_EQ(IsHandledPath(c.path), c.handled) << narrow;
        EXPECT_EQ(IsHandledPath(std::wstring(narrow.begin(), narrow.end()).c_str()), c.handled) << narrow;
        // A POSIX path follows the same rule with the separators swapped.
        std::string posix = narrow;
        for (char& ch : posix) ch = ch == '\\' ? '/' : ch == '/' ? '\\' : ch;
        EXPECT_EQ(IsHandledPosixPath(posix.c_str()), c.handled) << posix;
    }
    EXPECT_TRUE(IsHandledPath(L"C:\\\x0434\x0430\x043d\x043d\x044b\x0435\\\x0437\x0430\x043c.pdb"));
    EXPECT_FALSE(IsHandledPath(L"C:\\data\\memo.\x0440\x0434\x0431"));  // Cyrillic look-alikes are not folded
    EXPECT_FALSE(IsHandledPath(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(IsHandledPath(static_cast<const wchar_t*>(nullptr)));
    const struct { const char *extension, *list; bool handled; } kLists[] = {
        {"prc", "prc,pdb,pqa", true}, {"PQA", "prc,pdb,pqa", true}, {"txt", "prc,pdb,pqa", false},
        {"", "prc,pdb,pqa", false},   {"", "prc,,pqa", true},       {"", "prc,", true},
        {"pdb", "prc, pdb", false},   {"\xC4", "\xE4", false}};
    for (const auto& c : kLists) EXPECT_EQ(IsHandledExtension(c.extension, c.list), c.handled) << c.list;
}

// UTF-8 of UTF-16, for the rows below.
std::string Utf8Of(std::u16string_view units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size()) c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        AppendCodePoint(c, out);
    }
    return out;
}

TEST(FindMatch, FindsAsAsked) {
    constexpr int kFirst = kSearchFindFirst, kCase = kSearchMatchCase, kWords = kSearchWholeWords;
    constexpr int kBack = kSearchBackwards;
    //                          0         1         2         3
    //                          0123456789012345678901234567890123456
    const std::string text = "Name :\tMemoDB\r\nType :\tDATA memo\r\nmemos";
    const struct { const char *name, *needle; TextRange selection; int flags; bool found; size_t start; } kCases[] = {
        {"FirstIgnoresCase", "memo", {30, 30}, kFirst, true, 7}, {"Next", "memo", {7, 11}, 0, true, 27},
        {"FirstWithCase", "memo", {0, 0}, kFirst | kCase, true, 27}, {"NextFromCaret", "memo", {28, 28}, 0, true, 33},
        {"NoneAfterTheLast", "memo", {33, 37}, 0, false, 0}, {"NotInText", "palm", {0, 0}, kFirst, false, 0},
        {"WholeWordSkipsPart", "memo", {0, 0}, kFirst | kWords, true, 27},
        {"WholeWordAtTextEnd", "memos", {0, 0}, kFirst | kWords, true, 33},
        {"WholeWordAfterTab", "MemoDB", {0, 0}, kFirst | kWords | kCase, true, 7},
        {"BackwardsFirstFromEnd", "memo", {0, 0}, kFirst | kBack, true, 33},
        {"BackwardsBeforeSelection", "memo", {33, 37}, kBack, true, 27},
        {"BackwardsWithCase", "memo", {27, 31}, kBack | kCase, false, 0},
        {"BackwardsWholeWord", "memo", {40, 40}, kFirst | kBack | kWords, true, 27},
        {"EmptyNeedle", "", {0, 0}, kFirst, false, 0}, {"SelectionBeyondText", "memo", {90, 95}, 0, false, 0},
        {"NeedleLongerThanText", "Name :\tMemoDB\r\nType :\tDATA memo\r\nmemos!", {0, 0}, kFirst, false, 0},
        {"AcrossLineBreak", "memo\r\nmemos", {0, 0}, kFirst, true, 27}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto hit = FindMatch(text, c.needle, c.selection, c.flags);
        ASSERT_EQ(hit.has_value(), c.found);
        if (hit) { EXPECT_EQ(hit->start, c.start); EXPECT_EQ(hit->end, c.start + std::string(c.needle).size()); }
    }
    // Bytes of 80h and above count as letters of a word, and are not folded.
    EXPECT_FALSE(FindMatch("caf\xE9 cafe", "caf", {0, 0}, kFirst | kWords));
    EXPECT_FALSE(FindMatch("caf\xE9", "CAF\xC9", {0, 0}, kFirst));
    // The Text page's UTF-16: positions in code units (a pair counts two), the same rules, and
    // without case the capitals of Latin, Greek and Cyrillic folded too; `at` is the match as the
    // text holds it, null for none.
    const std::u16string book = u"\U0001F4D6 Дом Dom дома ΚΑΛΗΜΈΡΑ Öl ŁÓDŹ ς ı 中文";
    const struct { const char* name; const char16_t *needle, *at; TextRange selection; int flags; } kUnits[] = {
        {"Ascii", u"DOM", u"Dom", {0, 0}, kFirst}, {"Cyrillic", u"дом", u"Дом", {0, 0}, kFirst},
        {"CyrillicWithCase", u"дом", u"дома", {0, 0}, kFirst | kCase},
        {"CyrillicWholeWord", u"дом", u"Дом", {0, 0}, kFirst | kWords},
        {"CapitalsWithCase", u"ДОМ", nullptr, {0, 0}, kFirst | kCase},
        {"GreekWithTonos", u"καλημέρα", u"ΚΑΛΗΜΈΡΑ", {0, 0}, kFirst}, {"Latin1", u"öL", u"Öl", {0, 0}, kFirst},
        {"LatinExtendedA", u"łódź", u"ŁÓDŹ", {0, 0}, kFirst}, {"FinalSigma", u"Σ", u"ς", {0, 0}, kFirst},
        {"DotlessIKeepsItsCase", u"I", nullptr, {0, 0}, kFirst}, {"NoCaseInCjk", u"中文", u"中文", {0, 0}, kFirst},
        {"PairWhole", u"\U0001F4D6", u"\U0001F4D6", {0, 0}, kFirst},
        {"Backwards", u"Дом", u"Дом", {11, 14}, kBack}};
    for (const auto& c : kUnits) {
        SCOPED_TRACE(c.name);
        const auto hit = FindMatch(book, c.needle, c.selection, c.flags);
        ASSERT_EQ(hit.has_value(), c.at != nullptr);
        if (!hit) continue;
        EXPECT_EQ(hit->start, book.find(c.at));
        EXPECT_EQ(hit->end, hit->start + std::u16string(c.needle).size());
    }
    // The same rows over UTF-8, positions in bytes: what the Qt pages search in the model's texts.
    const std::string book8 = Utf8Of(book);
    for (const auto& c : kUnits) {
        SCOPED_TRACE(std::string("UTF-8 ") + c.name);
        const TextRange selection{Utf8Of(book.substr(0, c.selection.start)).size(),
                                  Utf8Of(book.substr(0, c.selection.end)).size()};
        const auto hit = FindTextMatch(book8, Utf8Of(c.needle), selection, c.flags);
        ASSERT_EQ(hit.has_value(), c.at != nullptr);
        if (!hit) continue;
        EXPECT_EQ(hit->start, book8.find(Utf8Of(c.at)));
        EXPECT_EQ(hit->end, hit->start + Utf8Of(c.needle).size());
    }
    // Never inside a character: the second byte of "д" is "ґ"'s too.
    EXPECT_FALSE(FindTextMatch("\xD0\xB4", "\xB4", {0, 0}, kFirst));
}

TEST(IniValue, ReadsAsTheProfileFunctionsDo) {
    const std::string ini =
        "; a comment\r\n[Other]\nEncoding=cp1251\n[ options ]\n  encoding =  \"cp1250\"  \r\n"
        "StartPage=text\nEmpty=\n;Quiet=1\n[Options]\nLate=1\n";
    const struct { const char *section, *key, *value; } kCases[] = {
        {"Options", "Encoding", "cp1250"}, {"OPTIONS", "startpage", "text"}, {"Other", "Encoding", "cp1251"},
        {"Options", "Empty", ""},          {"Options", "Quiet", ""},         {"Options", "Late", ""},
        {"Missing", "Encoding", ""},       {"Options", "Missing", ""}};
    for (const auto& c : kCases) EXPECT_EQ(IniValue(ini, c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST(ParseSavedRect, StructureValueWithItsChecksum) {
    const std::pair<const char*, SavedRect> kValid[] = {{"0000000000000000640000003200000096", {0, 0, 100, 50}},
        {"0a000000140000006e0000007800000004", {10, 20, 110, 120}},  // lower case; the sum wraps
        {"00FBFFFFECFFFFFF2C01000090010000A0", {-1280, -20, 300, 400}}};
    for (const auto& [text, expected] : kValid) {
        const SavedRect rect = ParseSavedRect(text).value_or(SavedRect{});
        EXPECT_EQ(std::tie(rect.left, rect.top, rect.right, rect.bottom),
                  std::tie(expected.left, expected.top, expected.right, expected.bottom)) << text;
    }
    // No checksum, a wrong one, not hex, too long, empty; then 10,10,10,200 (no width), 500,10,100,200
    // (right of left) and INT32_MIN,0,INT32_MAX,10 (too wide), each with its right checksum.
    for (const char* text : {"00000000000000006400000032000000", "0000000000000000640000003200000097",
                             "00000000000000006400000032000000G6", "000000000000000064000000320000009600", "",
                             "0A0000000A0000000A000000C8000000E6", "F40100000A00000064000000C80000002B",
                             "0000008000000000FFFFFF7F0A00000006"}) {
        EXPECT_FALSE(ParseSavedRect(text)) << text;
    }
}

TEST(ParseLeadingInt, FollowsAtoi) {
    const struct { const char* text; int32_t value; } kCases[] = {
        {"-13", -13}, {" \t-13", -13}, {"+10", 10}, {"12px", 12}, {"b", 0}, {"-", 0}, {"", 0}, {"- 5", 0},
        {"99999999999999999999", INT32_MAX}, {"-99999999999999999999", INT32_MIN}};
    for (const auto& c : kCases) EXPECT_EQ(ParseLeadingInt(c.text), c.value) << "'" << c.text << "'";
}

// Heights are scaled as MulDiv does, halves away from zero: 9.75, 9.6, 7.5 and -7.5 points.
TEST(ParseFont1, FaceHeightInTwipsAndFlags) {
    const struct { const char* value; int dpi; const char* face; int height, bold, italic; } kCases[] = {
        {"Courier New,-13,b", 96, "Courier New", 200, 1, 0}, {"Courier New,-16", 120, "Courier New", 200, 0, 0},
        {"Arial", 96, "Arial", 0, 0, 0},                     {"Arial,-13,i,b", 96, "Arial", 200, 1, 1},
        {"Arial,-13,B", 96, "Arial", 200, 0, 0},             {"Arial,-13, b", 96, "Arial", 200, 0, 0},
        {"Arial,10", 96, "Arial", -160, 0, 0},               {"Arial,-10", 96, "Arial", 160, 0, 0},
        {" Arial ,-13", 96, " Arial ", 200, 0, 0},
        {",-13,b", 96, "", 200, 1, 0},                       {"Arial,-13", 0, "Arial", 0, 0, 0},
        {"Arial,-2000000000", 1, "Arial", 0, 0, 0}};
    for (const auto& c : kCases) {
        const ListerFont font = ParseFont1(c.value, c.dpi);
        EXPECT_EQ(std::make_tuple(std::string(font.szFaceName), font.nHeight, font.bBold, font.bItalic),
                  std::make_tuple(std::string(c.face), c.height, c.bold, c.italic)) << c.value << " at " << c.dpi;
    }
}

TEST(TabStops, FollowTheFontHeight) {
    const struct { int32_t height; TabStops stops; } kCases[] = {
        {0, {400, 3200, 5500, 6500}}, {199, {400, 3200, 5500, 6500}}, {-200, {400, 3200, 5500, 6500}},
        {200, {600, 5000, 8600, 9000}}, {240, {720, 6000, 10320, 10800}},
        {INT32_MAX / 3, {INT32_MAX / 3 * 3, INT32_MAX, INT32_MAX, INT32_MAX}}};
    for (const auto& c : kCases) EXPECT_EQ(TabStopsForFontHeight(c.height), c.stops) << c.height;
}

// Answers from tables and records what the rules ask for, both named alike: "HKCU/IniFileName" for
// a registry value, "file|Section/Key" for a profile value.
class FakeSettingsPlatform : public SettingsPlatform {
public:
    std::string modulePath;
    std::set<std::string> existingPaths;
    std::map<std::string, std::string> registry, profile;
    std::vector<std::string> registryReads, profileReads;
    int dpiQueries = 0;

    std::string ModulePath() override { return modulePath; }
    bool PathExists(const std::string& path) override { return existingPaths.count(path) != 0; }
    std::string ReadProfileString(const std::string& file, const char* section, const char* key) override {
        profileReads.push_back(file + "|" + section + "/" + key);
        const auto found = profile.find(profileReads.back());
        return found == profile.end() ? std::string() : found->second;
    }
    int ReadProfileInt(const std::string& file, const char* section, const char* key, int fallback) override {
        const std::string text = ReadProfileString(file, section, key);
        return text.empty() ? fallback : std::stoi(text);
    }
    std::optional<std::string> ReadHostRegistryValue(RegistryRoot root, const char* valueName) override {
        registryReads.push_back((root == RegistryRoot::CurrentUser ? "HKCU/" : "HKLM/") + std::string(valueName));
        const auto found = registry.find(registryReads.back());
        return found == registry.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    int ScreenLogPixelsX() override { ++dpiQueries; return 96; }
};

TEST(ResolveHostIni, FollowsTheRegistryInOrderAndRefusesWhatDoesNotFit) {
    using Registry = std::map<std::string, std::string>;
    // A joined path of 299 characters fits the 300-character buffer; one of 300 does not.
    const std::string fits(288, 'd'), tooLong(289, 'd'), ini = ".\\wincmd.ini";
    const std::vector<std::string> userReads = {"HKCU/IniFileName", "HKCU/InstallDir"};
    const std::vector<std::string> machineReads = {"HKCU/IniFileName", "HKLM/IniFileName", "HKLM/InstallDir"};
    const struct { const char* name; Registry keys; std::string existing; bool found; std::vector<std::string> reads; }
        kCases[] = {  // not found: the fallback
            {"NoSuchFile", {{"HKCU/IniFileName", ini}, {"HKCU/InstallDir", "C:\\tc"}}, "", false, userReads},
            {"LocalMachineWhenUserHasNoName",
             {{"HKCU/InstallDir", "C:\\u"}, {"HKLM/IniFileName", ini}, {"HKLM/InstallDir", "D:"}}, "D:\\wincmd.ini",
             true, machineReads},
            {"InstallDirOnlyFromTheSameKey", {{"HKCU/IniFileName", ini}, {"HKLM/InstallDir", "D:"}}, "D:\\wincmd.ini",
             false, userReads},
            {"AbsoluteNameNotFollowed", {{"HKCU/IniFileName", "C:\\tc\\wincmd.ini"}, {"HKCU/InstallDir", "C:\\tc"}},
             "C:\\tc\\wincmd.ini", false, {"HKCU/IniFileName"}},
            {"NoKeyAnywhere", {}, "", false, {"HKCU/IniFileName", "HKLM/IniFileName"}},
            {"OverlongUserNameCountsAsMissing",
             {{"HKCU/IniFileName", "." + std::string(299, 'n')}, {"HKLM/IniFileName", ini}, {"HKLM/InstallDir", "D:"}},
             "D:\\wincmd.ini", true, machineReads},
            {"JoinedPathFillsTheBuffer", {{"HKCU/IniFileName", ini}, {"HKCU/InstallDir", fits}}, fits + "\\wincmd.ini",
             true, userReads},
            {"JoinedPathTooLong", {{"HKCU/IniFileName", ini}, {"HKCU/InstallDir", tooLong}}, tooLong + "\\wincmd.ini",
             false, userReads}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        FakeSettingsPlatform platform;
        platform.registry = c.keys;
        platform.existingPaths = {c.existing};
        EXPECT_EQ(ResolveHostIni(platform, "E:\\x\\wincmd.ini"), c.found ? c.existing : "E:\\x\\wincmd.ini");
        EXPECT_EQ(platform.registryReads, c.reads);
    }
}

TEST(ReadListerFont, FromTheSuggestedFileOrThroughTheRegistry) {
    const std::string ini = "C:\\tc\\wincmd.ini";
    // The value is read into 300 characters: ",-13" after a face of 295 fits, one more cuts it to "-1".
    const struct { const char* name; std::string candidate, value; bool viaRegistry; int height, bold, italic; }
        kCases[] = {
        {"SuggestedFileWithoutRegistry", ini, "Courier New,-13,b", false, 200, 1, 0},
        {"RegistryWhenSuggestedIsMissing", "E:\\nowhere\\wincmd.ini", "Arial,-13,i", true, 200, 0, 1},
        {"ValueFillsItsBuffer", ini, std::string(295, 'F') + ",-13", false, 200, 0, 0},
        {"ValueCutByItsBuffer", ini, std::string(296, 'F') + ",-13", false, 20, 0, 0},
        {"NoValueAsksNothingOfTheScreen", ini, "", false, 0, 0, 0},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        FakeSettingsPlatform platform;
        platform.registry = {{"HKCU/IniFileName", ".\\wincmd.ini"}, {"HKCU/InstallDir", "C:\\tc"}};
        platform.existingPaths = {ini};
        platform.profile[ini + "|Lister/Font1"] = c.value;
        const ListerFont font = ReadListerFont(platform, c.candidate);
        const size_t faceLength = std::min(c.value.find(','), sizeof font.szFaceName - 1);
        EXPECT_EQ(std::string(font.szFaceName), c.value.substr(0, faceLength));
        EXPECT_EQ(std::make_tuple(font.nHeight, font.bBold, font.bItalic), std::make_tuple(c.height, c.bold, c.italic));
        EXPECT_EQ(platform.registryReads.empty(), !c.viaRegistry);
        EXPECT_EQ(platform.dpiQueries, c.value.empty() ? 0 : 1);
    }
    FakeSettingsPlatform nothing;  // no file anywhere: an empty record, and no file is read
    EXPECT_STREQ(ReadListerFont(nothing, "").szFaceName, "");
    EXPECT_TRUE(nothing.profileReads.empty());
}

TEST(LocateOptionsFile, FindsTheIniBesideTheModuleWithinTheBuffer) {
    // Module paths of 259 characters fit the 260-character buffer; one of 260 does not.
    const std::string dir247 = "C:\\" + std::string(243, 'p') + "\\", dir246 = "C:\\" + std::string(242, 'p') + "\\";
    const struct { const char* name; std::string module; std::set<std::string> existing; std::string before, after; }
        kCases[] = {
        {"RenamedModule", "C:\\x\\Palm.dll", {"C:\\x\\Palm.ini"}, "quennet.ini", "C:\\x\\Palm.ini"},
        {"DotOnlyInDirectory", "C:\\my.dir\\Corvelle", {"C:\\my.dir\\Corvelle.ini", "C:\\my.ini"}, "q.ini",
         "C:\\my.dir\\Corvelle.ini"},
        {"NoFileKeepsDefault", "C:\\tc\\Corvelle.wlx", {}, "quennet.ini", "quennet.ini"},
        {"NoModulePath", "", {".ini"}, "quennet.ini", "quennet.ini"},
        {"LongestModulePath", dir247 + "Corvelle.wlx", {dir247 + "Corvelle.ini"}, "q.ini", dir247 + "Corvelle.ini"},
        {"ModulePathTooLong", dir246 + "Corvelle.wlx64", {dir246 + "Corvelle.ini"}, "q.ini", "q.ini"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        FakeSettingsPlatform platform;
        platform.modulePath = c.module;
        platform.existingPaths = c.existing;
        char buffer[kPathCapacity + 1];
        std::memset(buffer, '#', sizeof buffer);
        std::strcpy(buffer, c.before.c_str());
        LocateOptionsFile(platform, buffer, kPathCapacity);
        EXPECT_EQ(std::string(buffer), c.after);
        EXPECT_EQ(buffer[kPathCapacity], '#');
    }
}

TEST(DocumentOptions, NameACodePageAndTheStartPageOrTakeTheDefaults) {
    const struct { const char *encoding, *startPage, *page; bool onText; } kCases[] = {  // nullptr: key absent
        {nullptr, nullptr, "cp1252", false}, {"cp1251", "text", "cp1251", true},
        {"Windows-1250", "TEXT", "cp1250", true}, {"SJIS", "Text", "shift_jis", true},
        {"koi8-r", "records", "cp1252", false}, {"", "texts", "cp1252", false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::Message() << (c.encoding ? c.encoding : "absent") << ", "
                                          << (c.startPage ? c.startPage : "absent"));
        FakeSettingsPlatform platform;
        const std::string ini = "C:\\tc\\Corvelle.ini";
        if (c.encoding) platform.profile[ini + "|Options/Encoding"] = c.encoding;
        if (c.startPage) platform.profile[ini + "|Options/StartPage"] = c.startPage;
        EXPECT_STREQ(ReadTextEncoding(platform, ini).name, c.page);
        EXPECT_EQ(ReadStartOnText(platform, ini), c.onText);
    }
}

TEST(ReadSavedHostRect, OnlyWithAutosaveAndAValidRect) {
    const char* kRect = "0000000000000000640000003200000096";
    const struct { const char *autosave, *rect; bool applied, rectRead; } kCases[] = {  // nullptr: key absent
        {nullptr, kRect, true, true}, {"2", kRect, true, true}, {"0", kRect, false, false}, {"1", nullptr, false, true},
        {"1", "0000000000000000640000003200000095", false, true}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "autosave " << (c.autosave ? c.autosave : "absent"));
        FakeSettingsPlatform platform;
        const std::string ini = "C:\\tc\\Corvelle.ini";
        if (c.autosave) platform.profile[ini + "|Options/autosave"] = c.autosave;
        if (c.rect) platform.profile[ini + "|Options/Rect"] = c.rect;
        const auto rect = ReadSavedHostRect(platform, ini);
        EXPECT_EQ(rect.has_value() ? rect->right : -1, c.applied ? 100 : -1);
        EXPECT_EQ(!platform.profileReads.empty() && platform.profileReads.back() == ini + "|Options/Rect", c.rectRead);
    }
}

TEST(HostIniCandidate, KeepsTheDirectoryAndNamesTheHostIni) {
    const std::string d248(248, 'd');
    const std::pair<std::string, std::string> kCases[] = {{"C:\\tc\\plugins.ini", "C:\\tc\\wincmd.ini"},
        {"C:\\tc\\", "C:\\tc\\wincmd.ini"}, {d248 + "\\x.ini", d248 + "\\wincmd.ini"}, {d248 + "d\\x.ini", ""}};
    for (const auto& [suggested, expected] : kCases) {
        char buffer[kPathCapacity] = {};
        std::strncpy(buffer, suggested.c_str(), sizeof buffer - 1);
        EXPECT_EQ(HostIniCandidate(buffer, sizeof buffer), expected) << suggested;
    }
    char unterminated[kPathCapacity];
    std::memset(unterminated, 'a', sizeof unterminated);
    unterminated[3] = '\\';
    EXPECT_EQ(HostIniCandidate(unterminated, sizeof unterminated), "");
    EXPECT_EQ(HostIniCandidate(nullptr, sizeof unterminated), "");
}

}  // namespace
