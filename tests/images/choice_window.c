/* The choice controls in a window that compiled code builds with the kit (a
 * Window subclass "Choices"), with receivers that are classes of the image,
 * writing one line for each thing it hears:
 *   Receiver: an image class implementing dataNotificationReceiver and
 *     actionNotificationReceiver; instance <id> writes "dataChanged R<id>"
 *     and "PerformAction R<id>".
 *   Check (a check box at 20, 20): receiver 1 hears its data changes,
 *     2 its checked and 3 its unchecked action part (asked for in
 *     capitals); Action writes "Action Check <Value>".
 *   First and Second (radio buttons of the window at 20, 60 and 20, 90):
 *     Action writes "Action <name> <First's Value><Second's Value>".
 *   Choices (a popup menu at 20, 130 with the rows Red, Green and Blue) is
 *     the source of a string binder whose dest is Field (an edit field at
 *     180, 130); Change writes "Change Choices <ListIndex>", and Field's
 *     TextChange "TextChange Field <text> <Enabled>".
 *   Blank (a popup menu without rows at 240, 180) is bound the same way
 *     into Other (an edit field at 240, 220).
 *   Push (a push button at 180, 20) tells receiver 4 of its action;
 *     Action writes "Action Push".
 *   Group (a group box at 20, 170, 200 by 90): MouseDown answers True and
 *     writes "MouseDown Group <x> <y>", MouseUp the same, and MouseDrag
 *     the same when the place differs from the last one written.
 * Open writes "Open window <ListIndex> <Field's text> <Field's Enabled>"
 * and the same three of Blank and Other once it has bound the popups and
 * the fields. A failed check writes
 * "failed check: ..."; the image returns when the run loop ends. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "window_images.h"

void checkBoxAddDataNotificationReceiver(RuntimeObject *box, RuntimeObject *receiver);
int32_t checkBoxGetBoolean(RuntimeObject *box);
RuntimeObject *checkBoxGetBoundPart(RuntimeObject *box, stringStorage *name);
void cbaAddActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void pbAddActionNotificationReceiver(RuntimeObject *button, RuntimeObject *receiver);
int32_t controlEnabledGetter(RuntimeObject *control, int32_t index);

ImageGlobals gImage;

enum { kNameOffset = 36, kReceivers = 4 };

typedef struct {
  RuntimeObject header;
  int32_t id;
} ReceiverObject;

/* The receivers, the binder and the controls the handlers read, each
 * held for the whole process. */
static RuntimeObject *gReceivers[kReceivers + 1];
static RuntimeObject *gFirst, *gSecond, *gBinders[2];

/* A line being written: text, numbers and strings appended, then said. */
typedef struct {
  char text[200];
  int32_t n;
} Line;

static void Add(Line *line, const char *text) {
  int32_t i;
  for (i = 0; text[i] && line->n < 190; ++i)
    line->text[line->n++] = text[i];
}

static void AddString(Line *line, stringStorage *s) {
  int32_t i;
  for (i = 0; s && i < s->length && line->n < 190; ++i)
    line->text[line->n++] = (char)s->buffer[1 + i];
}

static void AddNumber(Line *line, int32_t value) { AppendNumber(line->text, &line->n, value); }

static void Say(Line *line) {
  line->text[line->n] = 0;
  SayLine(line->text);
}

static void AddName(Line *line, RuntimeObject *control) {
  stringStorage *name = stringGetter(control, kNameOffset);
  AddString(line, name);
  RuntimeUnlockString(name);
}

/* An integer or Boolean property read through the object's class. */
static int32_t Get(RuntimeObject *object, const char *name) {
  PropertyEntry *entry = FindProperty((RuntimeClass *)object->classPtr, name);
  if (!entry || !entry->getter) {
    KitFailedCheck(1, name);
    return -99;
  }
  return ((int32_t(*)(RuntimeObject *, int32_t))entry->getter)(object, entry->param);
}

/* Whether the link name names the method: the text after the first "."
 * (or from the start) up to the first "%". */
static int32_t LinkNames(stringStorage *link, const char *name) {
  int32_t start = 0, i;
  if (!link)
    return 0;
  for (i = 0; i < link->length; ++i)
    if (link->buffer[1 + i] == '.') {
      start = i + 1;
      break;
    }
  for (i = 0; name[i]; ++i)
    if (start + i >= link->length || link->buffer[1 + start + i] != (unsigned char)name[i])
      return 0;
  return start + i == link->length || link->buffer[1 + start + i] == '%';
}

/* The code of the class's method of that name, virtual or static. */
static void *MethodNamed(RuntimeClass *cls, const char *name) {
  int32_t i;
  for (i = 0; i < cls->methodCount; ++i)
    if (LinkNames(cls->methods[i].linkName, name))
      return cls->methods[i].code;
  for (i = 0; i < cls->staticMethodCount; ++i)
    if (LinkNames(cls->staticMethods[i].linkName, name))
      return cls->staticMethods[i].code;
  return 0;
}

static void SayReceiver(const char *what, RuntimeObject *receiver) {
  Line line = {{0}, 0};
  Add(&line, what);
  Add(&line, " R");
  AddNumber(&line, ((ReceiverObject *)receiver)->id);
  Say(&line);
}

void ReceiverDataChanged(RuntimeObject *self) { SayReceiver("dataChanged", self); }
void ReceiverPerformAction(RuntimeObject *self) { SayReceiver("PerformAction", self); }

static void FillInterface(RuntimeClass *cls, int32_t index, stringStorage *iface, void *code,
                          stringStorage *linkName) {
  MethodEntry *table;
  cls->interfaces[index].interfaceClass = RuntimeLookupClass(iface);
  cls->interfaces[index].methodCount = 1;
  table = cls->interfaces[index].vtable = RuntimeNewVtable(1);
  table[0].code = code;
  table[0].linkName = RuntimeLockString(linkName);
}

static RuntimeClass *ReceiverClass(void) {
  ClassCounts counts = {0, 2, 0, 0, 0}, own = {0, 2, 0, 0, 0};
  RuntimeClass *cls = NewImageClass(RuntimeLookupClass(KIT_STRING("Object")), counts, own,
                                    KIT_STRING("Receiver"), sizeof(ReceiverObject), 0);
  if (!cls)
    return 0;
  FillInterface(cls, cls->interfaceCount - 2, KIT_STRING("dataNotificationReceiver"),
                (void *)ReceiverDataChanged, KIT_STRING("Receiver.dataChanged%%o<Receiver>"));
  FillInterface(cls, cls->interfaceCount - 1, KIT_STRING("actionNotificationReceiver"),
                (void *)ReceiverPerformAction, KIT_STRING("Receiver.PerformAction%%o<Receiver>"));
  return cls;
}

void OnCheckAction(RuntimeObject *box) {
  Line line = {{0}, 0};
  Add(&line, "Action Check ");
  AddNumber(&line, checkBoxGetBoolean(box));
  Say(&line);
}

void OnRadioAction(RuntimeObject *radio) {
  Line line = {{0}, 0};
  Add(&line, "Action ");
  AddName(&line, radio);
  Add(&line, " ");
  AddNumber(&line, Get(gFirst, "Value"));
  AddNumber(&line, Get(gSecond, "Value"));
  Say(&line);
}

void OnAction(RuntimeObject *control) {
  Line line = {{0}, 0};
  Add(&line, "Action ");
  AddName(&line, control);
  Say(&line);
}

void OnChange(RuntimeObject *popup) {
  Line line = {{0}, 0};
  Add(&line, "Change ");
  AddName(&line, popup);
  Add(&line, " ");
  AddNumber(&line, Get(popup, "ListIndex"));
  Say(&line);
}

/* "<text> <Enabled>" of the field. */
static void AddField(Line *line, RuntimeObject *field) {
  stringStorage *text = editTextGetter(field, 0);
  AddString(line, text);
  RuntimeUnlockString(text);
  Add(line, " ");
  AddNumber(line, controlEnabledGetter(field, 0));
}

void OnFieldTextChange(RuntimeObject *field) {
  Line line = {{0}, 0};
  Add(&line, "TextChange ");
  AddName(&line, field);
  Add(&line, " ");
  AddField(&line, field);
  Say(&line);
}

/* Binds the popup into the field through a new string binder, then
 * appends " <ListIndex> <text> <Enabled>" of the two. */
static void BindAndAdd(Line *line, RuntimeObject *self, RuntimeObject **binder,
                       stringStorage *popupName, stringStorage *fieldName) {
  RuntimeObject *popup = 0, *field = 0;
  RuntimeClass *cls = RuntimeLookupClass(KIT_STRING("stringBinder"));
  void (*bind)(RuntimeObject *, RuntimeObject *, RuntimeObject *) = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(popup, RuntimeControlReference(self, popupName));
  KIT_TAKE_OBJECT(field, RuntimeControlReference(self, fieldName));
  KIT_CHECK_NIL(popup);
  KIT_CHECK_NIL(field);
  if (cls)
    bind = (void (*)(RuntimeObject *, RuntimeObject *, RuntimeObject *))MethodNamed(cls, "bind");
  if (!bind) {
    KitFailedCheck(1, "a stringBinder class with bind");
    KIT_LEAVE();
  }
  *binder = RuntimeNewObject(cls);
  KIT_CHECK_NIL(*binder);
  bind(*binder, popup, field);
  Add(line, " ");
  AddNumber(line, Get(popup, "ListIndex"));
  Add(line, " ");
  AddField(line, field);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(popup);
  KIT_RELEASE_OBJECT(field);
  KIT_END();
}

static void SayMouse(const char *event, int32_t x, int32_t y) {
  Line line = {{0}, 0};
  Add(&line, event);
  Add(&line, " Group ");
  AddNumber(&line, x);
  Add(&line, " ");
  AddNumber(&line, y);
  Say(&line);
}

/* MouseDrag comes on every turn of the loop while the button is down. */
static int32_t gDragX = -1, gDragY = -1;

int32_t OnGroupMouseDown(RuntimeObject *group, int32_t x, int32_t y) {
  (void)group;
  SayMouse("MouseDown", x, y);
  gDragX = x;
  gDragY = y;
  return 1;
}
void OnGroupMouseDrag(RuntimeObject *group, int32_t x, int32_t y) {
  (void)group;
  if (x == gDragX && y == gDragY)
    return;
  gDragX = x;
  gDragY = y;
  SayMouse("MouseDrag", x, y);
}
void OnGroupMouseUp(RuntimeObject *group, int32_t x, int32_t y) {
  (void)group;
  SayMouse("MouseUp", x, y);
}

/* A control of the class at that place with its caption or text (when
 * given) in the system font, the handler of one of its events installed. */
static void AddControl(RuntimeObject *self, stringStorage *cls, stringStorage *name, int32_t left,
                       int32_t top, int32_t width, int32_t height, const char *textProperty,
                       stringStorage *text, stringStorage *event, void *handler) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_TAKE_OBJECT(control, NewControl(self, cls, name));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, left, top, width, height);
  if (textProperty)
    StreamText(&stream, textProperty, text);
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, event, handler);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_END();
}

void ChoicesCreateControls(RuntimeObject *self) {
  RuntimeObject *group = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  AddControl(self, KIT_STRING("CheckBox"), KIT_STRING("Check"), 20, 20, 120, 24, "Caption",
             KIT_STRING("Check"), KIT_STRING("Action"), (void *)OnCheckAction);
  AddControl(self, KIT_STRING("RadioButton"), KIT_STRING("First"), 20, 60, 120, 24, "Caption",
             KIT_STRING("First"), KIT_STRING("Action"), (void *)OnRadioAction);
  AddControl(self, KIT_STRING("RadioButton"), KIT_STRING("Second"), 20, 90, 120, 24, "Caption",
             KIT_STRING("Second"), KIT_STRING("Action"), (void *)OnRadioAction);
  AddControl(self, KIT_STRING("PushButton"), KIT_STRING("Push"), 180, 20, 80, 24, "Caption",
             KIT_STRING("Push"), KIT_STRING("Action"), (void *)OnAction);
  AddControl(self, KIT_STRING("PopupMenu"), KIT_STRING("Choices"), 20, 130, 140, 26, "InitialValue",
             KIT_STRING("Red\rGreen\rBlue"), KIT_STRING("Change"), (void *)OnChange);
  AddControl(self, KIT_STRING("EditField"), KIT_STRING("Field"), 180, 130, 160, 26, 0, 0,
             KIT_STRING("TextChange"), (void *)OnFieldTextChange);
  AddControl(self, KIT_STRING("PopupMenu"), KIT_STRING("Blank"), 240, 180, 100, 26, 0, 0,
             KIT_STRING("Change"), (void *)OnChange);
  AddControl(self, KIT_STRING("EditField"), KIT_STRING("Other"), 240, 220, 100, 26, 0, 0,
             KIT_STRING("TextChange"), (void *)OnFieldTextChange);
  AddControl(self, KIT_STRING("GroupBox"), KIT_STRING("Group"), 20, 170, 200, 90, "Caption",
             KIT_STRING("Group"), KIT_STRING("MouseDown"), (void *)OnGroupMouseDown);
  KIT_TAKE_OBJECT(group, RuntimeControlReference(self, KIT_STRING("Group")));
  KIT_CHECK_NIL(group);
  RuntimeInstallInstanceEventHandler(group, KIT_STRING("MouseDrag"), (void *)OnGroupMouseDrag);
  RuntimeInstallInstanceEventHandler(group, KIT_STRING("MouseUp"), (void *)OnGroupMouseUp);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(group);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* The receivers joined to the check box and the push button, and the
 * string binder from the popup into the field. */
void ChoicesOpen(RuntimeObject *self) {
  RuntimeObject *box = 0, *part = 0, *push = 0;
  RuntimeClass *receiverClass;
  Line line = {"Open window", 11};
  int32_t i;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  receiverClass = ReceiverClass();
  if (!receiverClass) {
    KitFailedCheck(1, "the Receiver class");
    KIT_LEAVE();
  }
  for (i = 1; i <= kReceivers; ++i) {
    gReceivers[i] = RuntimeNewObject(receiverClass);
    KIT_CHECK_NIL(gReceivers[i]);
    ((ReceiverObject *)gReceivers[i])->id = i;
  }
  KIT_TAKE_OBJECT(box, RuntimeControlReference(self, KIT_STRING("Check")));
  KIT_CHECK_NIL(box);
  checkBoxAddDataNotificationReceiver(box, gReceivers[1]);
  KIT_TAKE_OBJECT(part, checkBoxGetBoundPart(box, KIT_STRING("GETCHECKEDACTION")));
  KIT_CHECK_NIL(part);
  cbaAddActionNotificationReceiver(part, gReceivers[2]);
  KIT_TAKE_OBJECT(part, checkBoxGetBoundPart(box, KIT_STRING("getUncheckedAction")));
  KIT_CHECK_NIL(part);
  cbaAddActionNotificationReceiver(part, gReceivers[3]);
  KIT_TAKE_OBJECT(push, RuntimeControlReference(self, KIT_STRING("Push")));
  KIT_CHECK_NIL(push);
  pbAddActionNotificationReceiver(push, gReceivers[4]);

  gFirst = RuntimeControlReference(self, KIT_STRING("First"));
  gSecond = RuntimeControlReference(self, KIT_STRING("Second"));
  KIT_CHECK_NIL(gFirst);
  KIT_CHECK_NIL(gSecond);
  BindAndAdd(&line, self, &gBinders[0], KIT_STRING("Choices"), KIT_STRING("Field"));
  BindAndAdd(&line, self, &gBinders[1], KIT_STRING("Blank"), KIT_STRING("Other"));
  Say(&line);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(box);
  KIT_RELEASE_OBJECT(part);
  KIT_RELEASE_OBJECT(push);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ChoicesLayout(RuntimeObject *self) { LayOutWindow(self, KIT_STRING("Choices"), 360, 280); }

void ImageEntry(void) {
  RuntimeInit();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("Choices"), (void *)ChoicesLayout,
                                       "CreateControls", (void *)ChoicesCreateControls, "Open",
                                       (void *)ChoicesOpen));
  gImage.exitResult = RuntimeExit();
}
