/* The smallest image: no imports, no data; its entry returns at once. */
#include "CompiledCode.h"

void ImageEntry(void) {}
