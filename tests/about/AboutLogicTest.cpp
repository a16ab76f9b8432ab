// The About page's rules, built everywhere: the hyperlink's style changes, colours and
// fitting, opening a link through the ".htm" file type and the error texts. The page's text
// is checked where the page shows it, in the Wine test host.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "about/HtmlCommand.h"
#include "about/LinkFit.h"
#include "about/LinkStyle.h"
#include "about/OpenError.h"

using namespace corvelle;

namespace {

TEST(ChangeStyleBits, RefusesABitBothRemovedAndAdded) {
    const struct { uint32_t start, remove, add; bool accepted; uint32_t style; } kCases[] = {
        {0x15, 0, LS_OPENONPRESS, true, 0x1D},          {0x15, LS_UNDERLINE, 0, true, 0x14},
        {0x15, LS_AUTOSIZE, LS_HOVERCOLOR, true, 0x13}, {0x15, LS_NOACTIVECOLOR, 0, true, 0x15},
        {0x15, 0, LS_UNDERLINE, true, 0x15},            {0x15, 0, 0, true, 0x15},
        {0x15, LS_HOVERCOLOR, LS_HOVERCOLOR, false, 0x15},
        {0x1D, LS_UNDERLINE | LS_AUTOSIZE, LS_AUTOSIZE | 0x40, false, 0x1D}};
    for (const auto& c : kCases) {
        uint32_t style = c.start;
        EXPECT_EQ(ChangeStyleBits(style, c.remove, c.add), c.accepted) << c.remove << " " << c.add;
        EXPECT_EQ(style, c.style) << c.remove << " " << c.add;
    }
}

TEST(ChooseLinkColor, EveryStateWithEveryColourStyle) {
    const uint32_t kStyles[] = {0, LS_HOVERCOLOR, LS_NOACTIVECOLOR, LS_HOVERCOLOR | LS_NOACTIVECOLOR | LS_UNDERLINE};
    const std::map<char, ColorValue> kColours = {{'L', MakeColor(0, 0, 255)}, {'A', MakeColor(0, 128, 128)},
                                                 {'V', MakeColor(128, 0, 128)}, {'H', MakeColor(255, 0, 0)}};
    // The Link, Active, Visited or Hover colour. Rows: hover, active and visited as the bits
    // 4, 2 and 1 of the row number; columns: the styles above.
    const char* const kShown[8] = {"LLLL", "VVVV", "AALL", "AAVV", "LHLH", "VHVH", "AHLH", "AHVH"};
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 4; ++column) {
            const LinkState state{(row & 4) != 0, (row & 2) != 0, (row & 1) != 0};
            EXPECT_EQ(ChooseLinkColor(state, kStyles[column], LinkPalette()), kColours.at(kShown[row][column]))
                << row << " " << column;
        }
    }
}

TEST(FitWindowToText, KeepsTheAlignedEdgeAndTheBorder) {
    constexpr uint32_t kLeft = 0x0000, kCenter = 0x0001, kRight = 0x0002, kBitmap = 0x000E, kCenterImage = 0x0200;
    const struct { const char* name; LinkFitInput input; WindowPlacement fit; } kCases[] = {  // window, client, text
        {"LeftKeepsTopLeftAndBorder", {{10, 20, 110, 50}, {96, 26}, {40, 13}, kLeft}, {10, 20, 44, 17}},
        {"CentredOddDifference", {{10, 20, 110, 50}, {100, 30}, {41, 13}, kCenter}, {39, 20, 42, 13}},
        {"CentredWiderTextTruncatesToZero", {{10, 0, 50, 20}, {40, 20}, {61, 13}, kCenter}, {0, 0, 60, 13}},  // not -11
        {"RightKeepsRightEdge", {{10, 20, 110, 50}, {96, 26}, {40, 13}, kRight}, {70, 20, 44, 17}},
        {"BitmapHasTheRightBit", {{150, 76, 206, 103}, {50, 21}, {180, 13}, kBitmap}, {26, 76, 186, 19}},
        {"CentreImageTallerText", {{0, 10, 40, 20}, {40, 10}, {40, 15}, kCenterImage}, {0, 8, 40, 14}},
        {"CentredBothWays", {{0, 0, 100, 30}, {100, 30}, {40, 13}, kCenter | kCenterImage}, {30, 8, 40, 14}},
        {"EmptyText", {{5, 5, 45, 25}, {36, 16}, {0, 0}, kLeft}, {5, 5, 4, 4}}};
    for (const auto& c : kCases) {
        const WindowPlacement placement = FitWindowToText(c.input);
        EXPECT_EQ(std::make_tuple(placement.x, placement.y, placement.width, placement.height),
                  std::make_tuple(c.fit.x, c.fit.y, c.fit.width, c.fit.height)) << c.name;
    }
}

// Not the table's texts again: its ends, the blank code 26 keeps, and codes it does not know.
TEST(OpenErrorMessage, ReasonUnderItsHeading) {
    const std::pair<int, const char*> kCases[] = {
        {0, "The operating system is out\nof memory or resources."}, {26, "A sharing violation occurred. "},
        {32, "The specified dynamic-link library was not found."}, {1, "Unknown Error (1) occurred."},
        {33, "Unknown Error (33) occurred."}, {-2147483647 - 1, "Unknown Error (-2147483648) occurred."}};
    for (const auto& [code, reason] : kCases) {
        EXPECT_EQ(OpenErrorMessage(code), std::string("Can't open link:\n\n") + reason);
    }
}

const std::string kUrl = "https://corvelle.example.org/";
const LeadBytePredicate kSingleByte = [](unsigned char) { return false; };

TEST(BuildHtmlCommandLine, CutsAtThePlaceholderOrRefuses) {
    const std::string fits(519 - 1 - kUrl.size(), 'p'), tooLong(520 - 1 - kUrl.size(), 'p');
    const LeadBytePredicate lead81 = [](unsigned char byte) { return byte == 0x81; };
    const struct { const char* name; std::string command, url; bool dbcs, accepted; std::string line; } kRows[] = {
        // A placeholder, quoted or bare, is cut with the blank before it kept, then a blank is added.
        {"Bare", "C:\\web.exe %1", kUrl, false, true, "C:\\web.exe  " + kUrl},
        {"BareGluedToOption", "web.exe -url=%1", kUrl, false, true, "web.exe -url= " + kUrl},
        {"NoPlaceholder", "C:\\web.exe", kUrl, false, true, "C:\\web.exe " + kUrl},
        {"TextAfterPlaceholderDropped", "web.exe \"%1\" -nohome", kUrl, false, true, "web.exe  " + kUrl},
        {"QuotedWinsOverEarlierBare", "b.exe %1x \"%1\"", kUrl, false, true, "b.exe %1x  " + kUrl},
        {"EmptyCommand", "", kUrl, false, true, " " + kUrl},
        // With 0x81 a lead byte, 0x81 '%' is one character: the first "%1" is no placeholder.
        {"InsideDoubleByteChar", "a\x81%1b %1", kUrl, true, true, "a\x81%1b  " + kUrl},
        {"SameTextSingleByte", "a\x81%1b %1", kUrl, false, true, "a\x81 " + kUrl},
        {"LongestThatFits", fits, kUrl, false, true, fits + " " + kUrl},
        {"OneCharacterTooLong", tooLong, kUrl, false, false, "untouched"},
        {"LongUrl", "b.exe %1", std::string(600, 'u'), false, false, "untouched"},
    };
    for (const auto& c : kRows) {
        SCOPED_TRACE(c.name);
        std::string line = "untouched";
        EXPECT_EQ(BuildHtmlCommandLine(c.command, c.url, c.dbcs ? lead81 : kSingleByte, line), c.accepted);
        EXPECT_EQ(line, c.line);
    }
}

TEST(FindHtmlCommand, FollowsTheFileTypeOfHtm) {
    const std::string open = "htmlfile\\shell\\open\\command";
    const struct { HtmlCommandStatus status; std::map<std::string, std::string> classesRoot; std::string line;
                   std::vector<std::string> keysRead; } kCases[] = {
        {HtmlCommandStatus::Ready, {{".htm", "htmlfile"}, {open, "\"C:\\web.exe\" \"%1\""}}, "\"C:\\web.exe\"  " + kUrl,
         {".htm", open}},
        {HtmlCommandStatus::NoHtmlType, {{open, "web.exe %1"}}, "", {".htm"}},
        {HtmlCommandStatus::NoOpenCommand, {{".htm", "htmlfile"}, {"x\\shell", "x"}}, "", {".htm", open}},
        {HtmlCommandStatus::TooLong, {{".htm", "htmlfile"}, {open, std::string(500, 'c')}}, "", {".htm", open}}};
    for (const auto& c : kCases) {
        std::vector<std::string> keysRead;
        const HtmlCommand command = FindHtmlCommand(
            [&](const std::string& key, std::string& value) -> long {
                keysRead.push_back(key);
                const auto found = c.classesRoot.find(key);
                if (found == c.classesRoot.end()) return 2;  // ERROR_FILE_NOT_FOUND
                value = found->second;
                return 0;
            },
            kUrl, kSingleByte);
        EXPECT_EQ(std::tie(command.status, command.commandLine, keysRead), std::tie(c.status, c.line, c.keysRead));
    }
}

}  // namespace
