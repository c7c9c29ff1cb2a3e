/* Loads the image's plug-ins through RuntimeInit and returns, so that the
 * runtime's exit tasks close them: the loader's tests read what the plug-ins
 * logged and what they left behind. */
#include "CompiledCode.h"

void RuntimeInit(void);

void ImageEntry(void) {
  KIT_ENTER();
  RuntimeInit();
  KIT_CATCH_ALL();
  KIT_END();
}
