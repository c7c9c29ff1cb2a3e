/* Drag and drop, the System and Keyboard modules and a sound resource from
 * compiled code, in a window built with the kit (a Window subclass
 * "Desktop", 320 by 160, white):
 *   Open writes "CommandLine <System.CommandLine>", plays the 'WAVE'
 *     resource 128 and writes "Sound IsPlaying <0 or 1>" ("Sound nil" when
 *     there is none), starts the poll and writes "Open window".
 *   MouseDown on the window makes a DragItem of 20 by 20 centred on the
 *     point with the Text "dragged text", writes "Drag starts", drags it
 *     and writes "Drag ended".
 *   KeyDown writes "KeyDown <key> ShiftKey <0 or 1> CommandKey <0 or 1>".
 *   Target: a push button at (200, 20), 100 by 30, that takes text drops
 *     from Open on.
 *   Files: a push button at (200, 80), 100 by 30, that takes file drops
 *     from Open on.
 *     The DropObject of each writes "DropObject <name>: <Text>", or the
 *     FolderItem's AbsolutePath in place of the Text when there is one.
 *   The poll, a Timer every 50 ms, writes "AsyncShiftKey <0 or 1>" whenever
 *     that changes (at first too) and "Sound IsPlaying <0 or 1>" whenever
 *     the sound's state changes.
 * The image returns (status 0) when the run loop ends. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "window_images.h"

RuntimeObject *getSystemObject(void);
stringStorage *SystemGetCommandLine(RuntimeObject *system);
RuntimeObject *getKeyboardObject(void);
int32_t modifierKeyGetter(RuntimeObject *keyboard, int32_t mask);
int32_t asyncModifierKeyGetter(RuntimeObject *keyboard, int32_t mask);
RuntimeObject *RuntimeGetSoundFromResourceManager(int32_t id);
void soundPlay(RuntimeObject *sound);
int32_t soundIsPlaying(RuntimeObject *sound);
RuntimeObject *formNewDragItem(RuntimeObject *window, int32_t left, int32_t top, int32_t width,
                               int32_t height);
void dragItemTextSetter(RuntimeObject *item, int32_t index, stringStorage *text);
stringStorage *dragItemTextGetter(RuntimeObject *item);
void DragItemDrag(RuntimeObject *item);
RuntimeObject *dragItemFolderItemGetter(RuntimeObject *item);
int32_t DragItemFolderItemAvailable(RuntimeObject *item);
stringStorage *fileAbsolutePathGetter(RuntimeObject *folderItem, int32_t param);
void controlAcceptTextDrop(RuntimeObject *control);
void controlAcceptFileDrop(RuntimeObject *control, stringStorage *type);

enum { kCommandKeyMask = 256, kShiftKeyMask = 512, kControlNameOffset = 36 };

ImageGlobals gImage;

static RuntimeObject *sKeyboard, *sSound, *sPoll;
static int32_t sAsyncShift = -1, sPlaying = -1;

/* The text, then the string's bytes (at most 200), as one line. */
static void SayText(const char *text, stringStorage *value) {
  char line[240];
  int32_t n = 0, i;
  for (i = 0; text[i]; ++i)
    line[n++] = text[i];
  for (i = 0; value && i < value->length && i < 200; ++i)
    line[n++] = (char)value->buffer[1 + i];
  line[n] = 0;
  SayLine(line);
}

/* The text and the number, as one line. */
static void SayNumber(const char *text, int32_t value) {
  char line[60];
  int32_t n = 0, i;
  for (i = 0; text[i]; ++i)
    line[n++] = text[i];
  AppendNumber(line, &n, value);
  line[n] = 0;
  SayLine(line);
}

void PollAction(RuntimeObject *timer) {
  int32_t shift, playing;
  (void)timer;
  shift = asyncModifierKeyGetter(sKeyboard, kShiftKeyMask);
  if (shift != sAsyncShift) {
    sAsyncShift = shift;
    SayNumber("AsyncShiftKey ", shift);
  }
  if (sSound) {
    playing = soundIsPlaying(sSound);
    if (playing != sPlaying) {
      sPlaying = playing;
      SayNumber("Sound IsPlaying ", playing);
    }
  }
}

void OnDropObject(RuntimeObject *control, RuntimeObject *item) {
  stringStorage *name = 0, *text = 0, *prefix = 0;
  RuntimeObject *file = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(control);
  KIT_HOLD_OBJECT(item);
  KIT_CHECK_NIL(item);
  KIT_TAKE_STRING(name, stringGetter(control, kControlNameOffset));
  if (DragItemFolderItemAvailable(item)) {
    KIT_TAKE_OBJECT(file, dragItemFolderItemGetter(item));
    KIT_CHECK_NIL(file);
    KIT_TAKE_STRING(text, fileAbsolutePathGetter(file, 0));
  } else {
    KIT_TAKE_STRING(text, dragItemTextGetter(item));
  }
  KIT_TAKE_STRING(prefix, RuntimeAddString(KIT_STRING("DropObject "), name));
  KIT_TAKE_STRING(prefix, RuntimeAddString(prefix, KIT_STRING(": ")));
  KIT_TAKE_STRING(text, RuntimeAddString(prefix, text));
  SayText("", text);
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(prefix);
  KIT_RELEASE_STRING(text);
  KIT_RELEASE_STRING(name);
  KIT_RELEASE_OBJECT(file);
  KIT_RELEASE_HELD_OBJECT(item);
  KIT_RELEASE_HELD_OBJECT(control);
  KIT_END();
}

int32_t DesktopMouseDown(RuntimeObject *self, int32_t x, int32_t y) {
  RuntimeObject *item = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(item, formNewDragItem(self, x - 10, y - 10, 20, 20));
  KIT_CHECK_NIL(item);
  dragItemTextSetter(item, 0, KIT_STRING("dragged text"));
  SayLine("Drag starts");
  DragItemDrag(item);
  SayLine("Drag ended");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(item);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return 0;
}

int32_t DesktopKeyDown(RuntimeObject *self, stringStorage *key) {
  char line[80] = "KeyDown ";
  int32_t n = 8, i;
  (void)self;
  for (i = 0; key && i < key->length && i < 8; ++i)
    line[n++] = (char)key->buffer[1 + i];
  for (i = 0; " ShiftKey "[i]; ++i)
    line[n++] = " ShiftKey "[i];
  AppendNumber(line, &n, modifierKeyGetter(sKeyboard, kShiftKeyMask));
  for (i = 0; " CommandKey "[i]; ++i)
    line[n++] = " CommandKey "[i];
  AppendNumber(line, &n, modifierKeyGetter(sKeyboard, kCommandKeyMask));
  line[n] = 0;
  SayLine(line);
  return 1;
}

/* A push button at that place whose DropObject is heard. */
static void AddDropButton(RuntimeObject *self, stringStorage *name, int32_t top) {
  RuntimeObject *button = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(button, NewControl(self, KIT_STRING("PushButton"), name));
  KIT_CHECK_NIL(button);
  StreamBegin(&stream, button);
  StreamControlFrame(&stream, 200, top, 100, 30);
  StreamText(&stream, "Caption", name);
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(button, KIT_STRING("DropObject"), (void *)OnDropObject);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(button);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void DesktopCreateControls(RuntimeObject *self) {
  AddDropButton(self, KIT_STRING("Target"), 20);
  AddDropButton(self, KIT_STRING("Files"), 80);
}

void DesktopOpen(RuntimeObject *self) {
  RuntimeObject *system = 0, *target = 0, *files = 0;
  stringStorage *commandLine = 0;
  RuntimeClass *pollClass;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  /* Drops are taken once the controls have their panes, as a program takes
   * them in its Open. */
  KIT_TAKE_OBJECT(target, RuntimeControlReference(self, KIT_STRING("Target")));
  KIT_CHECK_NIL(target);
  controlAcceptTextDrop(target);
  KIT_TAKE_OBJECT(files, RuntimeControlReference(self, KIT_STRING("Files")));
  KIT_CHECK_NIL(files);
  controlAcceptFileDrop(files, KIT_STRING("special/any"));
  KIT_TAKE_OBJECT(system, getSystemObject());
  KIT_CHECK_NIL(system);
  KIT_TAKE_STRING(commandLine, SystemGetCommandLine(system));
  SayText("CommandLine ", commandLine);
  KIT_TAKE_OBJECT(sKeyboard, getKeyboardObject());
  KIT_TAKE_OBJECT(sSound, RuntimeGetSoundFromResourceManager(128));
  if (sSound) {
    soundPlay(sSound);
    sPlaying = soundIsPlaying(sSound);
    SayNumber("Sound IsPlaying ", sPlaying);
  } else {
    SayLine("Sound nil");
  }
  pollClass = SubclassOf(KIT_STRING("Timer"));
  if (!pollClass || !HandleEvent(pollClass, "Action", (void *)PollAction)) {
    KitFailedCheck(1, "the Timer class and its Action event");
    KIT_LEAVE();
  }
  KIT_TAKE_OBJECT(sPoll, RuntimeNewObject(pollClass));
  KIT_CHECK_NIL(sPoll);
  timerPeriodSetter(sPoll, 0, 50);
  timerModeSetter(sPoll, 0, 2);
  SayLine("Open window");
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(commandLine);
  KIT_RELEASE_OBJECT(system);
  KIT_RELEASE_OBJECT(files);
  KIT_RELEASE_OBJECT(target);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void DesktopLayout(RuntimeObject *self) { LayOutWindow(self, KIT_STRING("Desktop"), 320, 160); }

void ImageEntry(void) {
  RuntimeClass *cls;
  RuntimeInit();
  cls = WindowSubclassHandling(KIT_STRING("Desktop"), (void *)DesktopLayout, "CreateControls",
                               (void *)DesktopCreateControls, "Open", (void *)DesktopOpen);
  if (cls && (!HandleEvent(cls, "MouseDown", (void *)DesktopMouseDown) ||
              !HandleEvent(cls, "KeyDown", (void *)DesktopKeyDown)))
    cls = 0;
  RunWithWindow(cls);
  gImage.exitResult = RuntimeExit();
}
