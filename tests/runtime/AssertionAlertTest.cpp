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

TEST(AssertionAlert, ASiteShowsItsOwnTextWhateverTheCodeSays) {
  AlertRecorder recorder;
  const int *missing = nullptr;
  EXPECT_FALSE(RUNTIME_CHECK_SHOWING(missing, "NULL != missing"));
  EXPECT_TRUE(RUNTIME_CHECK_SHOWING(!missing, "NULL == missing"));
  const AlertSite site{"../Common/site", 321, "not found"};
  EXPECT_FALSE(ShowAlert(site, "with a message"));
  EXPECT_FALSE(ShowAlert(AlertSite{"../Common/site", 7, nullptr}));
  ASSERT_EQ(recorder.count(), 3u);
  EXPECT_EQ(recorder.alerts()[0].condition, "NULL != missing");
  EXPECT_NE(recorder.alerts()[0].file.find("AssertionAlertTest"), std::string::npos);
  EXPECT_TRUE(ShownAt(recorder.alerts()[1], site));
  EXPECT_EQ(recorder.alerts()[1].number, kAssertionNumber);
  EXPECT_EQ(recorder.alerts()[1].message, "with a message");
  EXPECT_TRUE(ShownAt(recorder.alerts()[2], {"../Common/site", 7, nullptr}));
  EXPECT_EQ(recorder.alerts()[2].message, "");
}
