/* Canvases and shape controls in a window that compiled code builds with the
 * kit (a Window subclass "Shapes", 320 by 120, white):
 *   Plain: a canvas at (20, 20), 60 by 50, taking the focus but not tabs.
 *     Paint fills (5, 5) to (15, 15) of it in red.
 *   Tabs: a canvas at (100, 20), 60 by 50, taking the focus and tabs.
 *     Paint fills (10, 20) to (30, 25) of it in blue.
 *   Slant: a disabled Line from (200, 20) to (230, 60), pen 1, black.
 *   Box: a disabled Rectangle at (250, 20), 40 by 30, grey.
 * Each canvas writes "GotFocus <name>" and, for every key, "KeyDown <name>"
 * and the key's bytes in decimal; each shape writes "MouseDown <name> x,y".
 * The window's Open gives Plain the focus and writes "Open window"; the image
 * returns (status 0) when the run loop ends. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "window_images.h"

void graphicsForeColorSetter(RuntimeObject *g, int32_t index, int32_t color);
void RuntimeGraphicsFillRect(RuntimeObject *g, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeSetFocus(RuntimeObject *control);

ImageGlobals gImage;

/* "<event> <name>" then, when given, " x,y". */
static void SayEvent(const char *event, stringStorage *name, int32_t hasPoint, int32_t x,
                     int32_t y) {
  char line[80];
  int32_t n = 0, i;
  for (i = 0; event[i]; ++i)
    line[n++] = event[i];
  line[n++] = ' ';
  for (i = 0; name && i < name->length && n < 60; ++i)
    line[n++] = (char)name->buffer[1 + i];
  if (hasPoint) {
    line[n++] = ' ';
    AppendNumber(line, &n, x);
    line[n++] = ',';
    AppendNumber(line, &n, y);
  }
  line[n] = 0;
  SayLine(line);
}

/* Where a control keeps its name (its Name property's field). */
enum { kControlNameOffset = 36 };

static void SayControlEvent(RuntimeObject *control, const char *event, int32_t hasPoint,
                            int32_t x, int32_t y) {
  stringStorage *name = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(control);
  KIT_TAKE_STRING(name, stringGetter(control, kControlNameOffset));
  SayEvent(event, name, hasPoint, x, y);
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(name);
  KIT_RELEASE_HELD_OBJECT(control);
  KIT_END();
}

void OnPlainPaint(RuntimeObject *canvas, RuntimeObject *g) {
  (void)canvas;
  graphicsForeColorSetter(g, 0, 0xFF0000);
  RuntimeGraphicsFillRect(g, 5, 5, 10, 10);
}

void OnTabsPaint(RuntimeObject *canvas, RuntimeObject *g) {
  (void)canvas;
  graphicsForeColorSetter(g, 0, 0x0000FF);
  RuntimeGraphicsFillRect(g, 10, 20, 20, 5);
}

void OnCanvasGotFocus(RuntimeObject *canvas) { SayControlEvent(canvas, "GotFocus", 0, 0, 0); }

/* "KeyDown <name>" and each byte of the key in decimal. */
int32_t OnCanvasKeyDown(RuntimeObject *canvas, stringStorage *key) {
  char line[80] = "KeyDown ";
  stringStorage *name = 0;
  int32_t n = 8, i;
  KIT_ENTER();
  KIT_HOLD_OBJECT(canvas);
  KIT_HOLD_STRING(key);
  KIT_TAKE_STRING(name, stringGetter(canvas, kControlNameOffset));
  for (i = 0; name && i < name->length && n < 30; ++i)
    line[n++] = (char)name->buffer[1 + i];
  for (i = 0; key && i < key->length && n < 70; ++i) {
    line[n++] = ' ';
    AppendNumber(line, &n, key->buffer[1 + i]);
  }
  line[n] = 0;
  SayLine(line);
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(name);
  KIT_RELEASE_HELD_STRING(key);
  KIT_RELEASE_HELD_OBJECT(canvas);
  KIT_END();
  return 1;
}

int32_t OnShapeMouseDown(RuntimeObject *shape, int32_t x, int32_t y) {
  SayControlEvent(shape, "MouseDown", 1, x, y);
  return 1;
}

static void AddCanvas(RuntimeObject *self, stringStorage *name, int32_t left, int32_t acceptTabs,
                      void *paint) {
  RuntimeObject *canvas = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(canvas, NewControl(self, KIT_STRING("Canvas"), name));
  KIT_CHECK_NIL(canvas);
  StreamBegin(&stream, canvas);
  StreamControlFrame(&stream, left, 20, 60, 50);
  StreamNumber(&stream, "AcceptFocus", 1);
  StreamNumber(&stream, "AcceptTabs", acceptTabs);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(canvas, KIT_STRING("Paint"), paint);
  RuntimeInstallInstanceEventHandler(canvas, KIT_STRING("GotFocus"), (void *)OnCanvasGotFocus);
  RuntimeInstallInstanceEventHandler(canvas, KIT_STRING("KeyDown"), (void *)OnCanvasKeyDown);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(canvas);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* A Line has no frame of its own: its ends and pen make its box. */
static void AddSlant(RuntimeObject *self) {
  RuntimeObject *line = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(line, NewControl(self, KIT_STRING("Line"), KIT_STRING("Slant")));
  KIT_CHECK_NIL(line);
  StreamBegin(&stream, line);
  StreamNumber(&stream, "Index", kNoControlArray);
  StreamNumber(&stream, "BorderWidth", 1);
  StreamNumber(&stream, "LineColor", 0x000000);
  StreamNumber(&stream, "X1", 200);
  StreamNumber(&stream, "Y1", 20);
  StreamNumber(&stream, "X2", 230);
  StreamNumber(&stream, "Y2", 60);
  StreamNumber(&stream, "Visible", 1);
  StreamNumber(&stream, "Enabled", 0);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(line, KIT_STRING("MouseDown"), (void *)OnShapeMouseDown);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(line);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

static void AddBox(RuntimeObject *self) {
  RuntimeObject *box = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(box, NewControl(self, KIT_STRING("Rectangle"), KIT_STRING("Box")));
  KIT_CHECK_NIL(box);
  StreamBegin(&stream, box);
  StreamControlFrame(&stream, 250, 20, 40, 30);
  StreamNumber(&stream, "FillColor", 0x808080);
  StreamNumber(&stream, "Enabled", 0);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(box, KIT_STRING("MouseDown"), (void *)OnShapeMouseDown);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(box);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ShapesCreateControls(RuntimeObject *self) {
  AddCanvas(self, KIT_STRING("Plain"), 20, 0, (void *)OnPlainPaint);
  AddCanvas(self, KIT_STRING("Tabs"), 100, 1, (void *)OnTabsPaint);
  AddSlant(self);
  AddBox(self);
}

void ShapesOpen(RuntimeObject *self) {
  RuntimeObject *plain = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(plain, RuntimeControlReference(self, KIT_STRING("Plain")));
  KIT_CHECK_NIL(plain);
  RuntimeSetFocus(plain);
  SayLine("Open window");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(plain);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ShapesLayout(RuntimeObject *self) { LayOutWindow(self, KIT_STRING("Shapes"), 320, 120); }

void ImageEntry(void) {
  RuntimeInit();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("Shapes"), (void *)ShapesLayout,
                                       "CreateControls", (void *)ShapesCreateControls, "Open",
                                       (void *)ShapesOpen));
  gImage.exitResult = RuntimeExit();
}
