// Keys typed in the viewer: which reach the frame window (the one the host
// knows), which reach the rich-edit control, and what they do there.
#include <gtest/gtest.h>

#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

enum class Delivery { kYes, kNo, kEither };

struct KeyCase {
  const char* name;
  UINT key;
  unsigned modifiers;
  Delivery toFrame;
  Delivery toControl;
};

const char* Describe(Delivery delivery) {
  switch (delivery) {
    case Delivery::kYes: return "should";
    case Delivery::kNo: return "should not";
    case Delivery::kEither: return "may";
  }
  return "?";
}

const KeyCase kKeys[] = {
    // Letters, digits, Escape, Delete, Space and the keypad go to the host only.
    {"LetterA", 'A', kNoModifier, Delivery::kYes, Delivery::kNo},
    {"LetterZ", 'Z', kNoModifier, Delivery::kYes, Delivery::kNo},
    {"ShiftLetterQ", 'Q', kShift, Delivery::kYes, Delivery::kNo},
    {"Digit5", '5', kNoModifier, Delivery::kYes, Delivery::kNo},
    {"Escape", VK_ESCAPE, kNoModifier, Delivery::kYes, Delivery::kNo},
    {"Delete", VK_DELETE, kNoModifier, Delivery::kYes, Delivery::kNo},
    {"Space", VK_SPACE, kNoModifier, Delivery::kYes, Delivery::kNo},
    {"Numpad0", VK_NUMPAD0, kNoModifier, Delivery::kYes, Delivery::kNo},
    {"NumpadAdd", VK_ADD, kNoModifier, Delivery::kYes, Delivery::kNo},
    {"NumpadDivide", VK_DIVIDE, kNoModifier, Delivery::kYes, Delivery::kNo},
    // Arrows reach both.
    {"Down", VK_DOWN, kNoModifier, Delivery::kYes, Delivery::kYes},
    {"Up", VK_UP, kNoModifier, Delivery::kYes, Delivery::kYes},
    {"Left", VK_LEFT, kNoModifier, Delivery::kYes, Delivery::kYes},
    {"Right", VK_RIGHT, kNoModifier, Delivery::kYes, Delivery::kYes},
    {"Return", VK_RETURN, kNoModifier, Delivery::kYes, Delivery::kEither},
    {"Tab", VK_TAB, kNoModifier, Delivery::kYes, Delivery::kEither},
    // Paging and the function keys stay inside the viewer.
    {"PageDown", VK_NEXT, kNoModifier, Delivery::kNo, Delivery::kYes},
    {"PageUp", VK_PRIOR, kNoModifier, Delivery::kNo, Delivery::kYes},
    {"Home", VK_HOME, kNoModifier, Delivery::kNo, Delivery::kYes},
    {"End", VK_END, kNoModifier, Delivery::kNo, Delivery::kYes},
    {"F5", VK_F5, kNoModifier, Delivery::kNo, Delivery::kEither},
    {"Insert", VK_INSERT, kNoModifier, Delivery::kNo, Delivery::kEither},
};

void PrintTo(const KeyCase& row, std::ostream* out) { *out << row.name; }

class KeyRouting : public ViewerParamTest<KeyCase> {};

TEST_P(KeyRouting, ReachesFrameAndControlAsTheHostExpects) {
  const KeyCase& row = GetParam();
  ListerWindow lister;
  ViewerParts parts = OpenViewer(lister, WriteDatabase(PalmDatabase::WithRecords(50)));
  ASSERT_TRUE(parts.IsComplete()) << DescribeTree(parts.frame);
  ASSERT_TRUE(FocusWindow(parts.dumpControl));
  MessageLog frameLog(parts.frame);
  MessageLog controlLog(parts.dumpControl);
  ASSERT_TRUE(frameLog.IsAttached() && controlLog.IsAttached());

  PressKeyOnFocus(row.key, row.modifiers);

  size_t frameDowns = frameLog.Count(WM_KEYDOWN, row.key);
  size_t controlDowns = controlLog.Count(WM_KEYDOWN, row.key);
  if (row.toFrame != Delivery::kEither) {
    EXPECT_EQ(frameDowns, row.toFrame == Delivery::kYes ? 1u : 0u)
        << "the frame " << Describe(row.toFrame) << " get a copy of the key";
  }
  if (row.toControl != Delivery::kEither) {
    EXPECT_EQ(controlDowns, row.toControl == Delivery::kYes ? 1u : 0u)
        << "the control " << Describe(row.toControl) << " get the key";
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyRouting, testing::ValuesIn(kKeys), RowName());

class KeyEffects : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    if (HasFatalFailure()) return;
    m_parts = OpenViewer(m_lister, WriteDatabase(PalmDatabase::WithRecords(120)));
    ASSERT_TRUE(m_parts.IsComplete()) << DescribeTree(m_parts.frame);
    ASSERT_TRUE(FocusWindow(m_parts.dumpControl));
  }

  ListerWindow m_lister;
  ViewerParts m_parts;
};

TEST_F(KeyEffects, DownArrowMovesTheCaretToTheNextLine) {
  ASSERT_EQ(CaretLine(m_parts.dumpControl), 0);
  PressKeyOnFocus(VK_DOWN);
  EXPECT_EQ(CaretLine(m_parts.dumpControl), 1);
}

TEST_F(KeyEffects, PageDownScrollsTheReport) {
  ASSERT_EQ(FirstVisibleLine(m_parts.dumpControl), 0);
  PressKeyOnFocus(VK_NEXT);
  PressKeyOnFocus(VK_NEXT);
  EXPECT_GT(FirstVisibleLine(m_parts.dumpControl), 0);
}

TEST_F(KeyEffects, LettersLeaveTheReadOnlyTextAlone) {
  std::string before = ControlText(m_parts.dumpControl);
  PressKeyOnFocus('X');
  PressKeyOnFocus(VK_DELETE);
  EXPECT_TRUE(ControlText(m_parts.dumpControl) == before);
}

TEST_F(KeyEffects, KeysOfOtherWindowsPassTheHookUnchanged) {
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 24, m_lister.Handle(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  MessageLog editLog(edit);
  MessageLog frameLog(m_parts.frame);
  ASSERT_TRUE(FocusWindow(edit));
  PressKeyOnFocus('A');
  PressKeyOnFocus(VK_DOWN);
  EXPECT_EQ(editLog.Count(WM_KEYDOWN, 'A'), 1u);
  EXPECT_EQ(editLog.Count(WM_KEYDOWN, VK_DOWN), 1u);
  EXPECT_EQ(frameLog.Count(WM_KEYDOWN), 0u);
  EXPECT_EQ(TextOf(edit), "a");
  DestroyWindow(edit);
}

}  // namespace
}  // namespace corvelle::host
