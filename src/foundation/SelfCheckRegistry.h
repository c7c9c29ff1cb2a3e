// A registry of self-check cases that the runtime can run on itself.
#pragma once

class TestCaseItself {
public:
  virtual void Run() {}
  virtual void SetUp() {}
  virtual void TearDown() {}
  virtual ~TestCaseItself() = default;

  TestCaseItself *mNextCase = nullptr;
};

class UnitTest {
public:
  // Puts the case at the front of the list.
  static void RegisterTestCase(TestCaseItself *testCase);
  // SetUp, Run and TearDown on each case, in list order.
  static void RunAllTests();
  // Empties the list; the cases are not freed.
  static void DeleteAllTests();
  // Writes "message at file:line" and an end of line to standard error.
  static void _Error(const char *message, const char *file, int line);

  static TestCaseItself *FirstTestCase();
};

// Pulls the date unit into the program; does nothing.
void ForceLinkOfDateUnitTest();
