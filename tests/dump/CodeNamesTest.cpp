#include <gtest/gtest.h>

#include <cstring>

#include "dump/CodeNames.h"

namespace corvelle {
namespace {

FourCharCode Code(const char* bytes) {
    FourCharCode code;
    std::memcpy(code.bytes, bytes, 4);
    return code;
}

struct NameCase {
    const char* name;
    const char* code;  // four bytes, may hold zeros
    const char* text;
    const char* creatorName;
    const char* typeName;
};

class CodeNaming : public ::testing::TestWithParam<NameCase> {};

TEST_P(CodeNaming, TextAndBothTables) {
    const NameCase& c = GetParam();
    const FourCharCode code = Code(c.code);
    EXPECT_EQ(FourCharText(code), c.text);
    EXPECT_STREQ(CreatorName(code), c.creatorName);
    EXPECT_STREQ(ResourceTypeName(code), c.typeName);
}

const NameCase kNameCases[] = {
    {"LowerCaseApplication", "appl", "appl", "unknown", "Application"},
    {"UpperCaseApplication", "APPL", "APPL", "unknown", "Application"},
    {"MixedCaseApplication", "Appl", "Appl", "unknown", "unknown"},
    {"PreferencesInBothTables", "pref", "pref", "Preferences", "Preferences"},
    {"LauncherIsOnlyACreator", "lnch", "lnch", "Launcher", "unknown"},
    {"QueryTypeEndsInSpace", "pqa ", "pqa ", "unknown", "Query Application"},
    {"QueryTypeWithoutSpace", "pqa\0", "pqa", "unknown", "unknown"},
    {"FourZeroBytes", "\0\0\0\0", "", "unknown", "unknown"},
    {"ZeroByteEndsText", "ab\0c", "ab", "unknown", "unknown"},
    {"HighBytesKept", "\x80\xFFzz", "\x80\xFFzz", "unknown", "unknown"},
    {"LastCreatorRow", "memr", "memr", "Memory", "unknown"},
    {"LastTypeRow", "tAIN", "tAIN", "unknown", "Icon Name"},
    {"ArmCode", "ARMC", "ARMC", "unknown", "Code for ARM"},
    {"FirstCreatorRow", "calc", "calc", "Calculator", "unknown"},
};

INSTANTIATE_TEST_SUITE_P(Codes, CodeNaming, ::testing::ValuesIn(kNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvelle
