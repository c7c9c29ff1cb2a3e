// The application's classes checked from inside test images. The clipboard
// monitor and manager are driven tick by tick in the tavrin_monitor image (stand-ins for the clipboard and the main
// window): letter case counts, the peer's text is not echoed, and a reading
// overtaken by the peer's text is dropped.
#include <gtest/gtest.h>

#include "support/ImageRunner.h"

namespace {

TEST(TavrinClipboardMonitor, ChangesAreByteExactAndAStaleReadingIsDropped) {
  ProgramRun run = RunTestImage("tavrin_monitor");
  if (run.status == 77)
    GTEST_SKIP() << run.errors;
  EXPECT_EQ(run.status, 42) << run.errors;
}

// The socket classes' tables, interfaces, refusals and packet layout, checked
// inside the tavrin_classes test image.
TEST(TavrinSocketClasses, AreBuiltOnceWithTheirTablesInterfacesAndRefusals) {
  ProgramRun run = RunTestImage("tavrin_classes");
  EXPECT_EQ(run.status, 42) << run.errors;
}

// The property streams a window's controls get, applied by the runtime's
// mass-property setter to a RectControl and read back (tavrin_streams).
TEST(TavrinPropertyStreams, ReachTheNamedPropertiesThroughTheRuntimesSetter) {
  ProgramRun run = RunTestImage("tavrin_streams");
  EXPECT_EQ(run.status, 42) << run.errors;
}

// The menu bar built by the runtime's menu entry points: its items found by
// name with their classes, texts and command keys (tavrin_menus).
TEST(TavrinMenuBar, HasFileAndEditWithEveryItemFoundByName) {
  ProgramRun run = RunTestImage("tavrin_menus");
  EXPECT_EQ(run.status, 42) << run.errors;
}

} // namespace
