#include <gtest/gtest.h>

#include "TestClassDefinitions.h"
#include "runtime/exports/PluginRoutineLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ValueAccessors.h"
#include "support/AlertRecorder.h"

using namespace testclasses;

TEST(PluginRoutineLookup, DescriptorsNameClassMembersByKind) {
  addIntrinsicClass(SocketClass());
  AlertRecorder recorder;
  struct Case {
    const char *descriptor;
    void *expected;
  };
  const Case cases[] = {
      {"MTestSocket!write", CodeAddress(kWriteCode)},
      {"Mtestsocket!SetTimeout", CodeAddress(kSetTimeoutCode)},
      {"WTestSocket!Write", nullptr}, // no second function
      {"GTestSocket!port", reinterpret_cast<void *>(intGetter)},
      {"STestSocket!Port", reinterpret_cast<void *>(intSetter)},
      {"MTestSocket!NoSuchMethod", nullptr},
      {"GPort", nullptr}, // properties need a class
      {"MNoPluginMethod", nullptr},
  };
  for (const Case &c : cases)
    EXPECT_EQ(getPluginRoutineToc(c.descriptor), c.expected) << c.descriptor;
  EXPECT_EQ(recorder.count(), 0u);
}

TEST(PluginRoutineLookup, UnknownClassOrKindIsShown) {
  AlertRecorder recorder;
  EXPECT_EQ(getPluginRoutineToc("MNoSuchClass!Write"), nullptr);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].message, "Unable to load class: NoSuchClass");

  addIntrinsicClass(SocketClass());
  recorder.clear();
  EXPECT_EQ(getPluginRoutineToc("XTestSocket!Write"), nullptr);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].condition, "0");
}
