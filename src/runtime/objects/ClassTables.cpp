#include "runtime/objects/ClassTables.h"

#include "runtime/objects/ObjectDefinition.h"

namespace {

// Appends items in row order through a pointer to the last link.
template <typename Item>
struct ListBuilder {
  Item *head = nullptr;
  Item **tail = &head;
  void Append(Item *item) {
    *tail = item;
    tail = &item->next;
  }
};

} // namespace

InstanceVariable *FillInstances(ObjectInstanceTemplate *rows, int count) {
  ListBuilder<InstanceVariable> list;
  for (int i = 0; i < count; ++i) {
    const ObjectInstanceTemplate &row = rows[i];
    auto *item = new InstanceVariable;
    item->name = string(row.name);
    item->type = row.type;
    item->flags = row.flags;
    item->getter = row.getter;
    item->getterExportName = row.getterExportName;
    item->setter = row.setter;
    item->setterExportName = row.setterExportName;
    item->param = row.param;
    item->SetFromTemplate(row.flags, row.commonWord);
    if (!row.setter)
      item->flags |= kReadOnlyProperty;
    list.Append(item);
  }
  return list.head;
}

ObjectMethod *FillMethods(PropertyMethod *rows, int count) {
  ListBuilder<ObjectMethod> list;
  for (int i = 0; i < count; ++i) {
    const PropertyMethod &row = rows[i];
    auto *item = new ObjectMethod;
    item->name = string(row.name);
    item->method = row;
    item->returnText = item->BuildPrototypeReturn();
    item->paramText = item->BuildPrototypeParams();
    item->SetFromTemplate(row.flags, row.commonWord);
    list.Append(item);
  }
  return list.head;
}

void FillHooks(ObjectDefinition *defn, ObjectHookTemplate *rows, int count) {
  ListBuilder<ObjectHook> list;
  for (int i = 0; i < count; ++i) {
    ObjectHookTemplate &row = rows[i];
    auto *hook = new ObjectHook;
    hook->name = string(row.name);
    hook->paramText = string(row.params);
    hook->returnText = string(row.returnType);
    hook->SetFromTemplate(row.flags, row.commonWord);
    row.hook = hook;
    list.Append(hook);
  }
  // The previous list stays with whoever kept its rows' hook pointers; a
  // builder fills its hooks once.
  defn->hooks = list.head;
}

void FillConstants(ObjectDefinition *, ObjectConstantTemplate *, int) {}
