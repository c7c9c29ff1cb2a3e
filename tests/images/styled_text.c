/* StyledText, StyleRun and Paragraph objects, and styled, masked and
 * formatted edit fields, used the way compiled code uses them: objects made
 * by class name, members called through their export names, the mask's
 * exception caught in a protected region. A window ("Styles") holds:
 *   Styled: a styled multi-line field; before its pane exists a StyledText
 *     is assigned to it (the assigned object's reference count must not
 *     change), and Open assigns one with a bold "a" in "ab".
 *   Masked: mask "###" set over "12a" in Open; ValidationError writes
 *     "ValidationError Masked <InvalidText> <StartPosition>".
 *   Beeper: the same mask without a handler (the runtime beeps).
 *   Formatted: Format "#,##0.00" over "1234.6"; GotFocus writes "GotFocus
 *     Formatted <text>" and sets the Format to "0", LostFocus writes
 *     "LostFocus Formatted <text>".
 *   Plain: GotFocus writes "GotFocus Plain <Formatted's text>".
 *   Done: a push button whose Action writes "Action Done" and closes the
 *     window.
 * Open writes "Open Formatted <text>", then "Open window". Once the window
 * has closed, Styled's StyledText (kept by the image) is read twice; each read
 * shows the assertion alert (answered by the test) and answers nil or 0.
 * Exit status: 42 when every check held, otherwise 128 plus the bits of the
 * groups that failed:
 *    1  a new StyledText, setting Text, Bold(start) of one character
 *    2  ParagraphCount and Paragraph over CR, LF and CR LF
 *    4  range setters: split and merge, past the end, negative ranges
 *    8  run indexes outside, runs appended and read are copies
 *   16  the field's StyledText: assigned before and after the pane
 *   32  the mask: ValidationError, the tilde's exception in a protected
 *       region with the text kept and no event
 *   64  the field's StyledText after its window closed */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "class_names.h"
#include "exception_object.h"
#include "window_images.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

int32_t intGetter(RuntimeObject *object, int32_t offset);
void intSetter(RuntimeObject *object, int32_t offset, int32_t value);
stringStorage *stringGetter(RuntimeObject *object, int32_t offset);
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);

int32_t StyledTextGetBold(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetBold(RuntimeObject *st, int32_t start, int32_t length, int32_t value);
int32_t StyledTextGetItalic(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetItalic(RuntimeObject *st, int32_t start, int32_t length, int32_t value);
int32_t StyledTextGetSize(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetSize(RuntimeObject *st, int32_t start, int32_t length, int32_t size);
int32_t StyledTextRunCountGetter(RuntimeObject *st);
RuntimeObject *StyledTextRunGetter(RuntimeObject *st, int32_t index);
RuntimeObject *TextRangeGetter(RuntimeObject *st, int32_t index);
void InsertStyledTextRun(RuntimeObject *st, RuntimeObject *run, int32_t index);
void AppendStyledTextRun(RuntimeObject *st, RuntimeObject *run);
void RemoveStyledTextRun(RuntimeObject *st, int32_t index);
int32_t StyledTextParagraphCountGetter(RuntimeObject *st);
RuntimeObject *StyledTextParagraphGetter(RuntimeObject *st, int32_t index);
stringStorage *StyledTextGetter(RuntimeObject *st, int32_t param);
void StyledTextSetter(RuntimeObject *st, int32_t param, stringStorage *text);
void StyleRunQVConstructor(RuntimeObject *run, stringStorage *text);
RuntimeObject *StyledTextObjectGetter(RuntimeObject *field, int32_t param);
void StyledTextObjectSetter(RuntimeObject *field, int32_t param, RuntimeObject *styled);
void EditMaskSetter(RuntimeObject *field, int32_t param, stringStorage *mask);
void RuntimeCloseWindow(RuntimeObject *window);

ImageGlobals gImage;

enum {
  kNameOffset = 36,
  kFormatOffset = 172,
  kRangeStart = 24, /* Range: StartPos, EndPos, Length */
  kRangeEnd = 28,
  kRangeLength = 32,
  /* StyleRun: Size, Text */
  kRunSize = 36,
  kRunText = 40
};

static int32_t sFailed, sValidationErrors;
static RuntimeObject *sWindow, *sFieldStyled;

static void Fail(int32_t group, const char *what) { sFailed |= KitFailedCheck(group, what); }

static RuntimeObject *NewStyledText(stringStorage *text) {
  RuntimeObject *st = RuntimeNewObject(RuntimeLookupClass(KIT_STRING("StyledText")));
  if (st && text)
    StyledTextSetter(st, 0, text);
  return st;
}

/* Whether the run's Text is exactly the given text. */
static int32_t RunTextIs(RuntimeObject *run, const char *text) {
  stringStorage *s = run ? stringGetter(run, kRunText) : 0;
  int32_t same = run && TextIs(s, text);
  RuntimeUnlockString(s);
  return same;
}

/* Whether the StyledText's Text is exactly the given text. */
static int32_t TextOf(RuntimeObject *st, const char *text) {
  stringStorage *s = StyledTextGetter(st, 0);
  int32_t same = TextIs(s, text);
  RuntimeUnlockString(s);
  return same;
}

/* Whether the object's (a Range's or a Paragraph's) three fields hold these. */
static int32_t RangeIs(RuntimeObject *range, int32_t start, int32_t end, int32_t length) {
  int32_t same = range && intGetter(range, kRangeStart) == start &&
                 intGetter(range, kRangeEnd) == end && intGetter(range, kRangeLength) == length;
  RuntimeUnlockObject(range);
  return same;
}

static void NewObjectsAndText(void) {
  RuntimeObject *st = NewStyledText(0);
  if (!st || !TextOf(st, "") || StyledTextRunCountGetter(st) != 1 ||
      StyledTextParagraphCountGetter(st) != 0 || StyledTextParagraphGetter(st, 0))
    Fail(1, "a new StyledText: Text \"\", one run, no paragraph");
  StyledTextSetBold(st, 0, 1, 1);
  StyledTextSetter(st, 0, KIT_STRING("abcdef"));
  if (StyledTextRunCountGetter(st) != 1 || StyledTextGetBold(st, 0, 6))
    Fail(1, "setting Text leaves one plain run");
  StyledTextSetBold(st, 2, 1, 1); /* Bold(2) = True: Length defaults to 1 */
  if (!StyledTextGetBold(st, 2, 1) || StyledTextGetBold(st, 1, 1) || StyledTextGetBold(st, 3, 1))
    Fail(1, "Bold(start) sets and reads one character");
  RuntimeUnlockObject(st);
}

/* The lines a, b and c with single or doubled line endings of each kind,
 * and the ParagraphCount each gives. */
static stringStorage *ParagraphText(int32_t row, int32_t *count) {
  *count = 3;
  switch (row) {
  case 0: return KIT_STRING("a\rb\rc");
  case 1: return KIT_STRING("a\r\rb\rc");
  case 2: return KIT_STRING("a\rb\rc\r");
  case 3: *count = 4; return KIT_STRING("\ra\rb\rc");
  case 4: return KIT_STRING("a\r\nb\r\nc");
  default: return KIT_STRING("a\nb\nc");
  }
}

static void Paragraphs(void) {
  RuntimeObject *st = NewStyledText(0);
  int32_t row, count;
  for (row = 0; row < 6; ++row) {
    StyledTextSetter(st, 0, ParagraphText(row, &count));
    if (StyledTextParagraphCountGetter(st) != count)
      Fail(2, "ParagraphCount of a, b and c with CR, LF or CR LF");
  }
  StyledTextSetter(st, 0, KIT_STRING("ab\r\ncd"));
  if (!RangeIs(StyledTextParagraphGetter(st, 0), 0, 2, 2) ||
      !RangeIs(StyledTextParagraphGetter(st, 1), 3, 5, 2))
    Fail(2, "Paragraph(0) and Paragraph(1) of ab, CR LF, cd");
  RuntimeUnlockObject(st);
}

static void RangeSetters(void) {
  RuntimeObject *st = NewStyledText(KIT_STRING("0123456789")), *run;
  StyledTextSetBold(st, 3, 4, 1);
  if (StyledTextRunCountGetter(st) != 3 || !RangeIs(TextRangeGetter(st, 0), 0, 3, 3) ||
      !RangeIs(TextRangeGetter(st, 1), 3, 7, 4) || !RangeIs(TextRangeGetter(st, 2), 7, 10, 3))
    Fail(4, "Bold(3, 4) of ten characters gives three runs");
  StyledTextSetBold(st, 3, 4, 0);
  if (StyledTextRunCountGetter(st) != 1 || !RangeIs(TextRangeGetter(st, 0), 0, 10, 10))
    Fail(4, "Bold(3, 4) = False merges them back");

  StyledTextSetter(st, 0, KIT_STRING("abc"));
  StyledTextSetBold(st, 2, 5, 1); /* past the end of the text */
  run = StyledTextRunGetter(st, 1);
  if (!TextOf(st, "abc") || !StyledTextGetBold(st, 2, 10) || StyledTextGetBold(st, 0, 1) ||
      !RunTextIs(run, "c"))
    Fail(4, "a range past the end styles what the text covers");
  RuntimeUnlockObject(run);

  StyledTextSetItalic(st, -1, 2, 1);
  StyledTextSetItalic(st, 0, -2, 1);
  StyledTextSetSize(st, 1, -1, 30);
  if (StyledTextGetItalic(st, 0, 3) || StyledTextGetBold(st, -1, 1) ||
      StyledTextGetSize(st, 1, -1) != 0 || !TextOf(st, "abc"))
    Fail(4, "negative starts and lengths change nothing and read neutral");
  RuntimeUnlockObject(st);
}

static void RunIndexesAndCopies(void) {
  RuntimeObject *st = NewStyledText(KIT_STRING("xyz")), *run = 0, *first, *second;
  int32_t count = StyledTextRunCountGetter(st), outside[3], i;
  outside[0] = -1;
  outside[1] = count;
  outside[2] = 1000;
  for (i = 0; i < 3; ++i) {
    RuntimeObject *r = StyledTextRunGetter(st, outside[i]);
    RuntimeObject *range = TextRangeGetter(st, outside[i]);
    if (r || range)
      Fail(8, "StyleRun and StyleRunRange outside 0 to count - 1 are nil");
    RuntimeUnlockObject(r);
    RuntimeUnlockObject(range);
    RemoveStyledTextRun(st, outside[i]);
  }
  if (StyledTextRunCountGetter(st) != count)
    Fail(8, "RemoveStyleRun outside does nothing");

  run = RuntimeNewObject(RuntimeLookupClass(KIT_STRING("StyleRun")));
  StyleRunQVConstructor(run, KIT_STRING("uv"));
  intSetter(run, kRunSize, 20);
  AppendStyledTextRun(st, run);
  intSetter(run, kRunSize, 30); /* the StyledText keeps its own copy */
  InsertStyledTextRun(st, run, -1); /* nothing below 0 */
  if (!TextOf(st, "xyzuv") || StyledTextGetSize(st, 3, 2) != 20)
    Fail(8, "an appended run is copied; inserting below 0 does nothing");
  InsertStyledTextRun(st, run, 99); /* past the end: appended */
  if (!TextOf(st, "xyzuvuv") || StyledTextGetSize(st, 5, 2) != 30)
    Fail(8, "inserting past the end appends");

  first = StyledTextRunGetter(st, 1);
  second = StyledTextRunGetter(st, 1);
  if (!first || !second || first == second || intGetter(first, kRunSize) != 20 ||
      intGetter(second, kRunSize) != 20 || !RunTextIs(second, "uv"))
    Fail(8, "StyleRun(i) read twice gives two equal objects");
  if (first)
    intSetter(first, kRunSize, 9);
  if (StyledTextGetSize(st, 3, 2) != 20)
    Fail(8, "a run read out is not shared with the StyledText");
  RuntimeUnlockObject(first);
  RuntimeUnlockObject(second);
  RuntimeUnlockObject(run);
  RuntimeUnlockObject(st);
}

/* Runs the mask's change in a protected region: whether it raised
 * UnsupportedFormatException with the tilde's message. */
static int32_t TildeRaises(RuntimeObject *field) {
  int32_t caught = 0;
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(field);
  KIT_TRY(error) { EditMaskSetter(field, 0, KIT_STRING("#~")); }
  KIT_CATCH(error) {
    RuntimeExceptionObject *e = (RuntimeExceptionObject *)error;
    caught = ClassNameIs(error, "UnsupportedFormatException") &&
             TextIs(e->message,
                    "Invalid Mask.  The tilde character (~) is reserved for future use.");
  }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_RELEASE_HELD_OBJECT(field);
  KIT_END();
  return caught;
}

/* Whether the field shows exactly the text. */
static int32_t FieldShows(RuntimeObject *field, const char *text) {
  stringStorage *s = editTextGetter(field, 0);
  int32_t same = TextIs(s, text);
  RuntimeUnlockString(s);
  return same;
}

/* "<event> <control's name> <text>". */
static void SayText(const char *event, RuntimeObject *control, stringStorage *text) {
  stringStorage *name = stringGetter(control, kNameOffset);
  char line[200];
  int32_t n = 0, i;
  for (i = 0; event[i]; ++i)
    line[n++] = event[i];
  line[n++] = ' ';
  for (i = 0; name && i < name->length && n < 80; ++i)
    line[n++] = (char)name->buffer[1 + i];
  line[n++] = ' ';
  for (i = 0; text && i < text->length && n < 190; ++i)
    line[n++] = (char)text->buffer[1 + i];
  line[n] = 0;
  RuntimeUnlockString(name);
  SayLine(line);
}

void OnValidationError(RuntimeObject *field, stringStorage *invalid, int32_t start) {
  char line[200] = "ValidationError Masked ";
  int32_t n = 23, i;
  (void)field;
  for (i = 0; invalid && i < invalid->length && n < 180; ++i)
    line[n++] = (char)invalid->buffer[1 + i];
  line[n++] = ' ';
  AppendNumber(line, &n, start);
  line[n] = 0;
  ++sValidationErrors;
  SayLine(line);
}

static void SayFieldText(const char *event, RuntimeObject *control, RuntimeObject *shown) {
  stringStorage *text = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(control);
  KIT_TAKE_STRING(text, editTextGetter(shown, 0));
  SayText(event, control, text);
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(text);
  KIT_RELEASE_HELD_OBJECT(control);
  KIT_END();
}

void OnFormattedGotFocus(RuntimeObject *field) {
  SayFieldText("GotFocus", field, field);
  stringSetter(field, kFormatOffset, KIT_STRING("0")); /* shown after the next change */
}
void OnFormattedLostFocus(RuntimeObject *field) { SayFieldText("LostFocus", field, field); }

void OnPlainGotFocus(RuntimeObject *field) {
  RuntimeObject *formatted = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(field);
  KIT_TAKE_OBJECT(formatted, RuntimeControlReference(sWindow, KIT_STRING("Formatted")));
  KIT_CHECK_NIL(formatted);
  SayFieldText("GotFocus", field, formatted);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(formatted);
  KIT_RELEASE_HELD_OBJECT(field);
  KIT_END();
}

void OnDone(RuntimeObject *button) {
  (void)button;
  SayLine("Action Done");
  RuntimeCloseWindow(sWindow);
}

static RuntimeObject *AddField(RuntimeObject *self, stringStorage *name, int32_t top,
                               int32_t styled, stringStorage *text, stringStorage *format) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("EditField"), name));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, top, 240, styled ? 60 : 24);
  StreamSystemFont(&stream, 12);
  StreamNumber(&stream, "Border", 1);
  if (styled) {
    StreamNumber(&stream, "MultiLine", 1);
    StreamNumber(&stream, "Styled", 1);
  }
  if (text)
    StreamText(&stream, "Text", text);
  if (format)
    StreamText(&stream, "Format", format);
  StreamApply(&stream);
  RuntimeLockObject(control);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return control;
}

void StylesCreateControls(RuntimeObject *self) {
  RuntimeObject *styled = 0, *early = 0, *field = 0, *button = 0;
  int32_t held;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(styled, AddField(self, KIT_STRING("Styled"), 10, 1, 0, 0));
  KIT_CHECK_NIL(styled);
  KIT_TAKE_OBJECT(early, NewStyledText(KIT_STRING("early")));
  held = early->refCount;
  StyledTextObjectSetter(styled, 0, early);
  if (early->refCount != held)
    Fail(16, "a StyledText assigned before the pane keeps its reference count");

  KIT_TAKE_OBJECT(field, AddField(self, KIT_STRING("Masked"), 80, 0, KIT_STRING("12a"), 0));
  KIT_CHECK_NIL(field);
  RuntimeInstallInstanceEventHandler(field, KIT_STRING("ValidationError"),
                                     (void *)OnValidationError);
  KIT_TAKE_OBJECT(field, AddField(self, KIT_STRING("Beeper"), 110, 0, KIT_STRING("12a"), 0));
  KIT_TAKE_OBJECT(field, AddField(self, KIT_STRING("Formatted"), 140, 0, KIT_STRING("1234.6"),
                                  KIT_STRING("#,##0.00")));
  KIT_CHECK_NIL(field);
  RuntimeInstallInstanceEventHandler(field, KIT_STRING("GotFocus"), (void *)OnFormattedGotFocus);
  RuntimeInstallInstanceEventHandler(field, KIT_STRING("LostFocus"),
                                     (void *)OnFormattedLostFocus);
  KIT_TAKE_OBJECT(field, AddField(self, KIT_STRING("Plain"), 170, 0, 0, 0));
  KIT_CHECK_NIL(field);
  RuntimeInstallInstanceEventHandler(field, KIT_STRING("GotFocus"), (void *)OnPlainGotFocus);

  KIT_TAKE_OBJECT(button, NewControl(self, KIT_STRING("PushButton"), KIT_STRING("Done")));
  KIT_CHECK_NIL(button);
  StreamBegin(&stream, button);
  StreamControlFrame(&stream, 280, 170, 80, 24);
  StreamText(&stream, "Caption", KIT_STRING("Done"));
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(button, KIT_STRING("Action"), (void *)OnDone);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(styled);
  KIT_RELEASE_OBJECT(early);
  KIT_RELEASE_OBJECT(field);
  KIT_RELEASE_OBJECT(button);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

static void FieldStyledText(RuntimeObject *field) {
  RuntimeObject *given = 0, *mine = 0;
  int32_t held;
  KIT_ENTER();
  KIT_HOLD_OBJECT(field);
  KIT_TAKE_OBJECT(given, NewStyledText(KIT_STRING("ab")));
  StyledTextSetBold(given, 0, 1, 1);
  held = given->refCount;
  StyledTextObjectSetter(field, 0, given);
  KIT_TAKE_OBJECT(mine, StyledTextObjectGetter(field, 0));
  if (given->refCount != held || !mine || mine == given || !FieldShows(field, "ab"))
    Fail(16, "the field takes a copy of an assigned StyledText's runs");
  if (mine && (!StyledTextGetBold(mine, 0, 1) || StyledTextGetBold(mine, 1, 1) ||
               StyledTextRunCountGetter(mine) != 2))
    Fail(16, "the field's StyledText reads the assigned styles");
  StyledTextSetBold(given, 1, 1, 1);
  if (mine && StyledTextGetBold(mine, 1, 1))
    Fail(16, "the assigned object stays apart from the field");
  KIT_ASSIGN_OBJECT(sFieldStyled, mine);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(given);
  KIT_RELEASE_OBJECT(mine);
  KIT_RELEASE_HELD_OBJECT(field);
  KIT_END();
}

static void Masks(RuntimeObject *self) {
  RuntimeObject *masked = 0, *beeper = 0;
  int32_t errors;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(masked, RuntimeControlReference(self, KIT_STRING("Masked")));
  KIT_TAKE_OBJECT(beeper, RuntimeControlReference(self, KIT_STRING("Beeper")));
  KIT_CHECK_NIL(masked);
  KIT_CHECK_NIL(beeper);
  EditMaskSetter(masked, 0, KIT_STRING("###"));
  if (sValidationErrors != 1 || !FieldShows(masked, "12"))
    Fail(32, "the mask keeps 12 of 12a and fires ValidationError once");
  EditMaskSetter(beeper, 0, KIT_STRING("###")); /* no handler: a beep */
  if (!FieldShows(beeper, "12"))
    Fail(32, "the mask keeps 12 of 12a without a handler");
  errors = sValidationErrors;
  if (!TildeRaises(masked) || !FieldShows(masked, "12") || sValidationErrors != errors)
    Fail(32, "the tilde raises its exception, the text stays, no ValidationError");
  EditMaskSetter(masked, 0, KIT_STRING("###"));
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(masked);
  KIT_RELEASE_OBJECT(beeper);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void StylesOpen(RuntimeObject *self) {
  RuntimeObject *field = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sWindow = self;
  KIT_TAKE_OBJECT(field, RuntimeControlReference(self, KIT_STRING("Styled")));
  KIT_CHECK_NIL(field);
  FieldStyledText(field);
  Masks(self);
  KIT_TAKE_OBJECT(field, RuntimeControlReference(self, KIT_STRING("Formatted")));
  KIT_CHECK_NIL(field);
  SayFieldText("Open", field, field);
  SayLine("Open window");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(field);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void StylesLayout(RuntimeObject *self) { LayOutWindow(self, KIT_STRING("Styles"), 380, 210); }

void ImageEntry(void) {
  stringStorage *text;
  RuntimeInit();
  NewObjectsAndText();
  Paragraphs();
  RangeSetters();
  RunIndexesAndCopies();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("Styles"), (void *)StylesLayout,
                                       "CreateControls", (void *)StylesCreateControls, "Open",
                                       (void *)StylesOpen));
  /* The window has closed: its field's StyledText has no body any more. */
  text = sFieldStyled ? StyledTextGetter(sFieldStyled, 0) : 0;
  SayLine("Closed text read");
  if (!sFieldStyled || text || StyledTextRunCountGetter(sFieldStyled) != 0)
    Fail(64, "a closed field's StyledText answers nil and 0");
  SayLine("Closed runs read");
  RuntimeUnlockString(text);
  RuntimeUnlockObject(sFieldStyled);
  gImage.exitResult = RuntimeExit();
  _exit(sFailed ? 128 | sFailed : 42);
}
