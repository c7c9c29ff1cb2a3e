#include <gtest/gtest.h>

#include <string>

#include "foundation/SelfCheckRegistry.h"

namespace {

std::string sLog;

class LoggingCase : public TestCaseItself {
public:
  explicit LoggingCase(char name) : mName(name) {}
  void Run() override { sLog += std::string("run ") + mName + ";"; }
  void SetUp() override { sLog += std::string("setup ") + mName + ";"; }
  void TearDown() override { sLog += std::string("teardown ") + mName + ";"; }

private:
  char mName;
};

} // namespace

TEST(SelfCheckRegistry, RunsNewestFirstWithSetUpAndTearDown) {
  TestCaseItself *registered = UnitTest::FirstTestCase();
  ASSERT_NE(registered, nullptr); // the empty case registered at start
  TestCaseItself *registeredNext = registered->mNextCase;
  LoggingCase a('a'), b('b');
  UnitTest::RegisterTestCase(&a);
  UnitTest::RegisterTestCase(&b);
  sLog.clear();
  UnitTest::RunAllTests();
  EXPECT_EQ(sLog, "setup b;run b;teardown b;setup a;run a;teardown a;");
  UnitTest::DeleteAllTests();
  EXPECT_EQ(UnitTest::FirstTestCase(), nullptr);
  sLog.clear();
  UnitTest::RunAllTests();
  EXPECT_EQ(sLog, "");
  UnitTest::RegisterTestCase(registered); // puts the earlier list back
  registered->mNextCase = registeredNext;
}

TEST(SelfCheckRegistry, ErrorNamesFileAndLine) {
  testing::internal::CaptureStderr();
  UnitTest::_Error("bad value", "dates.cpp", 42);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "bad value at dates.cpp:42\n");
}
