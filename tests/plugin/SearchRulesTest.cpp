// The Lister's find command on a page's text: each row is one search the
// user can make, with the selection it starts from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/SearchRules.h"

namespace corvelle {
namespace {

constexpr int kFirst = kSearchFindFirst;
constexpr int kCase = kSearchMatchCase;
constexpr int kWords = kSearchWholeWords;
constexpr int kBack = kSearchBackwards;

//                              0         1         2         3
//                              0123456789012345678901234567890123456
const std::string kReport = "Name :\tMemoDB\r\nType :\tDATA memo\r\nmemos";

struct SearchCase {
    const char* name;
    const char* needle;
    TextRange selection;
    int flags;
    bool found;
    size_t start;
};

const std::vector<SearchCase> kSearchCases = {
    {"FirstIgnoresCase", "memo", {30, 30}, kFirst, true, 7},
    {"FirstWithCase", "memo", {0, 0}, kFirst | kCase, true, 27},
    {"NextMovesPastSelection", "memo", {7, 11}, 0, true, 27},
    {"NextFromCaret", "memo", {28, 28}, 0, true, 33},
    {"NextAfterLastFindsNothing", "memo", {33, 37}, 0, false, 0},
    {"WholeWordSkipsPartOfWord", "memo", {0, 0}, kFirst | kWords, true, 27},
    {"WholeWordAtTextEnd", "memos", {0, 0}, kFirst | kWords, true, 33},
    {"WholeWordAfterTab", "MemoDB", {0, 0}, kFirst | kWords | kCase, true, 7},
    {"BackwardsFirstFromEnd", "memo", {0, 0}, kFirst | kBack, true, 33},
    {"BackwardsMovesBeforeSelection", "memo", {33, 37}, kBack, true, 27},
    {"BackwardsWithCase", "memo", {27, 31}, kBack | kCase, false, 0},
    {"BackwardsWholeWord", "memo", {40, 40}, kFirst | kBack | kWords, true, 27},
    {"NotInText", "palm", {0, 0}, kFirst, false, 0},
    {"EmptyNeedle", "", {0, 0}, kFirst, false, 0},
    {"NeedleLongerThanText", "Name :\tMemoDB\r\nType :\tDATA memo\r\nmemos!", {0, 0}, kFirst,
     false, 0},
    {"SelectionBeyondText", "memo", {90, 95}, 0, false, 0},
    {"AcrossLineBreak", "memo\r\nmemos", {0, 0}, kFirst, true, 27},
};

class FindMatchTest : public testing::TestWithParam<SearchCase> {};

TEST_P(FindMatchTest, FindsAsAsked) {
    const SearchCase& row = GetParam();
    const auto hit = FindMatch(kReport, row.needle, row.selection, row.flags);
    ASSERT_EQ(hit.has_value(), row.found);
    if (hit) {
        EXPECT_EQ(hit->start, row.start);
        EXPECT_EQ(hit->end, row.start + std::string(row.needle).size());
    }
}

INSTANTIATE_TEST_SUITE_P(Searches, FindMatchTest, testing::ValuesIn(kSearchCases),
                         [](const testing::TestParamInfo<SearchCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FindMatchRepeatTest, FindNextVisitsEveryHitOnceInEachDirection) {
    const std::string text = "ab ab ab";
    for (int direction : {0, kBack}) {
        SCOPED_TRACE(direction == 0 ? "forwards" : "backwards");
        std::vector<size_t> starts;
        TextRange selection{0, 0};
        int flags = kFirst | direction;
        while (auto hit = FindMatch(text, "AB", selection, flags)) {
            starts.push_back(hit->start);
            selection = *hit;
            flags = direction;
            ASSERT_LE(starts.size(), 3u);
        }
        const std::vector<size_t> expected =
            direction == 0 ? std::vector<size_t>{0, 3, 6} : std::vector<size_t>{6, 3, 0};
        EXPECT_EQ(starts, expected);
    }
}

TEST(FindMatchWordsTest, HighBytesCountAsLetters) {
    const std::string text = "caf\xE9 cafe";
    const auto hit = FindMatch(text, "caf", {0, 0}, kFirst | kWords);
    EXPECT_FALSE(hit.has_value());
    const auto upper = FindMatch(text, "CAF\xC9", {0, 0}, kFirst);
    EXPECT_FALSE(upper.has_value());
}

}  // namespace
}  // namespace corvelle
