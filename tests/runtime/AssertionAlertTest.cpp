#include <gtest/gtest.h>

#include "support/AlertRecorder.h"

TEST(AssertionAlert, FailedCheckIsRecordedWithItsConditionAndTheCallerGoesOn) {
  AlertRecorder recorder;
  int value = 3;
  bool passed = RUNTIME_CHECK(value == 4);
  EXPECT_FALSE(passed);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].number, kAssertionNumber);
  EXPECT_EQ(recorder.alerts()[0].condition, "value == 4");
  EXPECT_NE(recorder.alerts()[0].file.find("AssertionAlertTest"), std::string::npos);
  EXPECT_TRUE(RUNTIME_CHECK(value == 3));
  EXPECT_EQ(recorder.count(), 1u);
}
