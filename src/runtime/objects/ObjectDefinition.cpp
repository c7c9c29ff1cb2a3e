#include "runtime/objects/ObjectDefinition.h"

#include "foundation/Memory.h"

namespace {

ObjectDefinition *sDefinitionListHead = nullptr;

template <typename Item>
void DeleteList(Item *head) {
  while (head) {
    Item *next = head->next;
    delete head;
    head = next;
  }
}

// Parameter lists of definitions without static tables (plug-in classes) were
// allocated with their names; they go with the definition.
void DeleteAllocatedParameters(ObjectMethod *method) {
  for (int32_t i = 0; i < method->method.paramCount; ++i)
    delete[] method->method.params[i].name;
  delete[] method->method.params;
  method->method.params = nullptr;
}

} // namespace

void CommonObject::SetFromTemplate(int32_t flags, int32_t word) {
  uint8_t console = (flags & (0x4 | 0x800)) ? 1 : 0;
  consoleSafe = console;
  consoleSafeCopy = console;
  flagBit8 = (flags & 0x8) ? 1 : 0;
  templateWord = word;
}

InstanceVariable::~InstanceVariable() { delete[] defaultValueText; }

ObjectDefinition::ObjectDefinition() {
  nextDefinition = sDefinitionListHead;
  sDefinitionListHead = this;
}

ObjectDefinition::~ObjectDefinition() {
  for (ObjectDefinition **link = &sDefinitionListHead; *link; link = &(*link)->nextDefinition)
    if (*link == this) {
      *link = nextDefinition;
      break;
    }
  DeleteList(properties);
  if (!staticTables)
    for (ObjectMethod *m = methods; m; m = m->next)
      DeleteAllocatedParameters(m);
  DeleteList(methods);
  DeleteList(hooks);
  DeleteList(hookInstances);
  while (ObjectDefinitionInterface *entry = interfaces) {
    interfaces = entry->next;
    OSfreelen(reinterpret_cast<char *>(entry->codeTable),
              long(sizeof(void *)) * entry->codeTableLength);
    delete entry;
  }
  // Menu-handler items are not owned by the definition.
}

InstanceVariable *ObjectDefinition::GetPropertyListTail() const {
  InstanceVariable *tail = properties;
  while (tail && tail->next)
    tail = tail->next;
  return tail;
}

void ObjectDefinition::addInterface(ObjectDefinition *interfaceDefn) {
  interfaces = new ObjectDefinitionInterface{interfaces, interfaceDefn, nullptr, 0};
}

bool ObjectDefinition::IsA(const ObjectDefinition *other) const {
  for (const ObjectDefinition *d = this; d; d = d->super)
    if (d == other)
      return true;
  return false;
}

ObjectHookInstance *ObjectDefinition::FindHookInstance(const string &eventName) const {
  for (const ObjectDefinition *d = this; d; d = d->super)
    for (ObjectHookInstance *handler = d->hookInstances; handler; handler = handler->next)
      if (handler->name.Compare(eventName) == 0)
        return handler;
  return nullptr;
}

ObjectDefinition *GetObjectDefinitionListHead() { return sDefinitionListHead; }

bool IterateClasses(bool (*fn)(ObjectDefinition *defn, void *ref), void *ref) {
  for (ObjectDefinition *d = sDefinitionListHead; d;) {
    ObjectDefinition *next = d->nextDefinition;
    if (!fn(d, ref))
      return false;
    d = next;
  }
  return true;
}
