// The Lister's find command (ListSearchText) on a real viewer: the hit is
// selected in the rich-edit control and scrolled into view, and repeated
// finds move on. Expected positions come from plain searches of the text
// the control holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "Harness.h"

namespace corvelle::host {
namespace {

using ListSearchTextProc = int(__stdcall*)(HWND listWin, char* searchString, int parameter);

constexpr int kFindFirst = 1;
constexpr int kMatchCase = 2;
constexpr int kWholeWords = 4;
constexpr int kBackwards = 8;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string SelectedText(HWND control) {
    const CHARRANGE range = SelectionOf(control);
    if (range.cpMax <= range.cpMin) return std::string();
    std::string text(static_cast<size_t>(range.cpMax - range.cpMin) + 1, '\0');
    const LRESULT copied = SendMessageA(control, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

class PluginSearch : public testing::Test {
protected:
    void SetUp() override {
        CORVELLE_REQUIRE_PLUGIN();
        m_search = PluginModule::Get().EntryAs<ListSearchTextProc>("ListSearchText");
        ASSERT_NE(m_search, nullptr) << "ListSearchText is not exported";
        const std::string pdb = m_dir.Write(
            "memo.pdb", PalmDatabase::WithRecords(300).Name("memorandum memo").Image());
        m_frame = m_lister.Open(pdb);
        ASSERT_NE(m_frame, nullptr);
        m_parts = FindViewerParts(m_frame);
        ASSERT_TRUE(m_parts.IsComplete()) << DescribeTree(m_frame);
        m_text = ControlText(m_parts.dumpControl);
        ASSERT_FALSE(m_text.empty());
    }

    int Search(const std::string& needle, int flags) {
        std::string buffer = needle;
        return m_search(m_frame, &buffer[0], flags);
    }

    void ExpectSelection(size_t start, const std::string& needle) {
        const CHARRANGE range = SelectionOf(m_parts.dumpControl);
        EXPECT_EQ(range.cpMin, static_cast<LONG>(start));
        EXPECT_EQ(range.cpMax, static_cast<LONG>(start + needle.size()));
        EXPECT_EQ(Lower(SelectedText(m_parts.dumpControl)), Lower(needle));
    }

    TempDir m_dir;
    ListerWindow m_lister;
    ListSearchTextProc m_search = nullptr;
    HWND m_frame = nullptr;
    ViewerParts m_parts;
    std::string m_text;
};

TEST_F(PluginSearch, FirstFindIgnoresCaseAndSelectsTheHit) {
    const size_t expected = Lower(m_text).find("memorandum");
    ASSERT_NE(expected, std::string::npos);
    EXPECT_EQ(Search("MEMORANDUM", kFindFirst), kListPluginOk);
    ExpectSelection(expected, "memorandum");
}

TEST_F(PluginSearch, MatchCaseRefusesOtherCase) {
    ASSERT_EQ(m_text.find("MEMORANDUM"), std::string::npos);
    const CHARRANGE before = SelectionOf(m_parts.dumpControl);
    EXPECT_EQ(Search("MEMORANDUM", kFindFirst | kMatchCase), kListPluginError);
    const CHARRANGE after = SelectionOf(m_parts.dumpControl);
    EXPECT_EQ(after.cpMin, before.cpMin);
    EXPECT_EQ(after.cpMax, before.cpMax);
}

TEST_F(PluginSearch, WholeWordSkipsTheWordThatOnlyBeginsWithIt) {
    const size_t name = m_text.find("memorandum memo");
    ASSERT_NE(name, std::string::npos);
    EXPECT_EQ(Search("memo", kFindFirst | kWholeWords | kMatchCase), kListPluginOk);
    ExpectSelection(name + std::string("memorandum ").size(), "memo");
}

TEST_F(PluginSearch, BackwardsFirstFindsTheLastHitAndScrollsToIt) {
    const size_t last = m_text.rfind("Offset:");
    ASSERT_NE(last, std::string::npos) << m_text.substr(m_text.size() - 200);
    EXPECT_EQ(Search("Offset:", kFindFirst | kBackwards | kMatchCase), kListPluginOk);
    ExpectSelection(last, "Offset:");
    EXPECT_GT(FirstVisibleLine(m_parts.dumpControl), 0);
}

TEST_F(PluginSearch, RepeatedFindMovesOnInEachDirection) {
    const std::string lower = Lower(m_text);
    std::vector<size_t> all;
    for (size_t at = lower.find("memo"); at != std::string::npos; at = lower.find("memo", at + 4)) {
        all.push_back(at);
    }
    ASSERT_GE(all.size(), 3u);

    for (const bool backwards : {false, true}) {
        SCOPED_TRACE(backwards ? "backwards" : "forwards");
        std::vector<size_t> expected = all;
        if (backwards) std::reverse(expected.begin(), expected.end());
        int flags = kFindFirst | (backwards ? kBackwards : 0);
        std::vector<size_t> visited;
        while (visited.size() <= all.size() && Search("memo", flags) == kListPluginOk) {
            visited.push_back(static_cast<size_t>(SelectionOf(m_parts.dumpControl).cpMin));
            flags = backwards ? kBackwards : 0;
        }
        EXPECT_EQ(visited, expected);
    }
}

TEST_F(PluginSearch, AbsentTextAndForeignHandleAreNotFound) {
    EXPECT_EQ(Search("no such text anywhere", kFindFirst), kListPluginError);
    std::string needle = "memo";
    EXPECT_EQ(m_search(m_lister.Handle(), &needle[0], kFindFirst), kListPluginError);
    EXPECT_EQ(m_search(m_frame, nullptr, kFindFirst), kListPluginError);
}

}  // namespace
}  // namespace corvelle::host
