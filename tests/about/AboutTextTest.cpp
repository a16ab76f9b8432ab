#include "about/AboutText.h"

#include "res/AboutText.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace corvelle {
namespace {

// The string table as the resource script compiles it.
const std::map<unsigned, std::string> kStringTable = {
    {IDS_ABOUT_TITLE, CORVELLE_TEXT_TITLE},     {IDS_ABOUT_RIGHTS, CORVELLE_TEXT_RIGHTS},
    {IDS_ABOUT_CONTACT, CORVELLE_TEXT_CONTACT}, {IDS_ABOUT_HISTORY, CORVELLE_TEXT_HISTORY},
    {IDS_ABOUT_V001, CORVELLE_TEXT_V001},       {IDS_ABOUT_V002, CORVELLE_TEXT_V002},
};

StringLoader LoaderFor(const std::map<unsigned, std::string>& table) {
    return [&table](unsigned id, std::string& text) {
        const auto found = table.find(id);
        if (found == table.end()) return false;
        text = found->second;
        return true;
    };
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

TEST(AboutTextTest, ComposesTwentyFourLinesInOrder) {
    const std::string info = ComposeAboutText(LoaderFor(kStringTable));
    ASSERT_FALSE(info.empty());
    EXPECT_NE(info.back(), '\n');
    EXPECT_EQ(info.find('\r'), std::string::npos);

    const std::vector<std::string> lines = SplitLines(info);
    ASSERT_EQ(lines.size(), 24u);
    struct Expected {
        size_t line;  // 1-based, as the page shows them
        std::string text;
    };
    const std::vector<Expected> expected = {
        {1, "Corvelle - Lister plug-in for Total Commander"},
        {2, "by " CORVELLE_MAKER_NAME},
        {3, ""},
        {4, "History :"},
        {5, "--------------"},
        {6, "0.02 - 14.02.2008"},
        {7, "   - Fixed : update windows when reopen viewer"},
        {15, "   - Added : some creator"},
        {16, ""},
        {17, "0.01 - 26.09.2005"},
        {18, "   - First beta release"},
        {19, ""},
        {20, "Send comments to the author :"},
        {21, CORVELLE_MAKER_NAME " (" CORVELLE_MAKER_EMAIL ")"},
        {22, CORVELLE_MAKER_WEB},
        {23, "Copyright (C) " CORVELLE_RIGHTS_YEARS " " CORVELLE_MAKER_NAME "."},
        {24, "All rights reserved."},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE("line " + std::to_string(e.line));
        EXPECT_EQ(lines[e.line - 1], e.text);
    }
    for (size_t line = 7; line <= 15; ++line) {
        SCOPED_TRACE("change line " + std::to_string(line));
        EXPECT_EQ(lines[line - 1].rfind("   - ", 0), 0u);
    }
}

TEST(AboutTextTest, HistoryEntriesHaveTheirFixedLengths) {
    // The two history entries are the product's own record and must not drift.
    EXPECT_EQ(std::string(CORVELLE_TEXT_V002).size(), 320u);
    EXPECT_EQ(std::string(CORVELLE_TEXT_HISTORY), "\nHistory :\n--------------");
}

struct MissingRow {
    const char* name;
    unsigned missing;
    size_t lines;
};

// Each entry's lines, and so what the text loses without it.
const std::vector<MissingRow> kMissing = {
    {"Title", IDS_ABOUT_TITLE, 22},  {"History", IDS_ABOUT_HISTORY, 22},
    {"Newest", IDS_ABOUT_V002, 13},  {"Oldest", IDS_ABOUT_V001, 21},
    {"Contact", IDS_ABOUT_CONTACT, 21}, {"Rights", IDS_ABOUT_RIGHTS, 22},
};

class AboutTextMissingTest : public testing::TestWithParam<MissingRow> {};

TEST_P(AboutTextMissingTest, ShowsTheRest) {
    std::map<unsigned, std::string> table = kStringTable;
    table.erase(GetParam().missing);
    const std::string info = ComposeAboutText(LoaderFor(table));
    EXPECT_EQ(SplitLines(info).size(), GetParam().lines);
    for (const auto& entry : table) {
        SCOPED_TRACE(entry.first);
        EXPECT_NE(info.find(entry.second), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, AboutTextMissingTest, testing::ValuesIn(kMissing),
                         [](const testing::TestParamInfo<MissingRow>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle
