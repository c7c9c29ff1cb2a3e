/* Reading an object's properties by name through their getters, in the test
 * images of the application's classes. */
#ifndef TAVRIN_PROPERTIES_H
#define TAVRIN_PROPERTIES_H
#include "../../app/ClassBuilding.h"

/* The Integer (or Boolean) property's value; -12345 when the class has no
 * such property with a getter of its own. */
int32_t IntegerProperty(RuntimeObject *object, const char *name);
/* Whether the String property holds exactly the text. */
int32_t StringPropertyIs(RuntimeObject *object, const char *name, const char *text);

#endif
