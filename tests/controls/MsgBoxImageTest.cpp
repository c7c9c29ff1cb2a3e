// MsgBox called by compiled code through its global-function rows, each
// dialog answered with the Return key on the real display.
#include <gtest/gtest.h>

#include "support/DialogAnswerer.h"

namespace {

TEST(MsgBoxImage, ReturnAnswersTheDefaultButtonOfEachForm) {
  AnsweredRun run = RunTestImageAnsweringDialogs("msgbox");
  EXPECT_EQ(run.status, 42) << run.errors;
  EXPECT_EQ(run.dialogs, 2);
}

} // namespace
