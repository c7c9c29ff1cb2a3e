#include "foundation/SelfCheckRegistry.h"

#include <cstdio>

namespace {
TestCaseItself *sFirstCase = nullptr;

// The one case registered at start; it checks nothing.
struct RegisterEmptyCase {
  RegisterEmptyCase() {
    static TestCaseItself sEmptyCase;
    UnitTest::RegisterTestCase(&sEmptyCase);
  }
} sRegisterEmptyCase;
} // namespace

void UnitTest::RegisterTestCase(TestCaseItself *testCase) {
  testCase->mNextCase = sFirstCase;
  sFirstCase = testCase;
}

void UnitTest::RunAllTests() {
  for (TestCaseItself *testCase = sFirstCase; testCase; testCase = testCase->mNextCase) {
    testCase->SetUp();
    testCase->Run();
    testCase->TearDown();
  }
}

void UnitTest::DeleteAllTests() { sFirstCase = nullptr; }

void UnitTest::_Error(const char *message, const char *file, int line) {
  std::fprintf(stderr, "%s at %s:%d\n", message, file, line);
}

TestCaseItself *UnitTest::FirstTestCase() { return sFirstCase; }

void ForceLinkOfDateUnitTest() {}
