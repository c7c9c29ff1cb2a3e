/* The inert controls of other platforms in a window that compiled code
 * builds with the kit, each control made from its property stream: a
 * window ("Inert") holding
 *   Probe: an edit field, first in the window so that it has the focus when
 *     the window shows; LostFocus writes "LostFocus Probe" (a click on the
 *     player takes the focus from it).
 *   Player: a MoviePlayer at (20, 50), 120 x 90, Border, Looping and
 *     Controller streamed.
 *   Embed: an OLEContainer with the ProgramID "Excel.Sheet".
 *   Notes: a NotePlayer with Instrument 41 (it has no pane).
 *   Done: a push button at (200, 120) whose Action writes "Action Done" and
 *     closes the window.
 * Open checks what the streams set and the player's bound parts, then
 * writes "Open window". Exit status: 42 when every check held and the loop
 * ended, otherwise 128 plus the bits of the groups that failed:
 *   1  the streamed values read back through the getters
 *   2  getBoundPart: the play and stop actions run, other names give nil
 *   4  OLEContainer.Content is nil */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "class_names.h"
#include "window_images.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

int32_t boolGetter(RuntimeObject *object, int32_t offset);
int32_t intGetter(RuntimeObject *object, int32_t offset);
stringStorage *stringGetter(RuntimeObject *object, int32_t offset);
RuntimeObject *mediaGetBoundPart(RuntimeObject *player, stringStorage *name);
void mediaActionPerformAction(RuntimeObject *action);
void RuntimeMediaPlay(RuntimeObject *player);
void RuntimeMediaStop(RuntimeObject *player);
RuntimeObject *OLEContainerContentGetter(RuntimeObject *container, int32_t param);
void RuntimeCloseWindow(RuntimeObject *window);

ImageGlobals gImage;

enum {
  kControllerOffset = 100, /* MoviePlayer */
  kBorderOffset = 104,
  kLoopingOffset = 108,
  kProgramIDOffset = 100, /* OLEContainer */
  kInstrumentOffset = 104 /* NotePlayer */
};

static int32_t sFailed;
static RuntimeObject *sWindow;

static void Fail(int32_t group, const char *what) { sFailed |= KitFailedCheck(group, what); }

void OnProbeLostFocus(RuntimeObject *field) {
  (void)field;
  SayLine("LostFocus Probe");
}

void OnDone(RuntimeObject *button) {
  (void)button;
  SayLine("Action Done");
  RuntimeCloseWindow(sWindow);
}

/* A control of the class, named, at the frame; its stream is begun, for the
 * caller to add to and apply. One reference. */
static RuntimeObject *Begin(RuntimeObject *self, PropertyStream *stream, stringStorage *cls,
                            stringStorage *name, int32_t left, int32_t top, int32_t width,
                            int32_t height) {
  RuntimeObject *control = NewControl(self, cls, name);
  if (!control)
    return 0;
  StreamBegin(stream, control);
  StreamControlFrame(stream, left, top, width, height);
  return control;
}

void InertCreateControls(RuntimeObject *self) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(control, Begin(self, &stream, KIT_STRING("EditField"), KIT_STRING("Probe"), 20,
                                 10, 160, 24));
  KIT_CHECK_NIL(control);
  StreamSystemFont(&stream, 12);
  StreamNumber(&stream, "Border", 1);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("LostFocus"), (void *)OnProbeLostFocus);

  KIT_TAKE_OBJECT(control, Begin(self, &stream, KIT_STRING("MoviePlayer"), KIT_STRING("Player"),
                                 20, 50, 120, 90));
  KIT_CHECK_NIL(control);
  StreamNumber(&stream, "Border", 1);
  StreamNumber(&stream, "Looping", 1);
  StreamNumber(&stream, "Controller", 2);
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, Begin(self, &stream, KIT_STRING("OLEContainer"), KIT_STRING("Embed"),
                                 160, 50, 60, 40));
  KIT_CHECK_NIL(control);
  StreamText(&stream, "ProgramID", KIT_STRING("Excel.Sheet"));
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, Begin(self, &stream, KIT_STRING("NotePlayer"), KIT_STRING("Notes"), 0,
                                 0, 0, 0));
  KIT_CHECK_NIL(control);
  StreamNumber(&stream, "Instrument", 41);
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, Begin(self, &stream, KIT_STRING("PushButton"), KIT_STRING("Done"), 200,
                                 120, 80, 24));
  KIT_CHECK_NIL(control);
  StreamText(&stream, "Caption", KIT_STRING("Done"));
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("Action"), (void *)OnDone);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* Whether getBoundPart gives a MoviePlayerAction for the name, whose
 * PerformAction then runs (and returns). */
static int32_t ActionRuns(RuntimeObject *player, stringStorage *name) {
  RuntimeObject *action = mediaGetBoundPart(player, name);
  int32_t ok = action && ClassNameIs(action, "MoviePlayerAction");
  if (ok)
    mediaActionPerformAction(action);
  RuntimeUnlockObject(action);
  return ok;
}

static void CheckControls(RuntimeObject *player, RuntimeObject *embed, RuntimeObject *notes) {
  stringStorage *programID = stringGetter(embed, kProgramIDOffset);
  RuntimeObject *content, *none;
  if (!ClassNameIs(player, "MoviePlayer") || boolGetter(player, kBorderOffset) != 1 ||
      boolGetter(player, kLoopingOffset) != 1 || intGetter(player, kControllerOffset) != 2 ||
      !TextIs(programID, "Excel.Sheet") || intGetter(notes, kInstrumentOffset) != 41)
    Fail(1, "Border, Looping, Controller, ProgramID and Instrument as streamed");
  RuntimeUnlockString(programID);
  RuntimeMediaPlay(player);
  RuntimeMediaStop(player);
  none = mediaGetBoundPart(player, KIT_STRING("getPauseAction"));
  if (!ActionRuns(player, KIT_STRING("GETPLAYACTION")) ||
      !ActionRuns(player, KIT_STRING("getStopAction")) || none)
    Fail(2, "the play and stop actions, and nil for other names");
  RuntimeUnlockObject(none);
  content = OLEContainerContentGetter(embed, 0);
  if (content)
    Fail(4, "an OLEContainer's Content is nil");
  RuntimeUnlockObject(content);
}

void InertOpen(RuntimeObject *self) {
  RuntimeObject *player = 0, *embed = 0, *notes = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sWindow = self;
  KIT_TAKE_OBJECT(player, RuntimeControlReference(self, KIT_STRING("Player")));
  KIT_TAKE_OBJECT(embed, RuntimeControlReference(self, KIT_STRING("Embed")));
  KIT_TAKE_OBJECT(notes, RuntimeControlReference(self, KIT_STRING("Notes")));
  KIT_CHECK_NIL(player);
  KIT_CHECK_NIL(embed);
  KIT_CHECK_NIL(notes);
  CheckControls(player, embed, notes);
  SayLine("Open window");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(player);
  KIT_RELEASE_OBJECT(embed);
  KIT_RELEASE_OBJECT(notes);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void InertLayout(RuntimeObject *self) { LayOutWindow(self, KIT_STRING("Inert"), 300, 160); }

void ImageEntry(void) {
  RuntimeInit();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("Inert"), (void *)InertLayout, "CreateControls",
                                       (void *)InertCreateControls, "Open", (void *)InertOpen));
  gImage.exitResult = RuntimeExit();
  _exit(sFailed ? 128 | sFailed : 42);
}
