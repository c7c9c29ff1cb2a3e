/* A scroll bar, a slider and a progress bar in a window that compiled code
 * builds with the kit (a Window subclass "Ranges"):
 *   Bar: a scroll bar at (20, 20), 200 by 16, range 0..100, line step 1,
 *     page step 20. ValueChanged writes "ValueChanged Bar <value>" and
 *     gives Progress that value.
 *   Slide: a slider at (20, 60), 200 by 24, range 0..100, without
 *     LiveScroll. ValueChanged writes "ValueChanged Slide <value>".
 *   Progress: a progress bar at (20, 100), 200 by 20, Maximum 100, Value 0.
 * The window's Open writes "Open window"; the image returns (status 0) when
 * the run loop ends. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/WindowSupport.h"
#include "window_images.h"

int32_t scrollerPropGetter(RuntimeObject *object, int32_t which);
void progressValueSetter(RuntimeObject *object, int32_t index, int32_t value);

ImageGlobals gImage;

enum { kScrollerValue = 1 };

/* "ValueChanged <name> <value>". */
static void SayValue(const char *name, int32_t value) {
  char line[60] = "ValueChanged ";
  int32_t n = 13, i, count = 0;
  char digits[12];
  for (i = 0; name[i]; ++i)
    line[n++] = name[i];
  line[n++] = ' ';
  if (value < 0) {
    line[n++] = '-';
    value = -value;
  }
  do {
    digits[count++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  while (count)
    line[n++] = digits[--count];
  line[n] = 0;
  SayLine(line);
}

void OnBarValueChanged(RuntimeObject *control) {
  RuntimeObject *progress = 0;
  int32_t value;
  WINDOW_HANDLER_ENTER(control);
  value = scrollerPropGetter(control, kScrollerValue);
  SayValue("Bar", value);
  KIT_TAKE_OBJECT(progress, RuntimeControlReference(self, KIT_STRING("Progress")));
  KIT_CHECK_NIL(progress);
  progressValueSetter(progress, 0, value);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(progress);
  WINDOW_HANDLER_RELEASE(control);
  KIT_END();
}

void OnSlideValueChanged(RuntimeObject *control) {
  SayValue("Slide", scrollerPropGetter(control, kScrollerValue));
}

/* A control of the class with its frame and numbers; LiveScroll only for
 * classes that have it. */
static void AddRange(RuntimeObject *self, stringStorage *cls, stringStorage *name, int32_t top,
                     int32_t height, int32_t maximum, void *valueChanged) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(control, NewControl(self, cls, name));
  KIT_CHECK_NIL(control);
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, top, 200, height);
  StreamNumber(&stream, "Minimum", 0);
  StreamNumber(&stream, "Maximum", maximum);
  StreamNumber(&stream, "Value", 0);
  StreamNumber(&stream, "LineStep", 1);
  StreamNumber(&stream, "PageStep", 20);
  StreamNumber(&stream, "LiveScroll", 0);
  StreamApply(&stream);
  if (valueChanged)
    RuntimeInstallInstanceEventHandler(control, KIT_STRING("ValueChanged"), valueChanged);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void RangesCreateControls(RuntimeObject *self) {
  AddRange(self, KIT_STRING("ScrollBar"), KIT_STRING("Bar"), 20, 16, 100,
           (void *)OnBarValueChanged);
  AddRange(self, KIT_STRING("Slider"), KIT_STRING("Slide"), 60, 24, 100,
           (void *)OnSlideValueChanged);
  AddRange(self, KIT_STRING("ProgressBar"), KIT_STRING("Progress"), 100, 20, 100, 0);
}

void RangesOpen(RuntimeObject *self) {
  (void)self;
  SayLine("Open window");
}

void RangesLayout(RuntimeObject *self) { LayOutWindow(self, KIT_STRING("Ranges"), 300, 160); }

void ImageEntry(void) {
  RuntimeInit();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("Ranges"), (void *)RangesLayout,
                                       "CreateControls", (void *)RangesCreateControls, "Open",
                                       (void *)RangesOpen));
  gImage.exitResult = RuntimeExit();
}
