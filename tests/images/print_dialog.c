/* Printing as a compiled program starts it: OpenPrinterDialog with no
 * PrinterSetup and no parent. When the dialog gives a printing Graphics it
 * fills (0, 0, 40, 40) in the default black, turns the page, fills
 * (200, 0, 40, 40), lets the Graphics go (which ends the job) and writes
 * "Printed"; when it gives nil it writes "No printer". The printing tests
 * answer the dialog with the keyboard. Exit status 0. */
#include "../../app/Tavrin.h"

RuntimeObject *RuntimeOpenPrinterDialog(RuntimeObject *setup, RuntimeObject *parent);
void RuntimeGraphicsFillRect(RuntimeObject *g, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeGraphicsNextPage(RuntimeObject *g);

ImageGlobals gImage;

void ImageEntry(void) {
  RuntimeObject *g;
  RuntimeInit();
  g = RuntimeOpenPrinterDialog(0, 0);
  if (!g) {
    KitWriteError("No printer\n");
  } else {
    RuntimeGraphicsFillRect(g, 0, 0, 40, 40);
    RuntimeGraphicsNextPage(g);
    RuntimeGraphicsFillRect(g, 200, 0, 40, 40);
    RuntimeUnlockObject(g);
    KitWriteError("Printed\n");
  }
  gImage.exitResult = RuntimeExit();
}
