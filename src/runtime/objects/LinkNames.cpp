// The texts made from type descriptors and method items: type names, the
// one-letter type codes, link names and the parameter and return texts.
#include "foundation/AssertionAlert.h"
#include "foundation/ByteStrings.h"
#include "runtime/objects/ObjectDefinition.h"

namespace {

struct SimpleTypeCode {
  const char *typeName;
  const char *code;
};
constexpr SimpleTypeCode kSimpleTypeCodes[] = {
    {"String", "s"}, {"Integer", "i"}, {"Boolean", "b"}, {"Single", "f"},  {"Double", "d"},
    {"Color", "c"},  {"Ptr", "p"},     {"CString", "z"}, {"PString", "l"}, {"WindowPtr", "w"},
};

const SimplePropertyType *AsSimple(const PropertyType *t) {
  return reinterpret_cast<const SimplePropertyType *>(t);
}
const ArrayPropertyType *AsArray(const PropertyType *t) {
  return reinterpret_cast<const ArrayPropertyType *>(t);
}
const ObjectDefinition *AsDefinition(const PropertyType *t) {
  return reinterpret_cast<const ObjectDefinition *>(t);
}

} // namespace

string PropertyType::GetName() const {
  switch (kind) {
  case kSimpleTypeKind:
    return string(AsSimple(this)->name);
  case kClassTypeKind:
    return AsDefinition(this)->className;
  case kArrayTypeKind: {
    const PropertyType *element = AsArray(this)->elementType;
    RUNTIME_CHECK(element); // atype->elementType
    return (element ? element->GetName() : string()) + string("()");
  }
  default:
    return string();
  }
}

string PropertyType::BuildLinkNameTypeCode() const {
  switch (kind) {
  case kSimpleTypeKind: {
    const char *name = AsSimple(this)->name;
    for (const SimpleTypeCode &entry : kSimpleTypeCodes)
      if (name && ustrcmpi(name, entry.typeName) == 0)
        return string(entry.code);
    RUNTIME_CHECK(0); // a simple type without a code
    return string();
  }
  case kArrayTypeKind: {
    const PropertyType *element = AsArray(this)->elementType;
    return string("a") + (element ? element->BuildLinkNameTypeCode() : string());
  }
  case kNamelessClassTypeKind:
  case kClassTypeKind:
    return string("o<") + GetName() + string(">");
  default:
    return string();
  }
}

string ObjectMethod::BuildLinkName(const ObjectDefinition *defn) const {
  string link = name + string("%");
  if (method.returnType)
    link += method.returnType->BuildLinkNameTypeCode();
  link += "%";
  if (defn)
    link += string("o<") + defn->className + string(">");
  for (int32_t i = 0; i < method.paramCount; ++i) {
    const MethodParameter &param = method.params[i];
    if (param.byReference)
      link += "&";
    if (!param.type) {
      string message = name + string(" has a null parameter type ptr");
      ShowAlert({__FILE__, __LINE__, "param->parameterType"}, message.CString());
      continue;
    }
    link += param.type->BuildLinkNameTypeCode();
  }
  return link;
}

string ObjectMethod::BuildPrototypeParams() const {
  if (method.paramCount <= 0 && !paramText.IsEmpty())
    return paramText;
  string text;
  int32_t last = method.paramCount - 1;
  for (int32_t i = 0; i <= last; ++i) {
    const MethodParameter &param = method.params[i];
    if (i > 0)
      text += ", ";
    if (i == 0 && (method.methodKind & kExtendsMethod))
      text += "Extends ";
    if (i == last && (method.methodKind & kAssignsMethod))
      text += "Assigns ";
    if (param.byReference)
      text += "ByRef ";
    text += string(param.name);
    if (param.type && param.type->kind == kArrayTypeKind) {
      const PropertyType *element = AsArray(param.type)->elementType;
      text += "() As ";
      text += element ? element->GetName() : string();
    } else {
      text += " As ";
      text += param.type ? param.type->GetName() : string();
    }
  }
  return text;
}

string ObjectMethod::BuildPrototypeReturn() const {
  return method.returnType ? method.returnType->GetName() : returnText;
}
