// Opening and closing a window with a ten-item menu bar: our menu tree and
// language window against the same widgets made with GTK+ directly. Needs a
// display; without one both report an error.
#include <benchmark/benchmark.h>

#include <gtk/gtk.h>

#include "runtime/application/ApplicationClass.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "windows/GTKHelper.h"
#include "windows/MenuServices.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"
#include "windows/WindowsAreaHooks.h"
#include "windows/menus/MenuItemClasses.h"

namespace {

constexpr int kItems = 10;

bool Display() {
  static bool ready = [] {
    if (!gtk_init_check(nullptr, nullptr))
      return false;
    GTKHelper::Init();
    InstallWindowsAreaHooks();
    gApplicationObject = CreateInstance(ApplicationClass());
    return true;
  }();
  return ready;
}

void Drain() {
  while (gtk_events_pending())
    gtk_main_iteration_do(FALSE);
}

// The bar the next window's Layout installs.
RunMenuItem *sNextBar = nullptr;

// A window designed as compiled code designs one: Layout gives it its
// bounds, makes it visible and sets its menu bar.
void BenchLayout(RuntimeObject *object) {
  auto *view = reinterpret_cast<RuntimeView *>(object);
  view->visible = 1;
  QV::SetRect(&view->bounds, 50, 50, 350, 250);
  WindowMenuBarSetter(object, 0, &sNextBar->header);
}

ObjectDefinition *BenchWindowClass() {
  static ObjectDefinition definition;
  if (definition.className.IsEmpty()) {
    definition.className = string("BenchWindow");
    definition.super = WindowBaseClass();
    definition.objectSize = kRuntimeViewInstanceSize;
    definition.staticTables = 1;
    auto *layout = new ObjectHookInstance;
    layout->name = string("Layout");
    layout->code = reinterpret_cast<void *>(BenchLayout);
    definition.hookInstances = layout;
  }
  return &definition;
}

RunMenuItem *NewItem(const char *text) {
  RunMenuItem *item = NewMenuItem();
  item->mImp->SetName(string(text));
  item->mImp->SetText(string(text));
  return item;
}

void BM_LanguageWindowWithMenuBar(benchmark::State &state) {
  if (!Display()) {
    state.SkipWithError("no display");
    return;
  }
  for (auto _ : state) {
    RunMenuItem *bar = NewItem("");
    RunMenuItem *file = NewItem("&File");
    bar->mImp->AddChild(file);
    for (int i = 0; i < kItems; ++i) {
      RunMenuItem *item = NewItem("Item");
      item->mImp->SetIndex(i);
      file->mImp->AddChild(item);
      RuntimeUnlockObject(&item->header);
    }
    RuntimeUnlockObject(&file->header);
    sNextBar = bar;
    RuntimeObject *object = CreateInstance(BenchWindowClass());
    auto *view = reinterpret_cast<RuntimeView *>(object);
    WindowDefaultConstructor(view);
    Window::AboutToYield(); // the run loop's step shows it
    Drain();
    RuntimeCloseWindow(view);
    Drain();
    RuntimeUnlockObject(&bar->header);
    // A window object keeps its bar for its life; the bench lets go of it.
    RuntimeUnlockObject(view->menuBar);
    view->menuBar = nullptr;
    RuntimeUnlockObject(object);
  }
}
BENCHMARK(BM_LanguageWindowWithMenuBar);

void BM_GtkWindowWithMenuBar(benchmark::State &state) {
  if (!Display()) {
    state.SkipWithError("no display");
    return;
  }
  for (auto _ : state) {
    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget *box = gtk_vbox_new(FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    GtkWidget *bar = gtk_menu_bar_new();
    GtkWidget *file = gtk_menu_item_new_with_mnemonic("_File");
    GtkWidget *menu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(file), menu);
    for (int i = 0; i < kItems; ++i)
      gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_menu_item_new_with_label("Item"));
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), file);
    gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(box), gtk_fixed_new(), TRUE, TRUE, 0);
    gtk_window_move(GTK_WINDOW(window), 50, 50);
    gtk_window_resize(GTK_WINDOW(window), 300, 200);
    gtk_widget_show_all(window);
    Drain();
    gtk_widget_destroy(window);
    Drain();
  }
}
BENCHMARK(BM_GtkWindowWithMenuBar);

} // namespace

BENCHMARK_MAIN();
