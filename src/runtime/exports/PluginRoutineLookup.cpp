#include "runtime/exports/PluginRoutineLookup.h"

#include <cstring>
#include <string>

#include "foundation/AssertionAlert.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/PluginClassLookup.h"

namespace {

bool SameName(const string &a, const string &b) { return a.Compare(b) == 0; }

// 'M' answers a method record's first function, 'W' its second.
void *MethodCode(const PropertyMethod &method, char kind) {
  return method.implementation[kind == 'W' ? 1 : 0].code;
}

void *FindMember(ObjectDefinition *defn, const string &member, char kind) {
  switch (kind) {
  case 'M':
  case 'W':
    if (!defn) {
      const PropertyMethod *method = FindPluginGlobalMethod(member);
      return method ? MethodCode(*method, kind) : nullptr;
    }
    for (ObjectMethod *method = defn->methods; method; method = method->next)
      if (SameName(method->name, member))
        return MethodCode(method->method, kind);
    return nullptr;
  case 'G':
  case 'S':
    if (!defn)
      return nullptr;
    for (InstanceVariable *property = defn->properties; property; property = property->next)
      if (SameName(property->name, member))
        return kind == 'G' ? property->getter : property->setter;
    return nullptr;
  default:
    ShowAlert({__FILE__, __LINE__, "0"});
    return nullptr;
  }
}

} // namespace

void *getPluginRoutineToc(const char *descriptor) {
  if (!descriptor || !*descriptor)
    return nullptr;
  char kind = descriptor[0];
  const char *bang = std::strchr(descriptor, '!');
  ObjectDefinition *defn = nullptr;
  const char *member = descriptor + 1;
  if (bang && bang > descriptor + 1) {
    std::string classText(descriptor + 1, bang);
    string className(classText.c_str());
    member = bang + 1;
    defn = FindDefinitionByName(className);
    if (!defn)
      ShowAlert({__FILE__, __LINE__, "0"}, ("Unable to load class: " + classText).c_str());
  } else if (bang) {
    member = bang + 1;
  }
  return FindMember(defn, string(member), kind);
}
