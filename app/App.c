/* App: the application object. It adds nothing to Application: no events,
 * no fields, no handlers. */
#include "ClassBuilding.h"
#include "Tavrin.h"

RuntimeClass *AppClass(void) {
  ClassCounts counts = {0, 0, 9, 5, 17}, own = {0, 0, 0, 0, 0};
  KIT_ENTER();
  if (!gImage.app)
    gImage.app = NewImageClass(RuntimeLookupClass(KIT_STRING("Application")), counts, own,
                               KIT_STRING("App"), 52, 0);
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.app;
}
