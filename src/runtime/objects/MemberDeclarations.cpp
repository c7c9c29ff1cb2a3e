// The declaration texts of methods and properties, written the way language
// code declares them, and the questions asked about a member's declaration.
#include "runtime/objects/ObjectDefinition.h"

namespace {

string AccessPrefix(int32_t userFlags) {
  if (userFlags & kPrivateMember)
    return string("Private ");
  if (userFlags & kProtectedMember)
    return string("Protected ");
  return string();
}

} // namespace

string ObjectMethod::BuildPrototype() const {
  string text = AccessPrefix(userFlags);
  text += returnText.IsEmpty() ? "Sub " : "Function ";
  text += name;
  text += "(";
  text += paramText;
  text += ")";
  if (!returnText.IsEmpty()) {
    text += " As ";
    text += returnText;
  }
  return text;
}

bool ObjectMethod::ContainsOnlyDefaultParameters() const {
  for (int32_t i = 0; i < method.paramCount; ++i)
    if (!method.params[i].hasDefault)
      return false;
  return true;
}

string InstanceVariable::BuildDeclaration() const {
  string text = AccessPrefix(userFlags);
  if (IsUserVariable()) {
    text += declaration;
    return text;
  }
  text += name;
  text += " As ";
  if (type)
    text += type->GetName();
  return text;
}
