#include "support/ClassTableChecks.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/String.h"
#include "runtime/exports/ExportTable.h"

void *BoundAddress(const char *exportName) {
  const RelocEntry *entry = resolveRelocEntry(exportName);
  return entry ? entry->address : nullptr;
}

void ExpectRunTimeProperties(const RuntimeClass *cls, const std::vector<PropertyRow> &rows) {
  ASSERT_EQ(cls->propertyCount, static_cast<int32_t>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    const PropertyEntry &entry = cls->properties[i];
    EXPECT_STREQ(stringStorage::CString(entry.name), rows[i].linkName) << i;
    EXPECT_EQ(entry.param, rows[i].param) << rows[i].linkName;
    EXPECT_EQ(entry.getter, rows[i].getter) << rows[i].linkName;
    EXPECT_EQ(entry.setter, rows[i].setter) << rows[i].linkName;
  }
}

void ExpectPropertyFlagsAndExports(const std::vector<const InstanceVariable *> &properties,
                                   const std::vector<PropertyRow> &rows) {
  ASSERT_EQ(properties.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    ASSERT_NE(properties[i], nullptr);
    EXPECT_EQ(properties[i]->flags, rows[i].flags | (rows[i].setter ? 0 : kReadOnlyProperty))
        << rows[i].linkName;
    ExpectAccessorsBound(properties[i]);
  }
}

void ExpectAccessorsBound(const InstanceVariable *property) {
  // Compiled code imports the accessors by these names: each must lead back
  // to the accessor itself.
  if (property->getter) {
    EXPECT_EQ(BoundAddress(property->getterExportName), property->getter)
        << property->getterExportName;
  }
  if (property->setter) {
    EXPECT_EQ(BoundAddress(property->setterExportName), property->setter)
        << property->setterExportName;
  }
}

void ExpectMethodsBound(const ObjectDefinition *defn) {
  for (const ObjectMethod *m = defn->methods; m; m = m->next)
    if (void *code = m->method.implementation[0].code) {
      EXPECT_EQ(BoundAddress(m->method.implementation[0].exportName), code)
          << defn->className.CString() << "." << m->name.CString();
    }
}

std::vector<std::string> DescribeClass(const ObjectDefinition *defn) {
  std::vector<std::string> lines;
  std::string head = defn->className.CString();
  if (defn->super)
    head += std::string(" : ") + defn->super->className.CString();
  head += ", size " + std::to_string(defn->objectSize) + (defn->newAllowed ? ", New" : "");
  lines.push_back(head);
  for (const ObjectDefinitionInterface *i = defn->interfaces; i; i = i->next)
    lines.push_back(std::string("implements ") + i->interface->className.CString());
  for (const InstanceVariable *p = defn->properties; p; p = p->next) {
    std::string line = p->BuildDeclaration().CString();
    line += std::string(", ") + (p->getterExportName ? p->getterExportName : "-") + "(" +
            std::to_string(p->param) + ") / " + (p->setterExportName ? p->setterExportName : "-") +
            ", flags " + std::to_string(p->flags);
    lines.push_back(line);
  }
  for (const ObjectMethod *m = defn->methods; m; m = m->next) {
    const MethodImplementation *forms = m->method.implementation;
    std::string line = m->BuildPrototype().CString();
    line += std::string(" = ") + (forms[0].exportName ? forms[0].exportName : "-");
    if (m->method.methodKind & kAssignsMethod)
      line += std::string("; set ") + (forms[1].exportName ? forms[1].exportName : "-");
    lines.push_back(line);
  }
  for (const ObjectHook *h = defn->hooks; h; h = h->next) {
    std::string line = std::string("event ") + h->name.CString() + "(" + h->paramText.CString() +
                       ")";
    if (!h->returnText.IsEmpty())
      line += std::string(" As ") + h->returnText.CString();
    lines.push_back(line);
  }
  return lines;
}

void ExpectEveryExportBound(const ObjectDefinition *defn) {
  for (const InstanceVariable *p = defn->properties; p; p = p->next)
    ExpectAccessorsBound(p);
  for (const ObjectMethod *m = defn->methods; m; m = m->next)
    for (const MethodImplementation &form : m->method.implementation)
      if (form.code) {
        EXPECT_EQ(BoundAddress(form.exportName), form.code)
            << defn->className.CString() << "." << m->name.CString() << " " << form.exportName;
      }
}
