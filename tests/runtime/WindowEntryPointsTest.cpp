// The window entry points compiled code calls, over pretend native windows.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>

#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/WindowInterface.h"

namespace {

std::string sLog;
int sStepsUntilHidden = 0; // IsVisible answers false once this reaches 0

void Show(RuntimeViewWindow *) { sLog += "show;"; }
void Select(RuntimeViewWindow *) { sLog += "select;"; }
void Hide(RuntimeViewWindow *) { sLog += "hide;"; }
void Close(RuntimeViewWindow *) { sLog += "close;"; }
bool IsVisible(RuntimeViewWindow *) { return sStepsUntilHidden-- > 0; }

class WindowEntryPoints : public testing::Test {
protected:
  void SetUp() override {
    WindowHooks hooks{};
    hooks.ShowWindow = Show;
    hooks.SelectWindow = Select;
    hooks.HideWindow = Hide;
    hooks.CloseWindow = Close;
    hooks.IsVisible = IsVisible;
    InstallWindowHooks(&hooks);
    sLog.clear();
  }
  void TearDown() override { InstallWindowHooks(nullptr); }
  RuntimeView window{};
};

TEST_F(WindowEntryPoints, ShowHideAndCloseReachTheNativeWindow) {
  RuntimeShowWindow(&window); // no native window yet: only the flag
  EXPECT_EQ(window.visible, 1);
  EXPECT_EQ(sLog, "");
  window.nativeWindow = reinterpret_cast<RuntimeViewWindow *>(&window);
  RuntimeHideWindow(&window);
  EXPECT_EQ(window.visible, 0);
  RuntimeShowWindow(&window);
  RuntimeCloseWindow(&window);
  EXPECT_EQ(sLog, "hide;show;select;close;");
  RuntimeShowWindow(nullptr);
  RuntimeHideWindow(nullptr);
  RuntimeCloseWindow(nullptr);
  RuntimeShowModal(nullptr);
}

TEST_F(WindowEntryPoints, ShowModalStepsUntilTheWindowIsHidden) {
  if (!gtk_init_check(nullptr, nullptr))
    GTEST_SKIP() << "no display";
  window.nativeWindow = reinterpret_cast<RuntimeViewWindow *>(&window);
  sStepsUntilHidden = 3;
  // An idle call keeps each step of the nested loop from waiting.
  guint idle = g_idle_add([](gpointer) -> gboolean { return TRUE; }, nullptr);
  RuntimeShowModal(&window);
  g_source_remove(idle);
  EXPECT_EQ(sStepsUntilHidden, -1); // asked before each of three steps and once more
  EXPECT_EQ(sLog, "show;select;");
}

} // namespace
