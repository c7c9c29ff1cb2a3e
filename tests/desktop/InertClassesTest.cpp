// The inert classes of other platforms: each class's tables against the
// golden table of its members (order, types, index arguments, flags,
// parameter records, interfaces, size), every entry point bound under its
// export name, and the answers the members give as compiled code calls them
// through those names.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "desktop/AppleEventClasses.h"
#include "desktop/InertEntryPoints.h"
#include "desktop/MovieEngine.h"
#include "desktop/AutomationClasses.h"
#include "desktop/InertWindowClasses.h"
#include "desktop/KeyChainRegistryClasses.h"
#include "desktop/MovieClasses.h"
#include "desktop/OLEContainer.h"
#include "language/Variant.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/AlertRecorder.h"
#include "support/ClassTableChecks.h"
#include "support/ImageRunner.h"

namespace {

using Lines = std::vector<std::string>;

struct GoldenClass {
  ObjectDefinition *(*builder)();
  Lines lines;
};

const std::vector<GoldenClass> kGoldenClasses = {
    {OLEObjectClass,
      {
       "OLEObject, size 40, New",
       "Sub OLEObject(programID As String) = OLEObjectProgramIDConstructor",
       "Sub OLEObject(programID As String, newInstance As Boolean) = OLEObjectNewInstanceConstructor",
       "Function Invoke(name As String) As Variant = OLEObjectInvoke",
       "Sub Invoke(name As String) = OLEObjectInvokeNoReturnValue",
       "Function Invoke(nameOfFunction As String, parameters() As Variant) As Variant = OLEObjectInvokeWithParams",
       "Sub Invoke(nameOfFunction As String, parameters() As Variant) = OLEObjectInvokeWithParamsNoReturnValue",
       "Function Property(name As String, Assigns value As Variant) As Variant = OLEObjectPropertyGetter; set OLEObjectPropertySetter",
       "Function Property(name As String, byvalue As Boolean, Assigns value As Variant) As Variant = -; set OLEObjectPropertySetterWithValue",
       "Sub Operator_Lookup(memberName As String, params() As Variant) = OLEObjectNoReturnOperatorLookup",
       "Function Operator_Lookup(memberName As String, params() As Variant) As OLEObject = OLEObjectOperatorLookup",
       "Function Operator_Lookup(memberName As String, Assigns value As Variant) As Variant = -; set OLEObjectOperatorLookupSetter",
       "Function Operator_Convert() As Variant = OLEObjectOperatorConvert",
       "Function Operator_Compare(rhs As Variant) As Integer = OLEObjectOperatorCompare",
       "Function Operator_Add(rhs As Variant) As Variant = OLEObjectOperatorAdd",
       "Function Operator_AddRight(rhs As Variant) As Variant = OLEObjectOperatorAddRight",
       "Function Operator_Subtract(rhs As Variant) As Variant = OLEObjectOperatorSubtract",
       "Function Operator_SubtractRight(rhs As Variant) As Variant = OLEObjectOperatorSubtractRight",
       "Function Operator_Multiply(rhs As Variant) As Variant = OLEObjectOperatorMultiply",
       "Function Operator_MultiplyRight(rhs As Variant) As Variant = OLEObjectOperatorMultiplyRight",
       "Function Operator_Divide(rhs As Variant) As Variant = OLEObjectOperatorDivide",
       "Function Operator_DivideRight(rhs As Variant) As Variant = OLEObjectOperatorDivideRight",
       "Function Operator_IntegerDivide(rhs As Variant) As Variant = OLEObjectOperatorIntegerDivide",
       "Function Operator_IntegerDivideRight(rhs As Variant) As Variant = OLEObjectOperatorIntegerDivideRight",
       "Function Operator_Modulo(rhs As Variant) As Variant = OLEObjectOperatorModulo",
       "Function Operator_ModuloRight(rhs As Variant) As Variant = OLEObjectOperatorModuloRight",
       "Function Operator_Negate() As Variant = OLEObjectOperatorNegate",
      }},
    {OLEParameterClass,
      {
       "OLEParameter, size 40, New",
       "PassByref As Boolean, boolGetter(24) / boolSetter, flags 4",
       "Position As Integer, intGetter(28) / intSetter, flags 4",
       "Type As Integer, intGetter(32) / intSetter, flags 4",
       "Value As Variant, objGetter(36) / objSetter, flags 4",
      }},
    {AppleEventClass,
      {
       "AppleEvent, size 52",
       "ReplyString As String, appleEventReplyStringGetter(0) / appleEventReplyStringSetter, flags 0",
       "ReplyBoolean As Boolean, appleEventReplyBooleanGetter(0) / appleEventReplyBooleanSetter, flags 0",
       "ReplyInteger As Integer, appleEventReplyIntegerGetter(0) / appleEventReplyIntegerSetter, flags 0",
       "ReplyEnumerated As String, appleEventReply4CharCodeGetter(1701737837) / appleEventReply4CharCodeSetter, flags 0",
       "ReplyMacType As String, appleEventReply4CharCodeGetter(1954115685) / appleEventReply4CharCodeSetter, flags 0",
       "ReplySingle As Single, appleEventReplySingleGetter(0) / appleEventReplySingleSetter, flags 0",
       "ReplyDouble As Double, appleEventReplyDoubleGetter(0) / appleEventReplyDoubleSetter, flags 0",
       "ReplyFolderItem As FolderItem, appleEventReplyFolderItemGetter(0) / appleEventReplyFolderItemSetter, flags 0",
       "ReplyObjectSpecifier As AppleEventObjectSpecifier, appleEventReplyObjSpecGetter(0) / appleEventReplyObjSpecSetter, flags 0",
       "ReplyDescList As AppleEventDescList, appleEventReplyDescListGetter(0) / appleEventReplyObjSpecSetter, flags 0",
       "ReplyRecord As AppleEventRecord, appleEventReplyRecordGetter(0) / appleEventReplyObjSpecSetter, flags 0",
       "Timeout As Integer, intGetter(48) / intSetter, flags 0",
       "Ptr As Integer, appleEventPtrGetter(0) / -, flags 1",
       "ReplyPtr As Integer, appleEventPtrGetter(1) / -, flags 1",
       "Function IntegerParam(Keyword As String, Assigns value As Integer) As Integer = appleEventGetIntParam; set appleEventSetIntParam",
       "Function SingleParam(Keyword As String, Assigns value As Single) As Single = appleEventGetSingleParam; set appleEventSetSingleParam",
       "Function DoubleParam(Keyword As String, Assigns value As Double) As Double = appleEventGetDoubleParam; set appleEventSetDoubleParam",
       "Function BooleanParam(Keyword As String, Assigns value As Boolean) As Boolean = appleEventGetBooleanParam; set appleEventSetBooleanParam",
       "Function StringParam(Keyword As String, Assigns value As String) As String = appleEventGetStringParam; set appleEventSetStringParam",
       "Function MacTypeParam(Keyword As String, Assigns value As String) As String = appleEventGetMacTypeParam; set appleEventSetMacTypeParam",
       "Function EnumeratedParam(Keyword As String, Assigns value As String) As String = appleEventGetEnumeratedParam; set appleEventSetEnumeratedParam",
       "Function FolderItemParam(Keyword As String, Assigns value As FolderItem) As FolderItem = appleEventGetFolderItemParam; set appleEventSetFolderItemParam",
       "Function DescListParam(Keyword As String, Assigns value As AppleEventDescList) As AppleEventDescList = appleEventGetDescListParam; set appleEventSetDescParam",
       "Function ObjectSpecifierParam(Keyword As String, Assigns value As AppleEventObjectSpecifier) As AppleEventObjectSpecifier = appleEventGetDescParam; set appleEventSetDescParam",
       "Function RecordParam(Keyword As String, Assigns value As AppleEventRecord) As AppleEventRecord = appleEventGetRecordParam; set appleEventSetDescParam",
       "Sub SetNullParam(Keyword As String) = appleEventSetNullParam",
       "Function Send() As Boolean = appleEventSend",
       "Sub LoadFromTemplate(template As AppleEventTemplate) = appleEventLoadFromTemplate",
      }},
    {AppleEventRecordClass,
      {
       "AppleEventRecord, size 52",
       "Function IntegerParam(Keyword As String, Assigns value As Integer) As Integer = appleEventGetIntParam; set appleEventSetIntParam",
       "Function SingleParam(Keyword As String, Assigns value As Single) As Single = appleEventGetSingleParam; set appleEventSetSingleParam",
       "Function DoubleParam(Keyword As String, Assigns value As Double) As Double = appleEventGetDoubleParam; set appleEventSetDoubleParam",
       "Function BooleanParam(Keyword As String, Assigns value As Boolean) As Boolean = appleEventGetBooleanParam; set appleEventSetBooleanParam",
       "Function StringParam(Keyword As String, Assigns value As String) As String = appleEventGetStringParam; set appleEventSetStringParam",
       "Function MacTypeParam(Keyword As String, Assigns value As String) As String = appleEventGetMacTypeParam; set appleEventSetMacTypeParam",
       "Function EnumeratedParam(Keyword As String, Assigns value As String) As String = appleEventGetEnumeratedParam; set appleEventSetEnumeratedParam",
       "Function FolderItemParam(Keyword As String, Assigns value As FolderItem) As FolderItem = appleEventGetFolderItemParam; set appleEventSetFolderItemParam",
       "Function DescListParam(Keyword As String, Assigns value As AppleEventDescList) As AppleEventDescList = appleEventGetDescListParam; set appleEventSetDescParam",
       "Function ObjectSpecifierParam(Keyword As String, Assigns value As AppleEventObjectSpecifier) As AppleEventObjectSpecifier = appleEventGetDescParam; set appleEventSetDescParam",
       "Function RecordParam(Keyword As String, Assigns value As AppleEventRecord) As AppleEventRecord = appleEventGetRecordParam; set appleEventSetDescParam",
       "Sub SetNullParam(Keyword As String) = appleEventSetNullParam",
       "Sub LoadFromTemplate(template As AppleEventTemplate) = appleEventLoadFromTemplate",
      }},
    {AppleEventDescListClass,
      {
       "AppleEventDescList, size 52",
       "Count As Integer, appleEventDescListCount(0) / -, flags 1",
       "Function IntegerItem(Index As Integer) As Integer = appleEventDescListGetIntItem",
       "Function StringItem(Index As Integer) As String = appleEventDescListGetStrItem",
       "Function FolderItemItem(Index As Integer) As FolderItem = appleEventDescListGetFolderItemItem",
       "Function RecordItem(Index As Integer) As AppleEventRecord = appleEventDescListGetRecordItem",
       "Function BooleanItem(Index As Integer) As Boolean = appleEventDescListGetBooleanItem",
       "Function DescListItem(Index As Integer) As AppleEventDescList = appleEventDescListGetDescListItem",
       "Function ObjectSpecifierItem(Index As Integer) As AppleEventObjectSpecifier = appleEventDescListGetObjSpecItem",
       "Sub AppendInteger(Value As Integer) = appleEventDescListAppendInteger",
       "Sub AppendString(Value As String) = appleEventDescListAppendString",
       "Sub AppendFolderItem(Value As FolderItem) = appleEventDescListAppendFolderItem",
       "Sub AppendRecord(Value As AppleEventRecord) = appleEventDescListAppendRecord",
       "Sub AppendBoolean(b As Boolean) = appleEventDescListAppendBoolean",
       "Sub AppendDescList(Value As AppleEventDescList) = appleEventDescListAppendRecord",
       "Sub AppendObjectSpecifier(Value As AppleEventObjectSpecifier) = appleEventDescListAppendRecord",
      }},
    {AppleEventObjectSpecifierClass,
      {
       "AppleEventObjectSpecifier, size 52",
      }},
    {AppleEventTemplateClass,
      {
       "AppleEventTemplate, size 40",
       "Sub IntegerParam(Keyword As String, Assigns value As Integer) = -; set aeTemplateSetIntParam",
       "Sub StringParam(Keyword As String, Assigns value As String) = -; set aeTemplateSetStringParam",
       "Sub FolderItemParam(Keyword As String, Assigns value As FolderItem) = -; set aeTemplateSetFolderItemParam",
      }},
    {AppleEventTargetClass,
      {
       "AppleEventTarget, size 276",
       "Remote As Boolean, aeTargetRemoteGetter(0) / -, flags 1",
       "Name As String, aeTargetNameGetter(0) / -, flags 1",
       "Zone As String, aeTargetZoneGetter(0) / -, flags 1",
       "Computer As String, aeTargetComputerGetter(0) / -, flags 1",
       "PortType As String, aeTargetPortTypeGetter(0) / -, flags 1",
      }},
    {KeyChainClass,
      {
       "KeyChain, size 28, New",
       "Handle As Integer, intGetter(24) / -, flags 1",
       "Sub KeyChain(Index As Integer) = KeyChainConstructor",
       "Sub Unlock(Password As String) = KeyChainUnlock",
       "Sub Lock(LockAll As Boolean) = KeyChainLock",
       "Sub AddPassword(KCItem As KeyChainItem, Password As String) = KeyChainAddPassword",
       "Function FindPassword(KCItem As KeyChainItem) As String = KeyChainFindPassword",
      }},
    {KeyChainItemClass,
      {
       "KeyChainItem, size 48",
       "Description As String, KeyChainItemAttributeGetter(0) / KeyChainItemAttributeSetter, flags 0",
       "Comment As String, KeyChainItemAttributeGetter(0) / KeyChainItemAttributeSetter, flags 0",
       "Label As String, KeyChainItemAttributeGetter(0) / KeyChainItemAttributeSetter, flags 0",
       "ServiceName As String, KeyChainItemAttributeGetter(0) / KeyChainItemAttributeSetter, flags 0",
       "AccountName As String, KeyChainItemAttributeGetter(0) / KeyChainItemAttributeSetter, flags 0",
       "Sub Delete() = KeyChainItemDelete",
      }},
    {RegistryItemClass,
      {
       "RegistryItem, size 28, New",
       "Parent As RegistryItem, RegistryParentGetter(0) / -, flags 133",
       "KeyCount As Integer, RegistryItemKeyCountGetter(0) / -, flags 133",
       "FolderCount As Integer, RegistryItemFolderCountGetter(0) / -, flags 133",
       "Path As String, RegistryItemPathGetter(0) / -, flags 133",
       "Sub RegistryItem(Path As String) = RegistryItemPathCtor",
       "Sub RegistryItem(Source As RegistryItem) = RegistryItemCopyCtor",
       "Function AddFolder(Name As String) As RegistryItem = RegistryItemAddFolder",
       "Sub Delete(Name As String) = RegistryItemDelete",
       "Function Value(Name As String, Assigns value As Variant) As Variant = RegistryItemValueGetter; set RegistryItemValueSetter",
       "Function Value(Index As Integer, Assigns value As Variant) As Variant = RegistryItemNumValueGetter; set RegistryItemNumValueSetter",
       "Function DefaultValue(Assigns value As Variant) As Variant = RegistryItemDefaultValueGetter; set RegistryItemDefaultValueSetter",
       "Function Child(Name As String) As RegistryItem = RegistryItemChild",
       "Function Item(Index As Integer) As RegistryItem = RegistryItemItem",
       "Function Name(Index As Integer) As String = RegistryItemNameGetter",
       "Function KeyType(Index As Integer) As Integer = RegistryItemKeyTypeGetter",
      }},
    {MDIWindowClass,
      {
       "MDIWindow, size 56, New",
       "Left As Integer, MDIWindowPosGetter(0) / MDIWindowPosSetter, flags 0",
       "Top As Integer, MDIWindowPosGetter(1) / MDIWindowPosSetter, flags 0",
       "Width As Integer, MDIWindowPosGetter(2) / MDIWindowPosSetter, flags 0",
       "Height As Integer, MDIWindowPosGetter(3) / MDIWindowPosSetter, flags 0",
       "MinWidth As Integer, shortGetter(40) / shortSetter, flags 0",
       "MinHeight As Integer, shortGetter(42) / shortSetter, flags 0",
       "MaxWidth As Integer, shortGetter(44) / shortSetter, flags 0",
       "MaxHeight As Integer, shortGetter(46) / shortSetter, flags 0",
       "Title As String, MDIWindowTitleGetter(0) / MDIWindowTitleSetter, flags 0",
       "Visible As Boolean, MDIWindowVisibleGetter(0) / MDIWindowVisibleSetter, flags 0",
       "Handle As Integer, MDIWindowHandleGetter(0) / -, flags 1",
       "Sub Maximize() = MDIWindowMaximize",
       "Sub Minimize() = MDIWindowMinimize",
       "Sub Restore() = MDIWindowRestore",
       "event Open()",
       "event Resized()",
       "event Moved()",
       "event Minimize()",
       "event Maximize()",
       "event Restore()",
      }},
    {DockItemClass,
      {
       "DockItem, size 152",
       "Graphics As Graphics, DockItemIconGraphicsGetter(0) / -, flags 1",
       "Sub ResetIcon() = DockItemResetIcon",
       "Sub UpdateNow() = DockItemIconUpdate",
      }},
    {MoviePlayerClass,
      {
       "MoviePlayer : RectControl, size 120",
       "implements bindingPartInterface",
       "Controller As Integer, intGetter(100) / intSetter, flags 0",
       "Looping As Boolean, boolGetter(108) / mediaControllerLoopingSetter, flags 0",
       "Palindrome As Boolean, boolGetter(109) / mediaControllerPalindromeSetter, flags 0",
       "AutoResize As Boolean, boolGetter(107) / boolSetter, flags 0",
       "Border As Boolean, boolGetter(104) / boolSetter, flags 0",
       "Speaker As Boolean, boolGetter(106) / boolSetter, flags 0",
       "HasStep As Boolean, boolGetter(105) / boolSetter, flags 0",
       "Movie As Movie, objGetter(112) / mediaMovieSetter, flags 0",
       "ControllerWidth As Integer, mediaControllerWidthGetter(0) / -, flags 1",
       "ControllerHeight As Integer, mediaControllerHeightGetter(0) / -, flags 1",
       "QTMovieController As Integer, mediaMovieControllerGetter(0) / -, flags 1",
       "Sub Play() = RuntimeMediaPlay",
       "Sub Stop() = RuntimeMediaStop",
       "Function getBoundPart(v As String) As Object = mediaGetBoundPart",
       "event Play()",
       "event Stop()",
       "event ControllerSizeChanged()",
      }},
    {MoviePlayerActionClass,
      {
       "MoviePlayerAction, size 32",
       "implements actionNotificationReceiver",
       "Sub PerformAction() = mediaActionPerformAction",
      }},
    {MovieClass,
      {
       "Movie, size 52",
       "MovieWidth As Integer, movieWidthGetter(0) / -, flags 1",
       "MovieHeight As Integer, movieHeightGetter(0) / -, flags 1",
       "BaseMovieWidth As Integer, movieBaseWidthGetter(0) / -, flags 1",
       "BaseMovieHeight As Integer, movieBaseHeightGetter(0) / -, flags 1",
       "Handle As Integer, movieHandleGetter(0) / -, flags 1",
      }},
    {NotePlayerClass,
      {
       "NotePlayer : Control, size 112",
       "Instrument As Integer, intGetter(104) / notePlayerInstrumentSetter, flags 0",
       "Sub PlayNote(pitch As Integer, velocity As Integer) = notePlayerPlayNote",
      }},
    {OLEContainerClass,
      {
       "OLEContainer : RectControl, size 104",
       "ProgramID As String, stringGetter(100) / stringSetter, flags 0",
       "Content As OLEObject, OLEContainerContentGetter(0) / -, flags 1",
       "event ShowObject()",
       "event EventTriggered(eventName as string, parameters() as variant)",
      }},
};

void RegisterAll() {
  CreateApplicationClass();
  CreateControlClasses();
}

TEST(InertClasses, EachClassHasItsGoldenTableAndEveryEntryPointIsBound) {
  RegisterAll();
  for (const GoldenClass &golden : kGoldenClasses) {
    ObjectDefinition *defn = golden.builder();
    EXPECT_EQ(DescribeClass(defn), golden.lines);
    ExpectEveryExportBound(defn);
  }
}

// What a call gave: its answer, or the exception it raised as
// "Class: Message (ErrorNumber)".
std::vector<std::string> &RaisedExceptions() {
  static std::vector<std::string> raised;
  return raised;
}

void RecordRaise(RuntimeObject *exception) {
  auto *e = reinterpret_cast<RuntimeExceptionObject *>(exception);
  RaisedExceptions().push_back(std::string(stringStorage::CString(exception->classPtr->name)) +
                               ": " + stringStorage::CString(e->message) + " (" +
                               std::to_string(e->errorNumber) + ")");
}

// Calls the entry point bound under the export name as compiled code does.
template <typename R, typename... Args> R Call(const char *exportName, Args... args) {
  void *code = BoundAddress(exportName);
  EXPECT_NE(code, nullptr) << exportName;
  if (!code)
    return R();
  return reinterpret_cast<R (*)(Args...)>(code)(args...);
}

std::string Text(stringStorage *s) {
  std::string text = s ? stringStorage::CString(s) : "(nil)";
  RuntimeUnlockString(s);
  return text;
}

std::string Object(RuntimeObject *o) {
  std::string text = o ? stringStorage::CString(o->classPtr->name) : "(nil)";
  RuntimeUnlockObject(o);
  return text;
}

stringStorage *Str(const char *text) { return string(text).ExtractStringStorage(); }

class InertMembers : public testing::Test {
public:
  InertMembers() {
    RegisterAll();
    OLEExceptionClass();
    RegistryAccessErrorExceptionClass();
    TypeMismatchExceptionClass();
    RaisedExceptions().clear();
    SetUnhandledExceptionHook(RecordRaise);
  }
  ~InertMembers() override {
    SetUnhandledExceptionHook(nullptr);
    for (RuntimeObject *o : mObjects)
      RuntimeUnlockObject(o);
    for (stringStorage *s : mStrings)
      RuntimeUnlockString(s);
  }
  RuntimeObject *New(ObjectDefinition *(*builder)()) {
    mObjects.push_back(CreateInstance(builder()));
    return mObjects.back();
  }
  stringStorage *Name(const char *text) {
    mStrings.push_back(Str(text));
    return mStrings.back();
  }
  // The call's answer, or what it raised.
  std::string Outcome(const std::function<std::string()> &call) {
    RaisedExceptions().clear();
    std::string answer = call();
    std::string outcome = RaisedExceptions().empty() ? answer : RaisedExceptions().front();
    RaisedExceptions().clear();
    return outcome;
  }

  std::vector<RuntimeObject *> mObjects;
  std::vector<stringStorage *> mStrings;
  AlertRecorder mAlerts;
};

struct Row {
  const char *what;
  std::function<std::string()> call;
  std::string expected;
};

void RunRows(InertMembers &t, const std::vector<Row> &rows) {
  for (const Row &row : rows)
    EXPECT_EQ(t.Outcome(row.call), row.expected) << row.what;
}

const std::string kNoServer = "OLEException: No automation server present (1)";
const std::string kRegistry = "RegistryAccessErrorException:  (0)";

TEST_F(InertMembers, EveryOLEObjectCallThatNeedsAServerRaisesOLEException) {
  RuntimeObject *ole = New(OLEObjectClass);
  stringStorage *name = Name("Visible");
  RunRows(*this, {
    {"constructor", [&] { Call<void>("OLEObjectProgramIDConstructor", ole, Name("Word.Application")); return std::string("made"); }, "made"},
    {"constructor, new instance", [&] { Call<void>("OLEObjectNewInstanceConstructor", ole, name, 1); return std::string("made"); }, "made"},
    {"Invoke", [&] { return Object(Call<RuntimeObject *>("OLEObjectInvoke", ole, name)); }, kNoServer},
    {"Invoke, no result", [&] { Call<void>("OLEObjectInvokeNoReturnValue", ole, name); return std::string(); }, kNoServer},
    {"Invoke with parameters", [&] { return Object(Call<RuntimeObject *>("OLEObjectInvokeWithParams", ole, name, nullptr)); }, kNoServer},
    {"Invoke with parameters, no result", [&] { Call<void>("OLEObjectInvokeWithParamsNoReturnValue", ole, name, nullptr); return std::string(); }, kNoServer},
    {"Property", [&] { return Object(Call<RuntimeObject *>("OLEObjectPropertyGetter", ole, name)); }, kNoServer},
    {"Property =", [&] { Call<void>("OLEObjectPropertySetter", ole, name, nullptr); return std::string(); }, kNoServer},
    {"Property(byvalue) =", [&] { Call<void>("OLEObjectPropertySetterWithValue", ole, name, 1, nullptr); return std::string(); }, kNoServer},
    {"Operator_Lookup", [&] { return Object(Call<RuntimeObject *>("OLEObjectOperatorLookup", ole, Name("Visible_"), nullptr)); }, kNoServer},
    {"Operator_Lookup, no result", [&] { Call<void>("OLEObjectNoReturnOperatorLookup", ole, Name("Visible_"), nullptr); return std::string(); }, kNoServer},
    {"Operator_Lookup =", [&] { Call<void>("OLEObjectOperatorLookupSetter", ole, name, nullptr); return std::string(); }, kNoServer},
    // An empty member name is left alone (nothing before it is read).
    {"Operator_Lookup, empty name", [&] { return Object(Call<RuntimeObject *>("OLEObjectOperatorLookup", ole, nullptr, nullptr)); }, kNoServer},
    {"Operator_Lookup \"_\"", [&] { return Object(Call<RuntimeObject *>("OLEObjectOperatorLookup", ole, Name("_"), nullptr)); }, kNoServer},
  });
}

TEST_F(InertMembers, OLEObjectOperatorsWorkOnItsValueThroughTheVariantOperators) {
  RuntimeObject *ole = New(OLEObjectClass);
  RuntimeObject *converted = Call<RuntimeObject *>("OLEObjectOperatorConvert", ole);
  RuntimeObject *inside = variantToObject(converted);
  EXPECT_EQ(inside, ole);
  RuntimeUnlockObject(inside);
  RuntimeUnlockObject(converted);

  // The operators give what the Variant operators give for the value (nil)
  // and the operand, the Right forms with the operands swapped.
  RuntimeObject *five = intToVariant(5);
  auto described = [](RuntimeObject *v) {
    std::string text = v ? Text(variantToString(v)) : "(nil)";
    RuntimeUnlockObject(v);
    return text;
  };
  RunRows(*this, {
    {"Operator_Add", [&] { return described(Call<RuntimeObject *>("OLEObjectOperatorAdd", ole, five)); }, Outcome([&] { return described(VariantAdd(nullptr, five)); })},
    {"Operator_AddRight", [&] { return described(Call<RuntimeObject *>("OLEObjectOperatorAddRight", ole, five)); }, Outcome([&] { return described(VariantAdd(five, nullptr)); })},
    {"Operator_Compare", [&] { return std::to_string(Call<int32_t>("OLEObjectOperatorCompare", ole, five)); }, Outcome([&] { return std::to_string(VariantCompare(nullptr, five)); })},
  });
  RuntimeUnlockObject(five);
}

TEST_F(InertMembers, OLEParameterFieldsRoundTrip) {
  RuntimeObject *p = New(OLEParameterClass);
  RuntimeObject *value = intToVariant(7);
  Call<void>("boolSetter", p, 24, 1);
  Call<void>("intSetter", p, 28, 3);
  Call<void>("intSetter", p, 32, 8);
  Call<void>("objSetter", p, 36, value);
  EXPECT_EQ(Call<int32_t>("boolGetter", p, 24), 1);
  EXPECT_EQ(Call<int32_t>("intGetter", p, 28), 3);
  EXPECT_EQ(Call<int32_t>("intGetter", p, 32), 8);
  RuntimeObject *back = Call<RuntimeObject *>("objGetter", p, 36);
  EXPECT_EQ(back, value);
  RuntimeUnlockObject(back);
  RuntimeUnlockObject(value);
}

TEST_F(InertMembers, RegistryKeyChainAppleEventsAndSpeechGiveTheirFixedAnswers) {
  RuntimeObject *item = New(RegistryItemClass);
  RuntimeObject *event = New(AppleEventClass);
  RuntimeObject *chain = New(KeyChainClass);
  RuntimeObject *chainItem = New(KeyChainItemClass);
  stringStorage *key = Name("----");
  RunRows(*this, {
    {"RegistryItem(path)", [&] { Call<void>("RegistryItemPathCtor", item, Name("HKEY_CURRENT_USER")); return std::string(); }, kRegistry},
    {"RegistryItem(source)", [&] { Call<void>("RegistryItemCopyCtor", item, item); return std::string(); }, kRegistry},
    {"GetApplicationRegistryItem", [&] { return Object(RuntimeGetDefaultApplicationRegistryItem()); }, kRegistry},
    {"KeyCount", [&] { return std::to_string(Call<int32_t>("RegistryItemKeyCountGetter", item, 0)); }, "-1"},
    {"FolderCount", [&] { return std::to_string(Call<int32_t>("RegistryItemFolderCountGetter", item, 0)); }, "-1"},
    {"KeyType", [&] { return std::to_string(Call<int32_t>("RegistryItemKeyTypeGetter", item, 0)); }, "-1"},
    {"AddFolder", [&] { return Object(Call<RuntimeObject *>("RegistryItemAddFolder", item, key)); }, "(nil)"},
    {"Child", [&] { return Object(Call<RuntimeObject *>("RegistryItemChild", item, key)); }, "(nil)"},
    {"Item", [&] { return Object(Call<RuntimeObject *>("RegistryItemItem", item, 0)); }, "(nil)"},
    {"Value", [&] { return Object(Call<RuntimeObject *>("RegistryItemValueGetter", item, key)); }, "(nil)"},
    {"Send", [&] { return std::to_string(Call<int32_t>("appleEventSend", event)); }, "0"},
    {"ReplyString", [&] { return Text(Call<stringStorage *>("appleEventReplyStringGetter", event, 0)); }, "(nil)"},
    {"ReplySingle", [&] { return std::to_string(Call<float>("appleEventReplySingleGetter", event, 0)); }, "0.000000"},
    {"ReplyDouble", [&] { return std::to_string(Call<double>("appleEventReplyDoubleGetter", event, 0)); }, "0.000000"},
    {"ReplyInteger after a set", [&] { Call<void>("appleEventReplyIntegerSetter", event, 0, 9); return std::to_string(Call<int32_t>("appleEventReplyIntegerGetter", event, 0)); }, "0"},
    {"StringParam after a set", [&] { Call<void>("appleEventSetStringParam", event, key, key); return Text(Call<stringStorage *>("appleEventGetStringParam", event, key)); }, "(nil)"},
    {"Timeout", [&] { Call<void>("intSetter", event, 48, 600); return std::to_string(Call<int32_t>("intGetter", event, 48)); }, "600"},
    {"GetNamedObjectDescriptor", [&] { return Object(reinterpret_cast<RuntimeObject *(*)(stringStorage *, RuntimeObject *, stringStorage *)>(getNamedObjectDescriptor)(key, nullptr, key)); }, "(nil)"},
    {"GetRangeObjectDescriptor", [&] { return Object(reinterpret_cast<RuntimeObject *(*)(stringStorage *, RuntimeObject *, RuntimeObject *, RuntimeObject *)>(getRangeObjectDescriptor)(key, nullptr, nullptr, nullptr)); }, "(nil)"},
    {"FindPassword", [&] { return Text(Call<stringStorage *>("KeyChainFindPassword", chain, chainItem)); }, "(nil)"},
    {"KeyChain.Handle", [&] { return std::to_string(Call<int32_t>("intGetter", chain, 24)); }, "0"},
    {"Speak(5)", [&] { RuntimeObject *five = intToVariant(5); RuntimeSpeak(five, 0); RuntimeUnlockObject(five); return std::string("said"); }, "said"},
    {"Speak(nil)", [&] { RuntimeSpeak(nullptr, 0); return std::string("said"); }, "said"},
    {"Speak(an object)", [&] { RuntimeSpeak(chain, 0); return std::string("said"); }, "typeMismatchException:  (0)"},
  });
}

TEST_F(InertMembers, WindowsMoviesAndTheDockGiveTheirFixedAnswers) {
  RuntimeObject *mdi = New(MDIWindowClass);
  RuntimeObject *movie = New(MovieClass);
  RuntimeObject *notes = New(NotePlayerClass);
  auto pos = [&](int32_t which) { return std::to_string(Call<int32_t>("MDIWindowPosGetter", mdi, which)); };
  RunRows(*this, {
    {"MDIWindow.Left", [&] { return pos(0); }, "0"},
    {"MDIWindow.Top", [&] { return pos(1); }, "0"},
    {"MDIWindow.Width", [&] { return pos(2); }, "0"},
    {"MDIWindow.Height", [&] { return pos(3); }, "0"},
    {"MDIWindow.MinWidth", [&] { return std::to_string(Call<int32_t>("shortGetter", mdi, 40)); }, "64"},
    {"MDIWindow.MaxWidth", [&] { return std::to_string(Call<int32_t>("shortGetter", mdi, 44)); }, "32000"},
    {"MDIWindow.Visible", [&] { return std::to_string(Call<int32_t>("MDIWindowVisibleGetter", mdi, 0)); }, "1"},
    {"Width 100, then Left 10", [&] { Call<void>("MDIWindowPosSetter", mdi, 2, 100); Call<void>("MDIWindowPosSetter", mdi, 0, 10); return pos(0) + " " + pos(2); }, "10 100"},
    {"Height 50, then Top -5", [&] { Call<void>("MDIWindowPosSetter", mdi, 3, 50); Call<void>("MDIWindowPosSetter", mdi, 1, -5); return pos(1) + " " + pos(3); }, "-5 50"},
    {"Visible False", [&] { Call<void>("MDIWindowVisibleSetter", mdi, 0, 0); return std::to_string(Call<int32_t>("MDIWindowVisibleGetter", mdi, 0)); }, "0"},
    {"NotePlayer.Instrument", [&] { Call<void>("notePlayerInstrumentSetter", notes, 0, 41); Call<void>("notePlayerPlayNote", notes, 60, 100); return std::to_string(Call<int32_t>("intGetter", notes, 104)); }, "41"},
    {"Movie.MovieWidth", [&] { return std::to_string(Call<int32_t>("movieWidthGetter", movie, 0)); }, "0"},
    {"Movie.Handle", [&] { return std::to_string(Call<int32_t>("movieHandleGetter", movie, 0)); }, "0"},
    {"OpenURLMovie", [&] { return Object(reinterpret_cast<RuntimeObject *(*)(stringStorage *)>(openURLMovie)(Name("http://example.com/a.mov"))); }, "(nil)"},
  });
}

TEST_F(InertMembers, NoDockItemExistsAndANewApplicationHasAnMDIWindow) {
  RuntimeObject *app = New(ApplicationClass);
  RuntimeObject *mdi = reinterpret_cast<ApplicationObject *>(app)->mdiWindow;
  ASSERT_NE(mdi, nullptr);
  EXPECT_STREQ(stringStorage::CString(mdi->classPtr->name), "MDIWindow");
  EXPECT_EQ(Call<RuntimeObject *>("AppDockItemGetter", app, 0), nullptr);
  EXPECT_EQ(mAlerts.count(), 0u);
  EXPECT_EQ(Call<RuntimeObject *>("AppDockItemGetter", nullptr, 0), nullptr);
  EXPECT_TRUE(mAlerts.saw("app"));
  mAlerts.clear();
  EXPECT_EQ(Call<RuntimeObject *>("DockItemIconGraphicsGetter", nullptr, 0), nullptr);
  EXPECT_TRUE(mAlerts.saw("dockItem"));
  mAlerts.clear();
  EXPECT_EQ(RuntimeGetMovieFromResource(128), nullptr);
  EXPECT_EQ(mAlerts.count(), 1u);
}

} // namespace

namespace {

// The same answers as compiled code meets them: the inert_classes image
// (tests/images) calls the members through their export names and catches
// the exceptions in protected regions (42: every row held).
TEST(InertClassesImage, CompiledCodeMeetsTheFixedAnswersAndExceptions) {
  const ProgramRun run = RunTestImage("inert_classes");
  EXPECT_EQ(run.status, 42) << run.errors;
}

} // namespace
