#include "ClassBuilding.h"

static int32_t AtLeast(int32_t count, int32_t baseCount, int32_t own) {
  return count > baseCount + own ? count : baseCount + own;
}

RuntimeClass *NewImageClass(RuntimeClass *base, ClassCounts counts, ClassCounts own,
                            stringStorage *name, int32_t instanceSize,
                            void (*destructor)(RuntimeObject *)) {
  RuntimeClass *cls;
  if (base) {
    counts.methods = AtLeast(counts.methods, base->methodCount, own.methods);
    counts.interfaces = AtLeast(counts.interfaces, base->interfaceCount, own.interfaces);
    counts.events = AtLeast(counts.events, base->eventCount, own.events);
    counts.staticMethods =
        AtLeast(counts.staticMethods, base->staticMethodCount, own.staticMethods);
    counts.properties = AtLeast(counts.properties, base->propertyCount, own.properties);
    if (instanceSize < base->instanceSize)
      instanceSize = base->instanceSize;
  }
  cls = RuntimeNewClass(base, counts.methods, counts.interfaces, counts.events,
                        counts.staticMethods, counts.properties);
  if (!cls)
    return 0;
  cls->name = RuntimeLockString(name);
  cls->isAnInterface = 0;
  cls->instanceSize = instanceSize;
  cls->destructor = destructor;
  return cls;
}

int32_t FirstOwnMethod(RuntimeClass *cls) { return cls->base ? cls->base->methodCount : 0; }
int32_t FirstOwnEvent(RuntimeClass *cls) { return cls->base ? cls->base->eventCount : 0; }
int32_t FirstOwnProperty(RuntimeClass *cls) { return cls->base ? cls->base->propertyCount : 0; }

void SetMethod(RuntimeClass *cls, int32_t index, void *code, stringStorage *linkName) {
  if (index < 0 || index >= cls->methodCount)
    return;
  cls->methods[index].code = code;
  cls->methods[index].linkName = RuntimeLockString(linkName);
}

void NameEvent(RuntimeClass *cls, int32_t index, stringStorage *name) {
  if (index >= 0 && index < cls->eventCount)
    cls->events[index].name = name;
}

/* Whether text begins with name, letter case ignored, and then ends or
 * continues with "%". */
static int32_t NamePrefixIs(stringStorage *text, const char *name) {
  int32_t i;
  if (!text)
    return 0;
  for (i = 0; name[i]; ++i) {
    unsigned char a, b = (unsigned char)name[i];
    if (i >= text->length)
      return 0;
    a = text->buffer[1 + i];
    if (a >= 'A' && a <= 'Z')
      a += 'a' - 'A';
    if (b >= 'A' && b <= 'Z')
      b += 'a' - 'A';
    if (a != b)
      return 0;
  }
  return i == text->length || text->buffer[1 + i] == '%';
}

int32_t HandleInheritedEvent(RuntimeClass *cls, const char *name, void *handler) {
  int32_t i, count = FirstOwnEvent(cls);
  for (i = 0; i < count; ++i)
    if (NamePrefixIs(cls->events[i].name, name)) {
      cls->events[i].vector = handler;
      return 1;
    }
  return 0;
}

void SetFieldProperty(RuntimeClass *cls, int32_t index, stringStorage *linkName, int32_t offset) {
  if (index < 0 || index >= cls->propertyCount)
    return;
  cls->properties[index].name = RuntimeLockString(linkName);
  cls->properties[index].param = offset;
  cls->properties[index].getter = (void *)1;
  cls->properties[index].setter = (void *)1;
}

PropertyEntry *FindProperty(RuntimeClass *cls, const char *name) {
  int32_t i;
  if (!cls)
    return 0;
  for (i = cls->propertyCount - 1; i >= 0; --i)
    if (NamePrefixIs(cls->properties[i].name, name))
      return &cls->properties[i];
  return 0;
}

char PropertyTypeLetter(const PropertyEntry *entry) {
  int32_t i;
  stringStorage *link = entry->name;
  for (i = 0; link && i + 1 < link->length; ++i)
    if (link->buffer[1 + i] == '%')
      return (char)link->buffer[2 + i];
  return 0;
}
