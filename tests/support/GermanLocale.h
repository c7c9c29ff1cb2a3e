// A fixture that runs each test under a German locale, as a user's desktop
// session would set it: "," is its decimal point and its month and day names
// are German. Code that must write and read the C forms is tested under it.
// Name a suite after the code under test with an alias of this fixture.
#pragma once
#include <clocale>
#include <string>

#include <gtest/gtest.h>

class GermanLocaleTest : public testing::Test {
protected:
  void SetUp() override {
    mPrevious = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
      GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps.sh installs it)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  }
  void TearDown() override { std::setlocale(LC_ALL, mPrevious.c_str()); }

private:
  std::string mPrevious;
};
