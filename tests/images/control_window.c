/* Push buttons, a label and edit fields in a window that compiled code
 * builds with the kit: a Window subclass ("Controls") whose CreateControls
 * makes each control with WindowAllocateObject and
 * RectControlDefaultConstructor, adds it with WindowAddControl, gives it its
 * design-time values in one property stream and installs its handlers with
 * RuntimeInstallInstanceEventHandler.
 *   Push, Raise, OK (Default) and Cancel (Cancel): push buttons; Action
 *     writes "Action <name>", and Raise's Action raises a RuntimeException
 *     that nothing handles.
 *   Label: a label whose MouseDown writes "MouseDown Label <x> <y>".
 *   ClipContentsField: the clipboard application's read-only view, with the
 *     records its window streams, first in the window as there, so that
 *     showing the window gives it the focus. The window's Open gives it
 *     100 kB of UTF-8 (the unit below, doubled 12 times), reads it back and
 *     selects all of it, then writes "Open window".
 *   Notes: a multi-line field whose KeyDown answers True for "x" only and
 *     whose TextChange writes "TextChange Notes <text>".
 *   Check (a check box) and First and Second (radio buttons of one group):
 *     Action writes "Action <name>".
 * A failed check writes "failed check: ..."; the image returns (status 0)
 * when the run loop ends. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "window_images.h"

void editSelStartSetter(RuntimeObject *field, int32_t index, int32_t start);
void editSelLengthSetter(RuntimeObject *field, int32_t index, int32_t length);
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);

ImageGlobals gImage;

enum { kNameOffset = 36, kMessageOffset = 28, kDoublings = 12 };

/* "<event> <control's name>", then the string's bytes when given, with
 * CR and LF written as \r and \n. */
static void SayOf(const char *event, RuntimeObject *control, stringStorage *text) {
  stringStorage *name = stringGetter(control, kNameOffset);
  char line[200];
  int32_t n = 0, i;
  for (i = 0; event[i] && n < 40; ++i)
    line[n++] = event[i];
  line[n++] = ' ';
  for (i = 0; name && i < name->length && n < 80; ++i)
    line[n++] = (char)name->buffer[1 + i];
  if (text) {
    line[n++] = ' ';
    for (i = 0; i < text->length && n < 190; ++i) {
      char c = (char)text->buffer[1 + i];
      if (c == '\r' || c == '\n') { /* a line break shows as \r or \n */
        line[n++] = '\\';
        c = c == '\r' ? 'r' : 'n';
      }
      line[n++] = c;
    }
  }
  line[n] = 0;
  RuntimeUnlockString(name);
  SayLine(line);
}

void OnAction(RuntimeObject *control) { SayOf("Action", control, 0); }

void OnRaiseAction(RuntimeObject *control) {
  RuntimeObject *exception = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(control);
  SayOf("Action", control, 0);
  KIT_TAKE_OBJECT(exception, RuntimeNewObject(RuntimeLookupClass(KIT_STRING("RuntimeException"))));
  KIT_CHECK_NIL(exception);
  stringSetter(exception, kMessageOffset, KIT_STRING("raised by a button"));
  RuntimeRaiseException(exception);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(exception);
  KIT_RELEASE_HELD_OBJECT(control);
  KIT_END();
}

int32_t OnLabelMouseDown(RuntimeObject *control, int32_t x, int32_t y) {
  char line[40] = "MouseDown Label ";
  int32_t n = 16;
  (void)control;
  AppendNumber(line, &n, x);
  line[n++] = ' ';
  AppendNumber(line, &n, y);
  line[n] = 0;
  SayLine(line);
  return 0;
}

int32_t OnNotesKeyDown(RuntimeObject *control, stringStorage *key) {
  (void)control;
  return TextIs(key, "x");
}

void OnNotesTextChange(RuntimeObject *control) {
  stringStorage *text = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(control);
  KIT_TAKE_STRING(text, editTextGetter(control, 0));
  SayOf("TextChange", control, text);
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(text);
  KIT_RELEASE_HELD_OBJECT(control);
  KIT_END();
}

static void AddButton(RuntimeObject *self, stringStorage *cls, stringStorage *name, int32_t left,
                      int32_t top, const char *role, void *action) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(control, NewControl(self, cls, name));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, left, top, 80, 24);
  StreamText(&stream, "Caption", name);
  StreamSystemFont(&stream, 12);
  if (role)
    StreamNumber(&stream, role, 1);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("Action"), action);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ControlsCreateControls(RuntimeObject *self) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  /* The clipboard application's view, with the records its window streams,
   * first in the window as there: showing the window gives it the focus. */
  KIT_TAKE_OBJECT(control,
                  NewControl(self, KIT_STRING("EditField"), KIT_STRING("ClipContentsField")));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, 68, 285, 75);
  StreamSystemFont(&stream, 10);
  StreamNumber(&stream, "Border", 1);
  StreamNumber(&stream, "MultiLine", 1);
  StreamNumber(&stream, "ReadOnly", 1);
  StreamNumber(&stream, "AcceptTabs", 1);
  StreamNumber(&stream, "ScrollBar", 1);
  StreamNumber(&stream, "ScrollBarVertical", 1);
  StreamNumber(&stream, "UseFocusRing", 1);
  StreamNumber(&stream, "Alignment", 1);
  StreamNumber(&stream, "BackColor", 0xFFFFFF);
  StreamLocks(&stream, 1, 1, 1, 1);
  StreamApply(&stream);

  AddButton(self, KIT_STRING("PushButton"), KIT_STRING("Push"), 20, 20, 0, (void *)OnAction);
  AddButton(self, KIT_STRING("PushButton"), KIT_STRING("Raise"), 110, 20, 0,
            (void *)OnRaiseAction);
  AddButton(self, KIT_STRING("PushButton"), KIT_STRING("OK"), 200, 20, "Default",
            (void *)OnAction);
  AddButton(self, KIT_STRING("PushButton"), KIT_STRING("Cancel"), 290, 20, "Cancel",
            (void *)OnAction);
  AddButton(self, KIT_STRING("CheckBox"), KIT_STRING("Check"), 310, 60, 0, (void *)OnAction);
  AddButton(self, KIT_STRING("RadioButton"), KIT_STRING("First"), 310, 100, 0,
            (void *)OnAction);
  AddButton(self, KIT_STRING("RadioButton"), KIT_STRING("Second"), 310, 130, 0,
            (void *)OnAction);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("StaticText"), KIT_STRING("Label")));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, 48, 120, 16);
  StreamText(&stream, "Text", KIT_STRING("Label"));
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("MouseDown"), (void *)OnLabelMouseDown);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("EditField"), KIT_STRING("Notes")));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, 160, 285, 60);
  StreamSystemFont(&stream, 12);
  StreamNumber(&stream, "Border", 1);
  StreamNumber(&stream, "MultiLine", 1);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("KeyDown"), (void *)OnNotesKeyDown);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("TextChange"), (void *)OnNotesTextChange);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* Whether the two strings hold the same bytes. */
static int32_t SameBytes(stringStorage *a, stringStorage *b) {
  int32_t i;
  if (!a || !b || a->length != b->length)
    return 0;
  for (i = 0; i < a->length; ++i)
    if (a->buffer[1 + i] != b->buffer[1 + i])
      return 0;
  return 1;
}

void ControlsOpen(RuntimeObject *self) {
  RuntimeObject *field = 0;
  stringStorage *text = 0, *back = 0;
  int32_t i;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(field, RuntimeControlReference(self, KIT_STRING("ClipContentsField")));
  KIT_CHECK_NIL(field);
  KIT_ASSIGN_STRING(text, KIT_UTF8_STRING("lines \xC3\xA9\xE2\x82\xAC\t\"quoted\" ok\r\n"));
  for (i = 0; i < kDoublings; ++i)
    KIT_TAKE_STRING(text, RuntimeAddString(text, text));
  editTextSetter(field, 0, text);
  KIT_TAKE_STRING(back, editTextGetter(field, 0));
  if (!SameBytes(text, back) || text->length < 100 * 1024)
    KitFailedCheck(1, "editTextGetter gives back the 100 kB that editTextSetter gave");
  editSelStartSetter(field, 0, 0);
  editSelLengthSetter(field, 0, StringDBCSLen(text));
  SayLine("Open window");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(field);
  KIT_RELEASE_STRING(text);
  KIT_RELEASE_STRING(back);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ControlsLayout(RuntimeObject *self) {
  LayOutWindow(self, KIT_STRING("Controls"), 400, 240);
}

void ImageEntry(void) {
  RuntimeInit();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("Controls"), (void *)ControlsLayout,
                                       "CreateControls", (void *)ControlsCreateControls, "Open",
                                       (void *)ControlsOpen));
  gImage.exitResult = RuntimeExit();
}
