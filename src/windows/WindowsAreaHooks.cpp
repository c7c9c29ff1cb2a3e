// What the run loop, start-up and the memory allocator call in the windows
// area. The builders of its classes, the installer of its loop hooks and the
// pane clean-up are filled while the program's static objects are made,
// before main; start-up then installs the loop hooks.
#include "windows/WindowsAreaHooks.h"

#include "foundation/MemoryExhaustion.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"
#include "windows/GTKHelper.h"
#include "windows/MouseCursor.h"
#include "windows/Pane.h"
#include "windows/RuntimeWindow.h"
#include "windows/Window.h"
#include "windows/menus/MenuItemClasses.h"

namespace {

GdkWindow *PaneGdkWindow(SubPane *pane) {
  Window *w = pane->GetWindow();
  return w && w->GetGtkWindow() ? w->GetGtkWindow()->window : nullptr;
}

// The loop reads the pointer in the GtkWindow's coordinates; panes take
// content coordinates, below the menu bar.
void PaneMouseDrag(SubPane *pane, int32_t h, int32_t v) {
  Window *w = pane->GetWindow();
  if (w && w->HasMenuBar())
    if (GtkWidget *bar = GTKHelper::GetMenuBar(w))
      v -= bar->allocation.height;
  pane->HandleMouseDrag(h, v);
}

const PaneHooks kPaneHooks{
    [](SubPane *p) { p->LostFocus(); },
    [](SubPane *p) { p->GainedFocus(); },
    [](SubPane *p) { p->FocusIdle(); },
    PaneMouseDrag,
    PaneGdkWindow,
    [](SubPane *p) { p->Protect(); },
    [](SubPane *p) { return p->UnprotectCausesDeath(); },
};

const WindowHooks kWindowHooks{
    Window::AboutToYield,
    [] { return gRuntimeViewWindowList == nullptr; },
    FireCloseEvents,
    IterateLanguageWindows,
    [](RuntimeViewWindow *w) { w->ShowWindow(); },
    [](RuntimeViewWindow *w) { w->SelectWindow(); },
    [](RuntimeViewWindow *w) { w->HideWindow(); },
    [](RuntimeViewWindow *w) { return w->IsVisible(); },
    [](RuntimeViewWindow *w) { w->UnifiedClose(); },
    [](RuntimeView *view, bool appQuitting) {
      return FireCancelCloseEvent(&view->header, appQuitting) != 0;
    },
    [](RuntimeViewWindow *w) { w->Close(); },
};

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.QuitMenuItemClass = QuitMenuItemClass;
  classes.PrefsMenuItemClass = PrefsMenuItemClass;
  classes.AppleMenuItemClass = AppleMenuItemClass;
  classes.InitMenuClasses = InitMenuClasses;
  classes.WindowBaseClass = WindowBaseClass;
  classes.MouseCursorClass = MouseCursorClass;
  UpperAreaHooksToFill().installWindowsAreaHooks = InstallWindowsAreaHooks;
  // Before the process quits for lack of memory.
  MemoryExhaustionHooksToFill().leaveNoDrawingSelected = [] { Pane::AboutToYield(); };
  return true;
}();

} // namespace

void InstallWindowsAreaHooks() {
  InstallPaneHooks(&kPaneHooks);
  InstallWindowHooks(&kWindowHooks);
}
