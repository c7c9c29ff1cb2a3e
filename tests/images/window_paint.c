/* A window's Paint handler drawing through the Graphics entry points, as
 * compiled code calls them. The window ("Paint", 300 x 200, white, no menu
 * bar) is a Window subclass; its first Paint sets ForeColor to &h00C000 and reads
 * it back, sets Italic, then Bold on and off, tries to turn UseOldRenderer
 * off, fills (20, 30, 40, 10), draws a blue line from (20, 60) to (59, 60)
 * and the string "Paint" at (100, 100), keeps the Graphics object and writes
 * "Painted". Any key closes the window (KeyDown), which ends the run loop;
 * the kept Graphics then draws again, must read Width 0, and is released
 * ("Released the kept Graphics"). A failed check writes
 * "failed check: ..."; the image returns (status 0). */
#include "../../app/ClassBuilding.h"
#include "../../app/Tavrin.h"
#include "window_images.h"

void graphicsForeColorSetter(RuntimeObject *g, int32_t index, int32_t color);
int32_t graphicsForeColorGetter(RuntimeObject *g, int32_t index);
void graphicsBoldSetter(RuntimeObject *g, int32_t index, int32_t on);
int32_t graphicsBoldGetter(RuntimeObject *g, int32_t index);
void graphicsItalicSetter(RuntimeObject *g, int32_t index, int32_t on);
int32_t graphicsItalicGetter(RuntimeObject *g, int32_t index);
void graphicsUseOldRendererSetter(RuntimeObject *g, int32_t index, int32_t on);
int32_t graphicsUseOldRendererGetter(RuntimeObject *g, int32_t index);
int32_t graphicsWidthGetter(RuntimeObject *g, int32_t index);
void RuntimeGraphicsFillRect(RuntimeObject *g, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeGraphicsDrawLine(RuntimeObject *g, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void RuntimeGraphicsDrawString(RuntimeObject *g, stringStorage *text, int32_t x, int32_t y,
                               int32_t wrapWidth);

ImageGlobals gImage;

static RuntimeObject *sKept; /* the first Paint's Graphics, with a reference */

void PaintPaint(RuntimeObject *self, RuntimeObject *g) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_OBJECT(g);
  KIT_CHECK_NIL(g);
  graphicsForeColorSetter(g, 0, 0x00C000);
  if (graphicsForeColorGetter(g, 0) != 0x00C000)
    KitFailedCheck(1, "ForeColor reads back what was set");
  graphicsItalicSetter(g, 0, 1);
  graphicsBoldSetter(g, 0, 1);
  graphicsBoldSetter(g, 0, 0);
  if (graphicsItalicGetter(g, 0) != 1 || graphicsBoldGetter(g, 0) != 0)
    KitFailedCheck(2, "Bold False leaves Italic True");
  graphicsUseOldRendererSetter(g, 0, 0);
  if (graphicsUseOldRendererGetter(g, 0) != 1)
    KitFailedCheck(4, "UseOldRenderer stays True");
  if (graphicsWidthGetter(g, 0) != 300)
    KitFailedCheck(8, "the Graphics is as wide as the window");
  RuntimeGraphicsFillRect(g, 20, 30, 40, 10);
  graphicsForeColorSetter(g, 0, 0x0000FF);
  RuntimeGraphicsDrawLine(g, 20, 60, 59, 60);
  graphicsForeColorSetter(g, 0, 0x000000);
  RuntimeGraphicsDrawString(g, KIT_STRING("Paint"), 100, 100, 0);
  if (!sKept) {
    KIT_ASSIGN_OBJECT(sKept, g);
    SayLine("Painted");
  }
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(g);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

int32_t PaintKeyDown(RuntimeObject *self, stringStorage *key) {
  (void)key;
  RuntimeCloseWindow(self);
  return 1;
}

void PaintLayout(RuntimeObject *self) {
  LayOutWindow(self, KIT_STRING("Paint"), 300, 200);
}

void ImageEntry(void) {
  RuntimeInit();
  RunWithWindow(WindowSubclassHandling(KIT_STRING("PaintWindow"), (void *)PaintLayout, "Paint",
                                       (void *)PaintPaint, "KeyDown", (void *)PaintKeyDown));
  /* The window is closed: its pane is gone, the Graphics kept from its
   * Paint remains. */
  if (sKept) {
    RuntimeGraphicsFillRect(sKept, 0, 0, 10, 10);
    if (graphicsWidthGetter(sKept, 0) != 0)
      KitFailedCheck(32, "a Graphics kept past its window's close reads Width 0");
    RuntimeUnlockObject(sKept);
    sKept = 0;
    SayLine("Released the kept Graphics");
  }
  gImage.exitResult = RuntimeExit();
}
