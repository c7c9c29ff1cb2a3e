/* AboutWindow: the application's name, credit, platform, web page and
 * contact; clicking the web address opens it in the browser. */
#include "ClassBuilding.h"
#include "WindowSupport.h"

RuntimeObject *AboutWindowInstance(void) {
  return ImplicitWindow(KIT_STRING("AboutWindow"), AboutWindowClass());
}

static stringStorage *WebPage(void) { return KIT_STRING("http://www.example.com/tavrin/"); }

void AboutWindow_Layout(RuntimeObject *self) {
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  StreamBegin(&stream, self);
  StreamWindowFrame(&stream, KIT_STRING("About"), 299, 190, 64, 64);
  StreamNumber(&stream, "ZoomIcon", 1);
  StreamNumber(&stream, "Visible", 1);
  StreamApply(&stream);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* One centred label in the system font. */
static RuntimeObject *AddLabel(RuntimeObject *self, stringStorage *name, int32_t top,
                               stringStorage *text, int32_t size, int32_t color) {
  RuntimeObject *label = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(label, NewControl(self, KIT_STRING("StaticText"), name));
  StreamBegin(&stream, label);
  StreamControlFrame(&stream, 20, top, 259, 20);
  StreamText(&stream, "Text", text);
  StreamSystemFont(&stream, size);
  StreamNumber(&stream, "TextAlign", 1);
  if (color >= 0)
    StreamNumber(&stream, "TextColor", color);
  StreamApply(&stream);
  RuntimeLockObject(label); /* the caller's reference */
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(label);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return label;
}

void AboutWindow_StaticText3_Open(RuntimeObject *control);
int32_t AboutWindow_StaticText4_MouseDown(RuntimeObject *control, int32_t x, int32_t y);

void AboutWindow_CreateControls(RuntimeObject *self) {
  RuntimeObject *label = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(label, AddLabel(self, KIT_STRING("StaticText1"), 14, KIT_STRING("Tavrin 1.0"), 18, -1));
  KIT_TAKE_OBJECT(label, AddLabel(self, KIT_STRING("StaticText2"), 46,
                                  KIT_STRING("Written by the Tavrin developers"), 12, -1));
  KIT_TAKE_OBJECT(label, AddLabel(self, KIT_STRING("StaticText3"), 78, KIT_STRING("running on ..."), 12, -1));
  KIT_CHECK_NIL(label);
  RuntimeInstallInstanceEventHandler(label, KIT_STRING("Open"), (void *)AboutWindow_StaticText3_Open);
  KIT_TAKE_OBJECT(label, AddLabel(self, KIT_STRING("StaticText4"), 110, WebPage(), 10, 0x050B6B));
  KIT_CHECK_NIL(label);
  RuntimeInstallInstanceEventHandler(label, KIT_STRING("MouseDown"),
                                     (void *)AboutWindow_StaticText4_MouseDown);
  KIT_TAKE_OBJECT(label, AddLabel(self, KIT_STRING("StaticText5"), 142,
                                  KIT_STRING("Contact: tavrin@example.com"), 10, -1));
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(label);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void AboutWindow_StaticText3_Open(RuntimeObject *control) {
  WINDOW_HANDLER_ENTER(control);
  KIT_CHECK_NIL(me);
  staticCaptionSetter(me, 0, KIT_STRING("running on GNU/Linux/GTK+"));
  KIT_CATCH_ALL();
  WINDOW_HANDLER_RELEASE(control);
  KIT_END();
}

int32_t AboutWindow_StaticText4_MouseDown(RuntimeObject *control, int32_t x, int32_t y) {
  WINDOW_HANDLER_ENTER(control);
  GlobalShowURL(WebPage());
  KIT_CATCH_ALL();
  WINDOW_HANDLER_RELEASE(control);
  KIT_END();
  return 0;
}

RuntimeClass *AboutWindowClass(void) {
  ClassCounts counts = {4, 0, 24, 28, 34}, own = {4, 0, 0, 0, 0};
  RuntimeClass *cls;
  int32_t m;
  KIT_ENTER();
  if (gImage.aboutWindow)
    KIT_LEAVE();
  cls = NewWindowClass(counts, own, KIT_STRING("AboutWindow"), 136, 0,
                       (void *)AboutWindow_Layout, (void *)AboutWindow_CreateControls);
  KIT_CHECK_NIL(cls);
  gImage.aboutWindow = cls;
  m = FirstOwnMethod(cls);
  SetMethod(cls, m, (void *)AboutWindow_Layout, KIT_STRING("#Layout%%o<AboutWindow>"));
  SetMethod(cls, m + 1, (void *)AboutWindow_CreateControls,
            KIT_STRING("#CreateControls%%o<AboutWindow>"));
  SetMethod(cls, m + 2, (void *)AboutWindow_StaticText3_Open,
            KIT_STRING("StaticText3_Open%%o<AboutWindow>"));
  SetMethod(cls, m + 3, (void *)AboutWindow_StaticText4_MouseDown,
            KIT_STRING("StaticText4_MouseDown%b%o<AboutWindow>ii"));
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.aboutWindow;
}
