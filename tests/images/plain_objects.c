/* Objects of a field-less class made at run time, for test images that need
 * exception objects without any built-in class. */
#include "plain_objects.h"

void *RuntimeNewClass(void *base, int32_t methods, int32_t interfaces, int32_t events,
                      int32_t staticMethods, int32_t properties);
RuntimeObject *RuntimeNewObject(void *runtimeClass);

enum { kInstanceSizeField = 3 }; /* RuntimeClass.instanceSize, offset 12 */

static void *sPlainClass;

RuntimeObject *NewPlainObject(void) {
  if (!sPlainClass) {
    sPlainClass = RuntimeNewClass(0, 0, 0, 0, 0, 0);
    ((int32_t *)sPlainClass)[kInstanceSizeField] = sizeof(RuntimeObject);
  }
  return RuntimeNewObject(sPlainClass);
}
