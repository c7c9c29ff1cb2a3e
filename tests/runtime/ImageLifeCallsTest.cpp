// The calls that open and close an image's life are bound by name, as the
// image imports them.
#include <gtest/gtest.h>

#include "runtime/exports/ExportTable.h"
#include "runtime/startup/RuntimeStartup.h"

TEST(ImageLifeCalls, FirstAndLastCallsOfTheImageAreBound) {
  const RelocEntry *init = resolveRelocEntry("runtimeinit");
  const RelocEntry *exit = resolveRelocEntry("RUNTIMEEXIT");
  ASSERT_NE(init, nullptr);
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(init->address, reinterpret_cast<void *>(&RuntimeInit));
  EXPECT_EQ(exit->address, reinterpret_cast<void *>(&RuntimeExit));
  RuntimeInit(); // no plug-ins are carried: nothing to load
  EXPECT_EQ(RuntimeExit(), nullptr);
}
