// The small entry points compiled code calls directly.
#include <gtest/gtest.h>

#include <time.h>

#include "ObjectModelFixtures.h"
#include "foundation/TextEncodings.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/application/KaleidoscopeColor.h"
#include "runtime/loop/WindowInterface.h"
#include "support/AlertRecorder.h"

namespace {

TEST(CommonRuntimeFunctions, NumbersInBasesSixteenEightAndTwo) {
  struct Case {
    stringStorage *(*function)(int32_t);
    int32_t value;
    const char *text;
  } cases[] = {
      {RuntimeHex, 255, "FF"},
      {RuntimeOct, 8, "10"},
      {RuntimeBin, 5, "101"},
      {RuntimeBin, 0, "0"},
      {RuntimeHex, 0, "0"},
      {RuntimeHex, -1, "FFFFFFFF"},
      {RuntimeOct, -1, "37777777777"},
      {RuntimeBin, -1, "11111111111111111111111111111111"},
      {RuntimeHex, 0x1A2b, "1A2B"},
  };
  for (const Case &c : cases) {
    string text = string::Adopt(c.function(c.value));
    EXPECT_STREQ(text.CString(), c.text) << c.value;
    EXPECT_EQ(text.Storage()->mEncoding, kEncodingASCII) << c.value;
  }
}

TEST(CommonRuntimeFunctions, MicrosecondsFollowTheWallClockWhileTheProcessWaits) {
  const double before = RuntimeMicroseconds();
  timespec second{1, 0};
  nanosleep(&second, nullptr); // processor time stands still meanwhile
  const double elapsed = RuntimeMicroseconds() - before;
  EXPECT_GE(elapsed, 1000000.0);
  EXPECT_LT(elapsed, 60000000.0);
}

TEST(CommonRuntimeFunctions, ThemeColoursComeFromTheFixedTable) {
  struct Case {
    uint32_t (*function)();
    uint32_t colour;
  } cases[] = {
      {getFrameColor, 0x000000},      {getFillColor, 0xDDDDDD},      {getTextColor, 0x000000},
      {getLightTingeColor, 0xFFFFFF}, {getDarkTingeColor, 0xAAAAAA}, {getLightBevelColor, 0xFFFFFF},
      {getDarkBevelColor, 0xAAAAAA},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.function(), c.colour);
  QV::RGBColor fill{};
  KaleidoscopeColor(kFillColor, &fill, nullptr);
  EXPECT_EQ(fill.red, 0xDDDD);
  AlertRecorder recorder;
  unsigned long packed = 7;
  KaleidoscopeColor(7, nullptr, &packed);
  EXPECT_EQ(packed, 7u);
  EXPECT_EQ(recorder.count(), 1u);
}

TEST(CommonRuntimeFunctions, ControlLookupsUseTheWindowsControlMap) {
  RuntimeView window{};
  ObjectHolder button(RuntimeNewObject(MakeClass(nullptr, "Control", 24)));
  StringMap<RuntimeObject *> controls;
  controls.AddEntry(string("Button$3"), button.get());
  controls.AddEntry(string("Label"), button.get());
  EXPECT_EQ(RuntimeControlFetch(&window, string("Label").Storage()), nullptr); // no map yet
  window.controlMap = &controls;

  EXPECT_EQ(RuntimeControlFetch(&window, string("label").Storage()), button.get());
  EXPECT_EQ(button->refCount, 1);
  RuntimeObject *item = RuntimeControlArrayItemReference(&window, string("Button").Storage(), 3);
  EXPECT_EQ(item, button.get());
  EXPECT_EQ(button->refCount, 2);
  RuntimeUnlockObject(item);
  EXPECT_EQ(RuntimeControlArrayItemReference(&window, string("Button").Storage(), 4), nullptr);
  EXPECT_EQ(RuntimeControlReference(nullptr, string("Label").Storage()), nullptr);
}

TEST(CommonRuntimeFunctions, StringBytesShortsAndTheApplicationObject) {
  string text("abc");
  EXPECT_EQ(StringToPString(text.Storage())[0], 3);
  EXPECT_STREQ(StringToCString(text.Storage()), "abc");
  EXPECT_EQ(RuntimeShortToInteger(0x1FFFF), -1);
  EXPECT_EQ(RuntimeShortToInteger(0x7FFF), 0x7FFF);

  EXPECT_EQ(getAppObject(), nullptr);
  RuntimeObject *app = RuntimeNewObject(MakeClass(nullptr, "App", 52));
  gApplicationObject = app;
  EXPECT_EQ(getAppObject(), app);
  EXPECT_EQ(app->refCount, 2);
  gApplicationObject = nullptr;
  RuntimeUnlockObject(app);
  RuntimeUnlockObject(app);
}

TEST(CommonRuntimeFunctions, WindowsOfTheLanguageCountedAndIndexedNewestFirst) {
  static RuntimeView windows[2] = {};
  WindowHooks hooks{};
  hooks.IterateLanguageWindows = [](LanguageWindowVisitor visit, void *ref) {
    for (RuntimeView &window : windows)
      if (!visit(&window, ref))
        return;
  };
  EXPECT_EQ(getWindowCount(), 0); // no windows area: an empty list
  InstallWindowHooks(&hooks);
  EXPECT_EQ(getWindowCount(), 2);
  EXPECT_EQ(getWindow(1), &windows[1].header);
  EXPECT_EQ(getWindow(2), nullptr); // Window(WindowCount)
  EXPECT_EQ(getWindow(-1), nullptr);
  InstallWindowHooks(nullptr);
}

} // namespace
