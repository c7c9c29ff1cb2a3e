#include <gtest/gtest.h>

#include "runtime/feedback/QVFeedback.h"

TEST(QVFeedback, DoubleClickTimeWithoutADisplayIsGtkDefault) {
  EXPECT_EQ(QV::GetDblTime(), 15); // 250 ms
  QV::SysBeep(3);                  // without a display: quietly nothing
}
