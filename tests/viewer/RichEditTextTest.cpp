// The Text page's text as the Win32 control holds it: the model's UTF-8 and
// LF as UTF-16 and CR LF, its looks at the control's positions, kept level
// as the model grows, and where a piece of it may be cut.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewer/RichEditText.h"

using namespace corvelle;

namespace {

std::vector<std::string> Runs(const RichEditText& text) {
    std::vector<std::string> runs;
    for (const StyledRun& run : text.RunsIn(0, text.Size()))
        runs.push_back(std::to_string(run.start) + "-" + std::to_string(run.end) + ":" + std::to_string(run.style));
    return runs;
}

TEST(RichEditText, ConvertsWhatTheModelAddsWithItsLooksAtTheControlsPositions) {
    PageText page;
    RichEditText control;
    page.Text("a\xC3\xA9\n");                // e acute, then a paragraph end
    page.Text("\xF0\x9F\x93\x96", text_style::kBold);  // a book: a surrogate pair
    control.CatchUp(page);
    EXPECT_EQ(control.Units(), u"a\xE9\r\n\xD83D\xDCD6");
    page.Text("x\ny", text_style::kBold);    // joins the bold run, around a plain end
    page.Heading("H");
    control.CatchUp(page);
    control.CatchUp(page);                   // nothing new: nothing twice
    EXPECT_EQ(control.Units(), u"a\xE9\r\n\xD83D\xDCD6x\r\ny\r\nH\r\n");
    EXPECT_EQ(control.ConvertedBytes(), page.Size());
    EXPECT_EQ(Runs(control), (std::vector<std::string>{"0-4:0", "4-7:1", "7-9:0", "9-10:1", "10-12:0",
                                                       "12-13:256", "13-15:0"}));
}

TEST(AppendRichEditUnits, MakesEveryLineEndCrLfOnce) {
    const struct { const char* utf8; std::u16string units; } kCases[] = {
        {"a\nb\r\nc\n\n", u"a\r\nb\r\nc\r\n\r\n"}, {"\n", u"\r\n"}, {"x\xFFy", u"x\xFFFDy"}};
    for (const auto& c : kCases) {
        std::u16string units;
        AppendRichEditUnits(c.utf8, units);
        EXPECT_EQ(units, c.units) << c.utf8;
    }
}

TEST(RichEditPieceEnd, CutsAtParagraphsThenSpacesNeverInsideAPairOrCrLf) {
    const std::u16string text = u"one two\r\nthree four five\r\n\xD83D\xDCD6xyz";
    const struct { const char* name; size_t start, wanted, end; } kCases[] = {
        {"AfterTheLastParagraphEnd", 0, 20, 9},  {"AfterASpace", 9, 10, 15},
        {"WhereItReaches", 9, 3, 12},            {"NotBetweenCrAndLf", 20, 5, 24},
        {"NotInsideASurrogatePair", 26, 1, 28},  {"AllThatIsLeft", 26, 99, 31},
        {"AtTheEnd", 31, 10, 31},                {"NothingWantedIsOneCharacter", 0, 0, 1}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RichEditPieceEnd(text, c.start, c.wanted), c.end);
    }
}

}  // namespace
