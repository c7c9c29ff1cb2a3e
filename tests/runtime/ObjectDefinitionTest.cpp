#include <gtest/gtest.h>

#include <string>

#include "runtime/objects/ClassBackpatchee.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "support/AlertRecorder.h"

namespace {

std::string Str(const string &s) { return s.CString(); }

ObjectDefinition *NamedClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    defn.className = string("EasyTCPSocket");
  return &defn;
}

MethodParameter Param(const char *name, SimplePropertyType &type, bool byRef = false) {
  return {name, &type.type, uint8_t(byRef), {}, 0, {}, 0, {}};
}

} // namespace

TEST(ClassTables, LinkNamesJoinNameReturnClassAndParameterCodes) {
  ArrayPropertyType strings{{kArrayTypeKind}, &stringType.type, 1};
  MethodParameter textParam[] = {Param("text", stringType)};
  MethodParameter mixed[] = {Param("command", integerType), Param("done", booleanType, true),
                             Param("x", singleType), Param("y", doubleType),
                             Param("c", colourType)};
  MethodParameter arrayParam[] = {{"fields", &strings.type, 0, {}, 0, {}, 0, {}}};
  struct Case {
    PropertyMethod row;
    ObjectDefinition *defn;
    const char *link;
  } cases[] = {
      {{"Bare", nullptr, nullptr, 0, {}, 0, 0, 0}, nullptr, "Bare%%"},
      {{"Write", nullptr, textParam, 1, {}, 0, 0, 0}, NamedClass(), "Write%%o<EasyTCPSocket>s"},
      {{"WriteError", &booleanType.type, nullptr, 0, {}, 0, 0, 0},
       NamedClass(),
       "WriteError%b%o<EasyTCPSocket>"},
      {{"Mixed", NamedClass()->AsType(), mixed, 5, {}, 0, 0, 0},
       nullptr,
       "Mixed%o<EasyTCPSocket>%i&bfdc"},
      {{"Join", &stringType.type, arrayParam, 1, {}, 0, 0, 0}, nullptr, "Join%s%as"},
  };
  for (Case &c : cases) {
    ObjectMethod *method = FillMethods(&c.row, 1);
    EXPECT_EQ(Str(method->BuildLinkName(c.defn)), c.link);
    delete method;
  }
}

TEST(ClassTables, TypeCodesOfSimpleTypesIgnoreCaseAndUnknownNamesAlert) {
  SimplePropertyType lower{{kSimpleTypeKind}, "integer", nullptr, nullptr, nullptr, nullptr};
  SimplePropertyType unknown{{kSimpleTypeKind}, "Currency", nullptr, nullptr, nullptr, nullptr};
  EXPECT_EQ(Str(lower.type.BuildLinkNameTypeCode()), "i");
  EXPECT_EQ(Str(externalCStringType.type.BuildLinkNameTypeCode()), "z");
  AlertRecorder alerts;
  EXPECT_TRUE(unknown.type.BuildLinkNameTypeCode().IsEmpty());
  EXPECT_EQ(alerts.count(), 1u);
  ArrayPropertyType strings{{kArrayTypeKind}, &stringType.type, 1};
  EXPECT_EQ(Str(strings.type.GetName()), "String()");
}

TEST(ClassTables, MissingParameterTypeShowsTheAlertWithTheMethodName) {
  MethodParameter untyped[] = {{"value", nullptr, 0, {}, 0, {}, 0, {}}};
  PropertyMethod row{"Broken", nullptr, untyped, 1, {}, 0, 0, 0};
  AlertRecorder alerts;
  ObjectMethod *method = FillMethods(&row, 1);
  alerts.clear();
  EXPECT_EQ(Str(method->BuildLinkName(nullptr)), "Broken%%");
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "param->parameterType");
  EXPECT_EQ(alerts.alerts()[0].message, "Broken has a null parameter type ptr");
  delete method;
}

TEST(ClassTables, FillMethodsComputesParameterAndReturnTexts) {
  ArrayPropertyType strings{{kArrayTypeKind}, &stringType.type, 1};
  MethodParameter params[] = {Param("source", stringType),
                              Param("count", integerType, true),
                              {"parts", &strings.type, 0, {}, 0, {}, 0, {}}};
  PropertyMethod rows[] = {
      {"Split", &strings.type, params, 3, {}, kExtendsAssignsMethod, 4, 7},
      {"Plain", nullptr, params, 1, {}, kPlainMethod, 0, 0},
  };
  ObjectMethod *methods = FillMethods(rows, 2);
  ASSERT_NE(methods, nullptr);
  ASSERT_NE(methods->next, nullptr);
  EXPECT_EQ(Str(methods->paramText),
            "Extends source As String, ByRef count As Integer, Assigns parts() As String");
  EXPECT_EQ(Str(methods->returnText), "String()");
  EXPECT_EQ(methods->consoleSafe, 1);
  EXPECT_EQ(methods->templateWord, 7);
  EXPECT_EQ(Str(methods->next->paramText), "source As String");
  EXPECT_TRUE(methods->next->returnText.IsEmpty());
  EXPECT_EQ(FillMethods(rows, 0), nullptr);
  delete methods->next;
  delete methods;
}

TEST(ClassTables, FillInstancesMarksPropertiesWithoutSetterReadOnly) {
  int getter = 0, setter = 0;
  ObjectInstanceTemplate rows[] = {
      {0x80, "Count", &integerType.type, &getter, "countGetter", nullptr, nullptr, 24, 0},
      {0x4, "Name", &stringType.type, &getter, nullptr, &setter, nullptr, 28, 0},
      {0x8, nullptr, &stringType.type, &getter, nullptr, &setter, nullptr, 32, 0},
  };
  InstanceVariable *list = FillInstances(rows, 3);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->flags, 0x81);
  EXPECT_EQ(Str(list->name), "Count");
  EXPECT_EQ(list->param, 24);
  EXPECT_EQ(list->next->flags, 0x4);
  EXPECT_EQ(list->next->consoleSafe, 1);
  EXPECT_TRUE(list->next->next->name.IsEmpty());
  EXPECT_EQ(list->next->next->flagBit8, 1);
  EXPECT_EQ(list->next->next->next, nullptr);
  EXPECT_EQ(FillInstances(rows, -1), nullptr);
  for (InstanceVariable *next; list; list = next) {
    next = list->next;
    delete list;
  }
}

TEST(ClassTables, FillHooksWritesEachEventBackIntoItsRow) {
  ObjectDefinition defn;
  ObjectHookTemplate rows[] = {{0, "Open", nullptr, nullptr, nullptr, 0},
                               {0x800, "Close", "force As Boolean", "Boolean", nullptr, 5}};
  FillHooks(&defn, rows, 2);
  ASSERT_EQ(defn.hooks, rows[0].hook);
  EXPECT_EQ(defn.hooks->next, rows[1].hook);
  EXPECT_TRUE(rows[0].hook->paramText.IsEmpty());
  EXPECT_EQ(Str(rows[1].hook->returnText), "Boolean");
  EXPECT_EQ(rows[1].hook->consoleSafe, 1);
  EXPECT_EQ(rows[1].hook->templateWord, 5);
}

TEST(ObjectDefinitions, GlobalListHoldsEveryDefinitionNewestFirstUntilDestroyed) {
  auto *older = new ObjectDefinition;
  auto *newer = new ObjectDefinition;
  EXPECT_EQ(GetObjectDefinitionListHead(), newer);
  EXPECT_EQ(newer->nextDefinition, older);
  int visited = 0;
  IterateClasses([](ObjectDefinition *, void *ref) { return ++*static_cast<int *>(ref) < 2; },
                 &visited);
  EXPECT_EQ(visited, 2);
  delete newer;
  EXPECT_EQ(GetObjectDefinitionListHead(), older);
  delete older;
  for (ObjectDefinition *d = GetObjectDefinitionListHead(); d; d = d->nextDefinition)
    EXPECT_NE(d, older);
}

TEST(ObjectDefinitions, IsAFollowsTheSuperclassChain) {
  ObjectDefinition root, middle, leaf, other;
  middle.super = &root;
  leaf.super = &middle;
  EXPECT_TRUE(leaf.IsA(&leaf));
  EXPECT_TRUE(leaf.IsA(&root));
  EXPECT_FALSE(root.IsA(&leaf));
  EXPECT_FALSE(leaf.IsA(&other));
  leaf.addInterface(&other);
  leaf.addInterface(&root);
  EXPECT_EQ(leaf.interfaces->interface, &root); // newest first
  EXPECT_EQ(leaf.interfaces->next->interface, &other);
}

TEST(ClassTables, MethodPrototypesShowAccessKindParametersAndReturn) {
  ArrayPropertyType strings{{kArrayTypeKind}, &stringType.type, 1};
  MethodParameter params[] = {Param("source", stringType), Param("count", integerType, true)};
  struct Case {
    PropertyMethod row;
    int32_t userFlags;
    const char *prototype;
  } cases[] = {
      {{"Split", &strings.type, params, 2, {}, kExtendsMethod, 0, 0},
       kPrivateMember,
       "Private Function Split(Extends source As String, ByRef count As Integer) As String()"},
      {{"Close", nullptr, nullptr, 0, {}, 0, 0, 0}, kProtectedMember, "Protected Sub Close()"},
      {{"Count", &integerType.type, nullptr, 0, {}, 0, 0, 0},
       kPrivateMember | kProtectedMember,
       "Private Function Count() As Integer"},
      {{"Write", nullptr, params, 1, {}, 0, 0, 0}, 0, "Sub Write(source As String)"},
  };
  for (Case &c : cases) {
    ObjectMethod *method = FillMethods(&c.row, 1);
    method->userFlags = c.userFlags;
    EXPECT_EQ(Str(method->BuildPrototype()), c.prototype);
    delete method;
  }
}

TEST(ClassTables, OnlyDefaultParametersNeedsADefaultOnEveryParameter) {
  MethodParameter both[] = {Param("a", integerType), Param("b", integerType)};
  both[0].hasDefault = 1;
  PropertyMethod row{"Pick", nullptr, both, 2, {}, 0, 0, 0};
  ObjectMethod *method = FillMethods(&row, 1);
  EXPECT_FALSE(method->ContainsOnlyDefaultParameters());
  both[1].hasDefault = 1;
  EXPECT_TRUE(method->ContainsOnlyDefaultParameters());
  method->method.paramCount = 0;
  EXPECT_TRUE(method->ContainsOnlyDefaultParameters());
  delete method;
}

TEST(ClassTables, PropertyDeclarationsAndWhatTheySayAboutTheProperty) {
  ObjectInstanceTemplate row{0,  "Port", &integerType.type, nullptr, nullptr, nullptr, nullptr,
                             24, 0};
  InstanceVariable *ivar = FillInstances(&row, 1);
  EXPECT_EQ(Str(ivar->BuildDeclaration()), "Port As Integer");
  EXPECT_FALSE(ivar->IsUserVariable());
  EXPECT_FALSE(ivar->IsArray());
  EXPECT_FALSE(ivar->HasDefaultValue());
  EXPECT_TRUE(ivar->IsVisibleInIDE());

  ivar->userFlags = kProtectedMember | kHasDefaultValue;
  EXPECT_EQ(Str(ivar->BuildDeclaration()), "Protected Port As Integer");
  EXPECT_TRUE(ivar->HasDefaultValue());
  EXPECT_TRUE(ivar->IsVisibleInIDE());

  ivar->arrayType = {{kArrayTypeKind}, &stringType.type, 1};
  ivar->type = &ivar->arrayType.type;
  EXPECT_TRUE(ivar->IsArray());
  EXPECT_EQ(Str(ivar->BuildDeclaration()), "Protected Port As String()");

  // A declaration written in language code stands as it is, after the access.
  ivar->declaration = string("Names(3) As String");
  ivar->userFlags = kPrivateMember;
  EXPECT_TRUE(ivar->IsUserVariable());
  EXPECT_FALSE(ivar->IsVisibleInIDE());
  EXPECT_EQ(Str(ivar->BuildDeclaration()), "Private Names(3) As String");
  delete ivar;
}

TEST(ClassTables, ClassBackpatcheeLeavesTheSlotAlone) {
  ObjectDefinition defn;
  ObjectDefinition *slot = nullptr;
  ClassBackpatchee patchee;
  patchee.ClassPatchApplied(&slot, &defn);
  patchee.ClassPatchFailed(&slot, string("Missing"));
  EXPECT_EQ(slot, nullptr);
}
