#include "support/WindowsTestSupport.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "runtime/loop/WindowInterface.h"
#include "windows/WindowsAreaHooks.h"
#include "support/PrivateXvfb.h"
#include "runtime/objects/ObjectDefinition.h"
#include "windows/GTKHelper.h"
#include "windows/RunLoopRegisters.h"

// From gdkx.h, which cannot be included beside a class named Window.
extern "C" unsigned long gdk_x11_drawable_get_xid(GdkDrawable *drawable);

namespace {

// Starts Xvfb on a free display of its own choosing and points GTK+ at it.
class PrivateDisplay : public testing::Environment {
public:
  void SetUp() override {
    mServer = StartPrivateXvfb();
    if (mServer.display.empty())
      return;
    setenv("DISPLAY", mServer.display.c_str(), 1);
    sReady = gtk_init_check(nullptr, nullptr);
    if (sReady) {
      GTKHelper::Init();
      InstallWindowsAreaHooks();
    }
  }

  void TearDown() override { StopPrivateXvfb(mServer); }

  static bool sReady;

private:
  PrivateXvfb mServer;
};

bool PrivateDisplay::sReady = false;

[[maybe_unused]] testing::Environment *const sDisplay =
    testing::AddGlobalTestEnvironment(new PrivateDisplay);

} // namespace

bool HaveDisplay() { return PrivateDisplay::sReady; }

void PaneLoopStep() {
  Window::AboutToYield();
  gdk_flush();
  // Wait for what the X server has to say, or a few milliseconds, then
  // take all of it.
  if (!gtk_events_pending()) {
    static bool woken;
    woken = false;
    guint wake = g_timeout_add(
        5, [](gpointer) { return woken = true, FALSE; }, nullptr);
    gtk_main_iteration_do(TRUE);
    if (!woken)
      g_source_remove(wake);
  }
  while (gtk_events_pending())
    gtk_main_iteration_do(FALSE);
  if (SubPane *capture = GetCaptureMouse()) {
    if (Window *w = capture->GetWindow()) {
      QV::Point pt = GTKHelper::GetCursorPos(w);
      capture->Protect();
      capture->HandleMouseDrag(pt.h, pt.v);
      capture->UnprotectCausesDeath();
    }
  }
}

namespace {

bool StepWhile(const std::function<bool()> &done, int maxSteps, int seconds) {
  gint64 giveUp = g_get_monotonic_time() + seconds * G_USEC_PER_SEC;
  for (int i = 0; i < maxSteps || g_get_monotonic_time() < giveUp; ++i) {
    if (done())
      return true;
    PaneLoopStep();
  }
  return done();
}

} // namespace

bool StepUntil(const std::function<bool()> &done, int maxSteps) {
  // A generous bound on a loaded machine: the steps run out or half a
  // minute passes, whichever comes later.
  return StepWhile(done, maxSteps, 30);
}

bool StepWithin(const std::function<bool()> &done, int seconds) {
  return StepWhile(done, 0, seconds);
}

// On a loaded machine xdotool now and then fails to reach the display, and
// its input never lands: it runs again, a few times.
bool XDoTool(const std::string &args) {
  gdk_flush();
  std::string command = "xdotool " + args + " >/dev/null 2>&1";
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (std::system(command.c_str()) == 0)
      return true;
    usleep(100000);
  }
  return false;
}

bool XDoToolUntil(const std::string &args, const std::function<bool()> &done) {
  // Each attempt waits long enough for an input that is only slow to land
  // before it is sent again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (XDoTool(args) && StepWithin(done, 15))
      return true;
  }
  return done();
}

void HandleInClass(ObjectDefinition &defn, const char *event, void *code) {
  auto *item = new ObjectHookInstance;
  item->name = string(event);
  item->code = code;
  item->next = defn.hookInstances;
  defn.hookInstances = item;
}

unsigned long XidOf(Window *w) { return gdk_x11_drawable_get_xid(w->GetGtkWindow()->window); }

std::vector<std::string> &Log() {
  static std::vector<std::string> log;
  return log;
}

QV::Rect MakeRect(int left, int top, int right, int bottom) {
  QV::Rect r;
  QV::SetRect(&r, left, top, right, bottom);
  return r;
}

void AddMenuBar(Window *w, int height) {
  GtkWidget *bar = gtk_menu_bar_new();
  gtk_widget_set_size_request(bar, -1, height);
  gtk_box_pack_start(GTK_BOX(w->GetBox()), bar, FALSE, FALSE, 0);
  gtk_widget_show(bar);
  w->SetHasMenuBar(true);
}

namespace {
void Say(const std::string &who, const std::string &what) { Log().push_back(who + " " + what); }
std::string XY(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
} // namespace

RecordingPane::RecordingPane(SubPane *parent, const char *n, const QV::Rect &bounds, int tab,
                             bool takes)
    : ContainerPane(parent, tab, bounds), name(n), takesClicks(takes) {}

RecordingPane::~RecordingPane() { Say(name, "deleted"); }

bool RecordingPane::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  Say(name, "click " + XY(x, y) + " " + std::to_string(modifiers));
  if (captureOnClick)
    CaptureMouse(this);
  return takesClicks;
}

void RecordingPane::HandleMouseUp(int32_t x, int32_t y) { Say(name, "up " + XY(x, y)); }
void RecordingPane::HandleMouseDrag(int32_t x, int32_t y) { Say(name, "drag " + XY(x, y)); }

bool RecordingPane::HandleMouseWheel(int32_t, int32_t, int32_t delta) {
  Say(name, "wheel " + std::to_string(delta));
  return true;
}

void RecordingPane::OnSize() { Say(name, "OnSize"); }
void RecordingPane::ResetRadio() { Say(name, "ResetRadio"); }
void RecordingPane::HandleMouseEnter() { Say(name, "enter"); }
void RecordingPane::HandleMouseExit() { Say(name, "exit"); }
void RecordingPane::EstablishDrawingSurface() { Say(name, "establish"); }
void RecordingPane::EstablishFont() { Say(name, "font"); }
void RecordingPane::ResetDrawingSurface() { Say(name, "reset"); }

RecordingWindow::RecordingWindow(const QV::Rect &bounds, bool resizable)
    : Window(string("test"), bounds, kWindowTypeDocument, true, 0, resizable) {}

void RecordingWindow::Moved() { ++moved; }
void RecordingWindow::Resized() { ++resized; }
void RecordingWindow::RestrictSize(QV::Rect *l) { *l = limits; }
