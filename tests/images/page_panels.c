/* A tab panel and push buttons in a window that compiled code builds with
 * the kit (a Window subclass "Panels"):
 *   Tabs: a tab panel at (10, 10), 300 by 170, with the tabs "A",
 *     "Second page" and "Third page". Change writes "Change Tabs <Value>".
 *   OnTwo: a push button at (40, 80), 100 by 28, on the tab panel's second
 *     page (TabPanelIndex 2). Action writes "Action OnTwo".
 *   Assign: a push button at (10, 190), 100 by 28, outside the panel.
 *     Action gives Tabs the Value 2, then writes "Assigned".
 * The window's Open writes "Open window"; the image returns (status 0) when
 * the run loop ends. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "window_images.h"

int32_t tabPanelValueGetter(RuntimeObject *object, int32_t);
void tabPanelValueSetter(RuntimeObject *object, int32_t, int32_t value);

ImageGlobals gImage;

void OnTabsChange(RuntimeObject *tabs) {
  char line[40] = "Change Tabs ";
  int32_t n = 12;
  AppendNumber(line, &n, tabPanelValueGetter(tabs, 0));
  line[n] = 0;
  SayLine(line);
}

void OnTwoAction(RuntimeObject *button) {
  (void)button;
  SayLine("Action OnTwo");
}

void OnAssignAction(RuntimeObject *button) {
  RuntimeObject *tabs = 0;
  WINDOW_HANDLER_ENTER(button);
  KIT_TAKE_OBJECT(tabs, RuntimeControlReference(self, KIT_STRING("Tabs")));
  KIT_CHECK_NIL(tabs);
  tabPanelValueSetter(tabs, 0, 2);
  SayLine("Assigned");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(tabs);
  WINDOW_HANDLER_RELEASE(button);
  KIT_END();
}

/* A control of the class at that place, on the page (0 for none), its one
 * string property set when given, the handler of one of its events
 * installed. */
static void AddControl(RuntimeObject *self, stringStorage *cls, stringStorage *name, int32_t left,
                       int32_t top, int32_t width, int32_t height, int32_t page,
                       const char *textProperty, stringStorage *text, stringStorage *event,
                       void *handler) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(control, NewControl(self, cls, name));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, left, top, width, height);
  if (page)
    StreamNumber(&stream, "TabPanelIndex", page);
  StreamText(&stream, textProperty, text);
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, event, handler);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void PanelsCreateControls(RuntimeObject *self) {
  AddControl(self, KIT_STRING("TabPanel"), KIT_STRING("Tabs"), 10, 10, 300, 170, 0,
             "TabDefinition", KIT_STRING("A\nSecond page\nThird page"), KIT_STRING("Change"),
             (void *)OnTabsChange);
  AddControl(self, KIT_STRING("PushButton"), KIT_STRING("OnTwo"), 40, 80, 100, 28, 2, "Caption",
             KIT_STRING("OnTwo"), KIT_STRING("Action"), (void *)OnTwoAction);
  AddControl(self, KIT_STRING("PushButton"), KIT_STRING("Assign"), 10, 190, 100, 28, 0,
             "Caption", KIT_STRING("Assign"), KIT_STRING("Action"), (void *)OnAssignAction);
}

void PanelsOpen(RuntimeObject *self) {
  (void)self;
  SayLine("Open window");
}

void PanelsLayout(RuntimeObject *self) { LayOutWindow(self, KIT_STRING("Panels"), 320, 230); }

void ImageEntry(void) {
  RuntimeInit();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("Panels"), (void *)PanelsLayout,
                                       "CreateControls", (void *)PanelsCreateControls, "Open",
                                       (void *)PanelsOpen));
  gImage.exitResult = RuntimeExit();
}
