// The sheet's creation style and the template style replacement that must
// keep the template's own font flag.
#include "viewer/SheetStyle.h"

#include <gtest/gtest.h>

namespace corvelle {
namespace {

constexpr uint32_t kChildSheet = kWsChild | kWsVisible | kWsClipSiblings;
// The property sheet's own template: popup, caption, system menu, modal frame,
// context help and 3-D look, with or without its font.
constexpr uint32_t kSheetTemplate = 0x80C80000 | 0x2000 | 0x0004 | 0x0080;

struct StyleRow {
    const char* name;
    uint32_t templateStyle;
    uint32_t wanted;
    uint32_t written;
};

const StyleRow kStyleRows[] = {
    {"TemplateWithFontKeepsIt", kSheetTemplate | kDsSetFont, kChildSheet,
     kChildSheet | kDsSetFont},
    {"TemplateWithoutFontGetsNone", kSheetTemplate, kChildSheet, kChildSheet},
    {"WantedFontFlagIsIgnored", kSheetTemplate, kChildSheet | kDsSetFont, kChildSheet},
    {"DisabledIsKept", kSheetTemplate | kDsSetFont, kChildSheet | kWsDisabled,
     kChildSheet | kWsDisabled | kDsSetFont},
};

class TemplateStyleTest : public testing::TestWithParam<StyleRow> {};

TEST_P(TemplateStyleTest, ReplacesAllButTheFontFlag) {
    const StyleRow& row = GetParam();
    EXPECT_EQ(ReplaceTemplateStyle(row.templateStyle, row.wanted), row.written);
}

INSTANTIATE_TEST_SUITE_P(Templates, TemplateStyleTest, testing::ValuesIn(kStyleRows),
                         [](const testing::TestParamInfo<StyleRow>& info) {
                             return info.param.name;
                         });

struct CreateRow {
    const char* name;
    bool listerActive;
    uint32_t style;
};

const CreateRow kCreateRows[] = {
    {"ListerActive", true, 0x54000000},
    {"ListerInBackground", false, 0x5C000000},
};

class SheetCreateStyleTest : public testing::TestWithParam<CreateRow> {};

TEST_P(SheetCreateStyleTest, ChildSheetStyle) {
    EXPECT_EQ(SheetCreateStyle(GetParam().listerActive), GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(Activation, SheetCreateStyleTest, testing::ValuesIn(kCreateRows),
                         [](const testing::TestParamInfo<CreateRow>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace corvelle
