// The MenuBar property of window objects: installing a bar in the native
// window, as a clone when the bar already shows in another window.
#include "foundation/AssertionAlert.h"
#include "runtime/application/ApplicationObject.h"
#include "windows/GTKHelper.h"
#include "windows/MenuServices.h"
#include "windows/RuntimeWindow.h"
#include "windows/menus/MenuItemClasses.h"
#include "windows/menus/XMenuGTK.h"

namespace {
constexpr char kRuntimeWindowSource[] = "../Common/ClassLib/RuntimeWindow";
// The room a menu bar takes above the content.
constexpr int kMenuBarAllowance = 26;
} // namespace

extern "C" void WindowMenuBarSetter(RuntimeObject *object, int32_t, RuntimeObject *newBar) {
  if (!object)
    ShowAlert(AlertSite{kRuntimeWindowSource, 1210, "window"});
  if (!newBar)
    ShowAlert(AlertSite{kRuntimeWindowSource, 1211, "newMenuBar"});
  if (!gApplicationObject)
    ShowAlert(AlertSite{kRuntimeWindowSource, 1212, "gApplicationObject"},
              "You don't have an application object and we're expecting one");
  if (!object)
    return;
  auto *view = reinterpret_cast<RuntimeView *>(object);
  RuntimeLockUnlockObjects(newBar, view->menuBar);
  view->menuBar = newBar;
  RuntimeViewWindow *w = view->nativeWindow;
  if (!w || !w->GetBox())
    return; // the native window installs it when it is made
  bool hadBar = w->HasMenuBar() && GTKHelper::GetMenuBar(w);
  if (hadBar)
    DetachMenuBar(w);
  XMenuGTK *node = GTKNodeOf(AsMenuItem(newBar));
  if (!node || !node->BarWidget()) {
    w->SetHasMenuBar(false);
    return;
  }
  if (gtk_widget_get_parent(node->BarWidget())) {
    // Shown in another window already: this window gets a copy whose changes
    // stay in step with the bar's.
    RunMenuItem *clone = NewMenuItem();
    if (!clone)
      return;
    delete clone->mImp;
    node = node->Clone();
    clone->mImp = node;
    view->menuBar = &clone->header; // takes over the creation reference
  }
  node->SetOwnerWindow(w);
  GtkWidget *bar = node->BarWidget();
  gtk_box_pack_start(GTK_BOX(w->GetBox()), bar, FALSE, FALSE, 0);
  gtk_widget_show(bar);
  GtkWidget *gtkWindow = w->GetGtkWindow();
  if (gtkWindow && GTK_WIDGET_VISIBLE(gtkWindow) && !hadBar)
    gtk_window_resize(GTK_WINDOW(gtkWindow), w->Width(), w->Height() + kMenuBarAllowance);
  w->SetHasMenuBar(true);
}
