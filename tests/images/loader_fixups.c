/* Exercises every kind of fix-up the loader applies, and what it registers,
 * from inside a running image. (The image linker writes only constants whose
 * buffer field is 0; one with the field set is covered by the loader's unit
 * tests.) Reports through the exit status: 100 when every check held, else
 * the number of the first check that failed, which it names on standard
 * error. */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);
/* libm by its full name, and once by a name that only opens with ".so". */
KIT_LIBRARY_FUNCTION(lrintf, "libm.so.6");
long lrintf(float value);
KIT_LIBRARY_FUNCTION(ilogbf, "libm");
int ilogbf(float value);
/* The default icon list, read through the toolkit the runtime has loaded. */
KIT_LIBRARY_FUNCTION(gtk_window_get_default_icon_list, "libgtk-x11-2.0.so.0");
void *gtk_window_get_default_icon_list(void);
KIT_LIBRARY_FUNCTION(g_list_nth_data, "libglib-2.0.so.0");
void *g_list_nth_data(void *list, unsigned int n);
KIT_LIBRARY_FUNCTION(g_list_length, "libglib-2.0.so.0");
unsigned int g_list_length(void *list);
KIT_LIBRARY_FUNCTION(gdk_pixbuf_get_width, "libgdk_pixbuf-2.0.so.0");
int gdk_pixbuf_get_width(void *pixbuf);

stringStorage *RuntimeGetTextFileFromResourceManager(int32_t id);

static int32_t sCounter = 5; /* initialised data */
static int32_t sScratch[4];  /* zeroed data */

int32_t Twice(int32_t value) { return 2 * value; }

static int32_t SameBytes(const unsigned char *a, const char *b, int32_t length) {
  for (int32_t i = 0; i < length; ++i)
    if (a[i] != (unsigned char)b[i])
      return 0;
  return 1;
}

static int32_t FirstFailure(void) {
  /* Data addresses. */
  sCounter += 1;
  sScratch[3] = sCounter;
  if (sScratch[3] != 6)
    return KitFailedCheck(1, "data addresses");

  /* A code address taken and called through. */
  int32_t (*twice)(int32_t) = Twice;
  if (twice(21) != 42)
    return KitFailedCheck(2, "a code address taken and called through");

  /* A string constant the loader made ready, reached from two sites. */
  stringStorage *text = KIT_STRING("fixups");
  if (text->buffer != (unsigned char *)(text + 1) || text->buffer[0] != 6 ||
      !SameBytes(text->buffer + 1, "fixups", 7))
    return KitFailedCheck(3, "the string constant made ready");
  stringStorage *again = text;
  if (again != text)
    return KitFailedCheck(4, "the string constant reached from two sites");

  /* Runtime imports: a chain of relative calls, and an absolute address. */
  RuntimeLockString(text);
  RuntimeLockString(text);
  if (text->referenceCount != 3)
    return KitFailedCheck(6, "relative runtime imports");
  void (*unlock)(stringStorage *) = RuntimeUnlockString;
  unlock(text);
  unlock(text);
  if (text->referenceCount != 1)
    return KitFailedCheck(7, "absolute runtime imports");

  /* Shared-library imports. */
  if (lrintf(3.0f) != 3)
    return KitFailedCheck(8, "a shared-library import");
  if (ilogbf(8.0f) != 3)
    return KitFailedCheck(9, "a shared-library import through the \".so\" retry");

  /* A text resource. */
  stringStorage *notes = RuntimeGetTextFileFromResourceManager(128);
  if (!notes || notes->length != 11 || !SameBytes(notes->buffer + 1, "loader text", 11))
    return KitFailedCheck(10, "the text resource");
  RuntimeUnlockString(notes);
  if (RuntimeGetTextFileFromResourceManager(129))
    return KitFailedCheck(11, "no text resource where the image has none");

  /* Icons, 16 then 32 pixels in the image, reach the list reversed. */
  void *icons = gtk_window_get_default_icon_list();
  if (g_list_length(icons) != 2 || gdk_pixbuf_get_width(g_list_nth_data(icons, 0)) != 32 ||
      gdk_pixbuf_get_width(g_list_nth_data(icons, 1)) != 16)
    return KitFailedCheck(12, "the icons, reversed in the default list");
  return 0;
}

void ImageEntry(void) {
  int32_t failure = FirstFailure();
  _exit(failure ? failure : 100);
}
