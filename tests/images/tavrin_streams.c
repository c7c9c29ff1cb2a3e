/* The application's mass-property streams against the runtime's setter: a
 * RectControl gets a stream of Integer, Boolean and String records whose
 * indices were looked up by name, and each property reads back through its
 * getter; a property the class lacks is left out of the stream. Exit
 * status 42 when every check held, else the number of the first that
 * failed. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "runtime_classes.h"
#include "tavrin_properties.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

static int32_t sFailed;

static void Check(int32_t number, int32_t holds) {
  if (!holds && !sFailed)
    sFailed = number;
}

void ImageEntry(void) {
  RuntimeClass *cls;
  RuntimeObject *control;
  PropertyStream stream;
  RuntimeInit();
  cls = RuntimeLookupClass(KIT_STRING("RectControl"));
  if (!cls)
    _exit(KitFailedCheck(1, "the runtime has a RectControl class"));
  control = RuntimeNewObject(cls);
  StreamBegin(&stream, control);
  StreamNumber(&stream, "Index", (int32_t)0x80000000);
  StreamNumber(&stream, "Left", 20);
  StreamNumber(&stream, "Top", 14);
  StreamNumber(&stream, "Width", 285);
  StreamNumber(&stream, "Height", 75);
  StreamNumber(&stream, "LockRight", 1);
  StreamNumber(&stream, "NoSuchProperty", 7);
  StreamText(&stream, "HelpTag", KIT_UTF8_STRING("h\xC3\xA9llo"));
  StreamText(&stream, "Name", KIT_STRING("ClipContentsField"));
  Check(2, stream.storage.length > 0 && !stream.overflowed);
  StreamApply(&stream);
  Check(3, IntegerProperty(control, "Index") == (int32_t)0x80000000);
  Check(4, IntegerProperty(control, "Left") == 20 && IntegerProperty(control, "Top") == 14);
  Check(5, IntegerProperty(control, "Width") == 285 && IntegerProperty(control, "Height") == 75);
  Check(6, IntegerProperty(control, "LockRight") != 0 && IntegerProperty(control, "LockBottom") == 0);
  Check(7, StringPropertyIs(control, "HelpTag", "h\xC3\xA9llo"));
  Check(8, StringPropertyIs(control, "Name", "ClipContentsField"));
  _exit(sFailed ? sFailed : 42);
}
