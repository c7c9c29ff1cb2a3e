// MsgBox's text split, its buttons-code tables and its results.
#include <gtest/gtest.h>

#include "controls/MsgBox.h"

namespace {

struct SplitCase {
  const char *text, *message, *explanation;
};

TEST(MsgBox, ABlankLinePartsMessageFromExplanationUnlessTheTextStartsWithOne) {
  const SplitCase cases[] = {
      {"One line", "One line", ""},
      {"First.\n\nSecond.", "First.", "Second."},
      {"First.\nSecond.", "First.\nSecond.", ""},
      {"\n\nWhole", "\n\nWhole", ""},
      {"a\n\nb\n\nc", "a", "b\n\nc"},
      {"", "", ""},
  };
  for (const SplitCase &c : cases) {
    string message, explanation;
    SplitMessageText(string(c.text), &message, &explanation);
    EXPECT_STREQ(message.CString(), c.message) << c.text;
    EXPECT_STREQ(explanation.CString(), c.explanation) << c.text;
  }
}

// What the dialog shows for one buttons code.
struct Shown {
  std::string action, alternate, cancel; // "" when not shown
  int32_t defaultId;
  int32_t icon;
};

Shown Configure(int32_t buttons) {
  MessageDialog d;
  ConfigureMessageDialog(&d, buttons);
  return Shown{d.actionCaption.CString(), d.alternateShown ? d.alternateCaption.CString() : "",
               d.cancelShown ? d.cancelCaption.CString() : "", d.defaultId, d.icon};
}

TEST(MsgBox, ButtonSetsGiveTheirCaptionsAndDefaultsForEveryDefaultCode) {
  constexpr int32_t A = kActionButton, C = kCancelButton, L = kAlternateButton, N = kNoButton;
  struct Row {
    const char *action, *alternate, *cancel;
    int32_t defaults[4];
  };
  const Row sets[6] = {
      {"OK", "", "", {A, N, N, N}},
      {"OK", "", "Cancel", {A, C, N, N}},
      {"Retry", "Ignore", "Abort", {C, A, L, N}},
      {"Yes", "No", "Cancel", {A, L, C, N}},
      {"Yes", "No", "", {A, L, N, N}},
      {"Retry", "", "Cancel", {A, C, N, N}},
  };
  for (int32_t set = 0; set < 16; ++set)
    for (int32_t d = 0; d < 4; ++d) {
      const Row &row = set < 6 ? sets[set] : Row{"OK", "", "", {A, A, A, A}};
      Shown s = Configure(set | (d << 8));
      EXPECT_EQ(s.action, row.action) << set << " " << d;
      EXPECT_EQ(s.alternate, row.alternate) << set << " " << d;
      EXPECT_EQ(s.cancel, row.cancel) << set << " " << d;
      EXPECT_EQ(s.defaultId, row.defaults[d]) << set << " " << d;
    }
}

TEST(MsgBox, IconBitsChooseTheIconAndHigherValuesKeepTheInitialOne) {
  const int32_t icons[8] = {-1, 2, 3, 1, 0, 0, 0, 0};
  for (int32_t bits = 0; bits < 8; ++bits)
    for (int32_t set : {0, 3, 9})
      EXPECT_EQ(Configure(set | (bits << 4)).icon, icons[bits]) << bits;
}

TEST(MsgBox, ResultsFollowTheSetTableAndARunWithoutAButtonAnswersTheActionCode) {
  struct Case {
    int32_t buttons, response, result;
  };
  const Case cases[] = {
      {0, kActionButton, 1}, {0, kNoButton, 1},    {1, kCancelButton, 2}, {2, kCancelButton, 3},
      {2, kActionButton, 4}, {2, kAlternateButton, 5}, {3, kActionButton, 6},
      {3, kAlternateButton, 7}, {4, kNoButton, 6},  {5, kCancelButton, 2}, {0x213, kActionButton, 6},
      {12, kActionButton, 1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(MsgBoxResult(c.buttons, c.response), c.result) << c.buttons << " " << c.response;
}

} // namespace
