// The six Apple-event classes: tables whose entry points give fixed answers
// (InertEntryPoints.def). The typed parameter methods are assignable: the
// getter reads, the setter takes the keyword and the value.
#include "desktop/AppleEventClasses.h"

#include <iterator>

#include "desktop/InertEntryPoints.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

PropertyType *const kString = &stringType.type;

// A four-character code as one word, the first character highest.
constexpr int32_t FourChars(const char (&c)[5]) {
  return static_cast<int32_t>(static_cast<uint32_t>(c[0]) << 24 | static_cast<uint32_t>(c[1]) << 16 |
                              static_cast<uint32_t>(c[2]) << 8 | static_cast<uint32_t>(c[3]));
}
PropertyType *const kInteger = &integerType.type;
PropertyType *const kBoolean = &booleanType.type;

// The class types the rows name; filled before the first class is built.
PropertyType *sFolderItem, *sObjectSpecifier, *sDescList, *sRecord;

#define P(name, type) {name, type, 0, {}, 0, {}, 0, {}}
#define IMPLEMENTATION(function) {EntryCode(function), #function, {}}
#define GETSET(name, params, getter, setter)                                                       \
  {name,      nullptr, params, 2, {IMPLEMENTATION(getter), IMPLEMENTATION(setter)}, kAssignsMethod, \
   0,         0}
#define SETTER_ONLY(name, params, setter)                                                          \
  {name, nullptr, params, 2, {{}, IMPLEMENTATION(setter)}, kAssignsMethod, 0, 0}

MethodParameter sIntegerKeyword[] = {P("Keyword", kString), P("value", kInteger)};
MethodParameter sSingleKeyword[] = {P("Keyword", kString), P("value", &singleType.type)};
MethodParameter sDoubleKeyword[] = {P("Keyword", kString), P("value", &doubleType.type)};
MethodParameter sBooleanKeyword[] = {P("Keyword", kString), P("value", kBoolean)};
MethodParameter sStringKeyword[] = {P("Keyword", kString), P("value", kString)};
MethodParameter sFolderItemKeyword[] = {P("Keyword", kString), P("value", nullptr)};
MethodParameter sDescListKeyword[] = {P("Keyword", kString), P("value", nullptr)};
MethodParameter sObjectSpecifierKeyword[] = {P("Keyword", kString), P("value", nullptr)};
MethodParameter sRecordKeyword[] = {P("Keyword", kString), P("value", nullptr)};
MethodParameter sKeyword[] = {P("Keyword", kString)};
MethodParameter sTemplate[] = {P("template", nullptr)};
MethodParameter sIndex[] = {P("Index", kInteger)};
MethodParameter sIntegerValue[] = {P("Value", kInteger)};
MethodParameter sStringValue[] = {P("Value", kString)};
MethodParameter sFolderItemValue[] = {P("Value", nullptr)};
MethodParameter sRecordValue[] = {P("Value", nullptr)};
MethodParameter sBooleanValue[] = {P("b", kBoolean)};
MethodParameter sDescListValue[] = {P("Value", nullptr)};
MethodParameter sObjectSpecifierValue[] = {P("Value", nullptr)};
#undef P

// The eleven typed parameter methods and SetNullParam, which AppleEvent and
// AppleEventRecord share; the class-typed results are filled when the
// classes are built.
#define TYPED_PARAMETER_ROWS                                                                       \
  GETSET("IntegerParam", sIntegerKeyword, appleEventGetIntParam, appleEventSetIntParam),           \
      GETSET("SingleParam", sSingleKeyword, appleEventGetSingleParam, appleEventSetSingleParam),   \
      GETSET("DoubleParam", sDoubleKeyword, appleEventGetDoubleParam, appleEventSetDoubleParam),   \
      GETSET("BooleanParam", sBooleanKeyword, appleEventGetBooleanParam,                           \
             appleEventSetBooleanParam),                                                           \
      GETSET("StringParam", sStringKeyword, appleEventGetStringParam, appleEventSetStringParam),   \
      GETSET("MacTypeParam", sStringKeyword, appleEventGetMacTypeParam,                            \
             appleEventSetMacTypeParam),                                                           \
      GETSET("EnumeratedParam", sStringKeyword, appleEventGetEnumeratedParam,                      \
             appleEventSetEnumeratedParam),                                                        \
      GETSET("FolderItemParam", sFolderItemKeyword, appleEventGetFolderItemParam,                  \
             appleEventSetFolderItemParam),                                                        \
      GETSET("DescListParam", sDescListKeyword, appleEventGetDescListParam,                        \
             appleEventSetDescParam),                                                              \
      GETSET("ObjectSpecifierParam", sObjectSpecifierKeyword, appleEventGetDescParam,              \
             appleEventSetDescParam),                                                              \
      GETSET("RecordParam", sRecordKeyword, appleEventGetRecordParam, appleEventSetDescParam),     \
      METHOD("SetNullParam", appleEventSetNullParam, nullptr, sKeyword, 1)
#define LOAD_FROM_TEMPLATE_ROW                                                                     \
  METHOD("LoadFromTemplate", appleEventLoadFromTemplate, nullptr, sTemplate, 1)

PropertyMethod sAppleEventMethods[] = {
    TYPED_PARAMETER_ROWS,
    METHOD("Send", appleEventSend, kBoolean, nullptr, 0),
    LOAD_FROM_TEMPLATE_ROW,
};
PropertyMethod sRecordMethods[] = {TYPED_PARAMETER_ROWS, LOAD_FROM_TEMPLATE_ROW};
#undef TYPED_PARAMETER_ROWS
#undef LOAD_FROM_TEMPLATE_ROW

// The typed results of a parameter-method table.
void FillParameterResults(PropertyMethod *m) {
  const PropertyType *types[] = {kInteger,          &singleType.type, &doubleType.type, kBoolean,
                                 kString,           kString,          kString,          sFolderItem,
                                 sDescList,         sObjectSpecifier, sRecord};
  for (size_t i = 0; i < std::size(types); ++i)
    m[i].returnType = const_cast<PropertyType *>(types[i]);
}

#define FIELD(name) static_cast<int32_t>(offsetof(AppleEventObject, name))
ObjectInstanceTemplate sAppleEventProperties[] = {
    {0, "ReplyString", kString, ACCESSOR(appleEventReplyStringGetter),
     ACCESSOR(appleEventReplyStringSetter), 0, 0},
    {0, "ReplyBoolean", kBoolean, ACCESSOR(appleEventReplyBooleanGetter),
     ACCESSOR(appleEventReplyBooleanSetter), 0, 0},
    {0, "ReplyInteger", kInteger, ACCESSOR(appleEventReplyIntegerGetter),
     ACCESSOR(appleEventReplyIntegerSetter), 0, 0},
    {0, "ReplyEnumerated", kString, ACCESSOR(appleEventReply4CharCodeGetter),
     ACCESSOR(appleEventReply4CharCodeSetter), FourChars("enum"), 0},
    {0, "ReplyMacType", kString, ACCESSOR(appleEventReply4CharCodeGetter),
     ACCESSOR(appleEventReply4CharCodeSetter), FourChars("type"), 0},
    {0, "ReplySingle", &singleType.type, ACCESSOR(appleEventReplySingleGetter),
     ACCESSOR(appleEventReplySingleSetter), 0, 0},
    {0, "ReplyDouble", &doubleType.type, ACCESSOR(appleEventReplyDoubleGetter),
     ACCESSOR(appleEventReplyDoubleSetter), 0, 0},
    {0, "ReplyFolderItem", nullptr, ACCESSOR(appleEventReplyFolderItemGetter),
     ACCESSOR(appleEventReplyFolderItemSetter), 0, 0},
    {0, "ReplyObjectSpecifier", nullptr, ACCESSOR(appleEventReplyObjSpecGetter),
     ACCESSOR(appleEventReplyObjSpecSetter), 0, 0},
    {0, "ReplyDescList", nullptr, ACCESSOR(appleEventReplyDescListGetter),
     ACCESSOR(appleEventReplyObjSpecSetter), 0, 0},
    {0, "ReplyRecord", nullptr, ACCESSOR(appleEventReplyRecordGetter),
     ACCESSOR(appleEventReplyObjSpecSetter), 0, 0},
    {0, "Timeout", kInteger, ACCESSOR(intGetter), ACCESSOR(intSetter), FIELD(timeout), 0},
    {0, "Ptr", kInteger, ACCESSOR(appleEventPtrGetter), NO_ACCESSOR, 0, 0},
    {0, "ReplyPtr", kInteger, ACCESSOR(appleEventPtrGetter), NO_ACCESSOR, 1, 0},
};
#undef FIELD
enum { kReplyFolderItemRow = 7, kReplyObjectSpecifierRow, kReplyDescListRow, kReplyRecordRow };

ObjectInstanceTemplate sDescListProperties[] = {
    {0, "Count", kInteger, ACCESSOR(appleEventDescListCount), NO_ACCESSOR, 0, 0},
};

PropertyMethod sDescListMethods[] = {
    METHOD("IntegerItem", appleEventDescListGetIntItem, kInteger, sIndex, 1),
    METHOD("StringItem", appleEventDescListGetStrItem, kString, sIndex, 1),
    METHOD("FolderItemItem", appleEventDescListGetFolderItemItem, nullptr, sIndex, 1),
    METHOD("RecordItem", appleEventDescListGetRecordItem, nullptr, sIndex, 1),
    METHOD("BooleanItem", appleEventDescListGetBooleanItem, kBoolean, sIndex, 1),
    METHOD("DescListItem", appleEventDescListGetDescListItem, nullptr, sIndex, 1),
    METHOD("ObjectSpecifierItem", appleEventDescListGetObjSpecItem, nullptr, sIndex, 1),
    METHOD("AppendInteger", appleEventDescListAppendInteger, nullptr, sIntegerValue, 1),
    METHOD("AppendString", appleEventDescListAppendString, nullptr, sStringValue, 1),
    METHOD("AppendFolderItem", appleEventDescListAppendFolderItem, nullptr, sFolderItemValue, 1),
    METHOD("AppendRecord", appleEventDescListAppendRecord, nullptr, sRecordValue, 1),
    METHOD("AppendBoolean", appleEventDescListAppendBoolean, nullptr, sBooleanValue, 1),
    METHOD("AppendDescList", appleEventDescListAppendRecord, nullptr, sDescListValue, 1),
    METHOD("AppendObjectSpecifier", appleEventDescListAppendRecord, nullptr,
           sObjectSpecifierValue, 1),
};
enum { kFolderItemItemRow = 2, kRecordItemRow = 3, kDescListItemRow = 5, kObjSpecItemRow = 6 };

MethodParameter sTemplateInteger[] = {{"Keyword", kString, 0, {}, 0, {}, 0, {}},
                                      {"value", kInteger, 0, {}, 0, {}, 0, {}}};
PropertyMethod sTemplateMethods[] = {
    SETTER_ONLY("IntegerParam", sTemplateInteger, aeTemplateSetIntParam),
    SETTER_ONLY("StringParam", sStringKeyword, aeTemplateSetStringParam),
    SETTER_ONLY("FolderItemParam", sFolderItemKeyword, aeTemplateSetFolderItemParam),
};

ObjectInstanceTemplate sTargetProperties[] = {
    {0, "Remote", kBoolean, ACCESSOR(aeTargetRemoteGetter), NO_ACCESSOR, 0, 0},
    {0, "Name", kString, ACCESSOR(aeTargetNameGetter), NO_ACCESSOR, 0, 0},
    {0, "Zone", kString, ACCESSOR(aeTargetZoneGetter), NO_ACCESSOR, 0, 0},
    {0, "Computer", kString, ACCESSOR(aeTargetComputerGetter), NO_ACCESSOR, 0, 0},
    {0, "PortType", kString, ACCESSOR(aeTargetPortTypeGetter), NO_ACCESSOR, 0, 0},
};

void NoDestruction(RuntimeObject *) {}

// A class of the family: not console-only, not made by New.
ObjectDefinition *Define(ObjectDefinition &defn, const char *name, int32_t size,
                         ObjectInstanceTemplate *properties, int32_t propertyCount,
                         PropertyMethod *methods, int32_t methodCount,
                         ObjectProc destructor = nullptr) {
  DefineBuiltinClass(defn, {name, size, nullptr, destructor, false}, properties, propertyCount,
                     methods, methodCount);
  return &defn;
}

// The definitions of the family, made empty so that they can stand as types
// before their tables are filled.
ObjectDefinition sAppleEvent, sRecordDefn, sDescListDefn, sObjectSpecifierDefn, sTemplateDefn,
    sTargetDefn;

void FillTypes() {
  sFolderItem = ForeignClassType(GetBuiltinClassHooks().FolderItemClass, "FolderItem");
  sObjectSpecifier = sObjectSpecifierDefn.AsType();
  sDescList = sDescListDefn.AsType();
  sRecord = sRecordDefn.AsType();
  sTemplate[0].type = sTemplateDefn.AsType();
  for (MethodParameter *p : {&sFolderItemKeyword[1], &sFolderItemValue[0]})
    p->type = sFolderItem;
  sDescListKeyword[1].type = sDescListValue[0].type = sDescList;
  sObjectSpecifierKeyword[1].type = sObjectSpecifierValue[0].type = sObjectSpecifier;
  sRecordKeyword[1].type = sRecordValue[0].type = sRecord;
  FillParameterResults(sAppleEventMethods);
  FillParameterResults(sRecordMethods);
  sAppleEventProperties[kReplyFolderItemRow].type = sFolderItem;
  sAppleEventProperties[kReplyObjectSpecifierRow].type = sObjectSpecifier;
  sAppleEventProperties[kReplyDescListRow].type = sDescList;
  sAppleEventProperties[kReplyRecordRow].type = sRecord;
  sDescListMethods[kFolderItemItemRow].returnType = sFolderItem;
  sDescListMethods[kRecordItemRow].returnType = sRecord;
  sDescListMethods[kDescListItemRow].returnType = sDescList;
  sDescListMethods[kObjSpecItemRow].returnType = sObjectSpecifier;
}

// The rows' texts name their types when they are filled, and the family's
// classes name each other (a DescList's items include DescLists): every
// class has its name before any table is filled.
void BuildFamily() {
  if (!sAppleEvent.className.IsEmpty())
    return;
  sRecordDefn.className = string("AppleEventRecord");
  sDescListDefn.className = string("AppleEventDescList");
  sObjectSpecifierDefn.className = string("AppleEventObjectSpecifier");
  sTemplateDefn.className = string("AppleEventTemplate");
  FillTypes();
  Define(sAppleEvent, "AppleEvent", sizeof(AppleEventObject), sAppleEventProperties,
         std::size(sAppleEventProperties), sAppleEventMethods, std::size(sAppleEventMethods));
  Define(sRecordDefn, "AppleEventRecord", kAppleEventDescriptorSize, nullptr, 0, sRecordMethods,
         std::size(sRecordMethods));
  Define(sDescListDefn, "AppleEventDescList", kAppleEventDescriptorSize, sDescListProperties,
         std::size(sDescListProperties), sDescListMethods, std::size(sDescListMethods));
  Define(sObjectSpecifierDefn, "AppleEventObjectSpecifier", kAppleEventDescriptorSize, nullptr, 0,
         nullptr, 0);
  Define(sTemplateDefn, "AppleEventTemplate", kAppleEventTemplateSize, nullptr, 0,
         sTemplateMethods, std::size(sTemplateMethods), NoDestruction);
  Define(sTargetDefn, "AppleEventTarget", kAppleEventTargetSize, sTargetProperties,
         std::size(sTargetProperties), nullptr, 0);
}

} // namespace

#define FAMILY_MEMBER(builder, defn)                                                               \
  ObjectDefinition *builder() {                                                                    \
    BuildFamily();                                                                                 \
    return &defn;                                                                                  \
  }
FAMILY_MEMBER(AppleEventClass, sAppleEvent)
FAMILY_MEMBER(AppleEventRecordClass, sRecordDefn)
FAMILY_MEMBER(AppleEventDescListClass, sDescListDefn)
FAMILY_MEMBER(AppleEventObjectSpecifierClass, sObjectSpecifierDefn)
FAMILY_MEMBER(AppleEventTemplateClass, sTemplateDefn)
FAMILY_MEMBER(AppleEventTargetClass, sTargetDefn)
#undef FAMILY_MEMBER

void RegisterAppleEventClasses() {
  for (ObjectDefinition *(*builder)() :
       {AppleEventClass, AppleEventRecordClass, AppleEventDescListClass,
        AppleEventObjectSpecifierClass, AppleEventTemplateClass, AppleEventTargetClass})
    addIntrinsicClass(builder());
}
