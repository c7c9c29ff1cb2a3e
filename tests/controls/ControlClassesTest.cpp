// The tables of Object, Control, RectControl and _PaneChild as compiled
// images rely on them: names, order, flags, accessors, export names, and the
// property-table indices the mass-property stream addresses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/AlertRecorder.h"
#include "support/ClassTableChecks.h"

namespace {

std::string Text(const string &s) { return std::string(s.CString(), s.Length()); }
std::string Text(stringStorage *s) { return stringStorage::CString(s); }

// The run-time property table of any RectControl subclass, index by index.
const std::vector<PropertyRow> &ExpectedProperties() {
  static const std::vector<PropertyRow> rows = {
      {"Name%s", 36, Code(stringGetter), Code(stringSetter), 0x84},
      {"Index%i", 40, Code(intGetter), Code(intSetter), 0x84},
      {"TabPanelIndex%i", 44, Code(intGetter), Code(ControlTabPanelIndexSetter), 0x41},
      {"MouseX%i", 0, Code(controlMouseXGetter), nullptr, 0x01},
      {"MouseY%i", 0, Code(controlMouseYGetter), nullptr, 0x01},
      {"Window%o<Window>", 0, Code(controlWindowGetter), nullptr, 0x01},
      {"Handle%i", 0, Code(controlMacControlHandleGetter), nullptr, 0x01},
      {"HelpTag%s", 88, Code(stringGetter), Code(controlHelpTagSetter), 0},
      {"BalloonHelp%s", 80, Code(stringGetter), Code(controlBalloonHelpSetter), 0},
      {"DisabledBalloonHelp%s", 84, Code(stringGetter), Code(controlDisabledBalloonHelpSetter), 0},
      {"MouseCursor%o<MouseCursor>", 76, Code(objGetter), Code(controlMouseCursorSetter), 0x01},
      {"Visible%b", 0, Code(controlVisibleGetter), Code(ControlVisibleSetter), 0},
      {"Left%i", 0, Code(ctlPosGetter), Code(ctlPosSetter), 0},
      {"Top%i", 1, Code(ctlPosGetter), Code(ctlPosSetter), 0},
      {"Width%i", 2, Code(ctlPosGetter), Code(ctlPosSetter), 0},
      {"Height%i", 3, Code(ctlPosGetter), Code(ctlPosSetter), 0},
      {"Enabled%b", 0, Code(controlEnabledGetter), Code(controlEnabledSetter), 0},
      {"Active%b", 0, Code(controlActiveGetter), nullptr, 0},
      {"AutoDeactivate%b", 0, Code(controlAutoDeactivateGetter), Code(controlAutoDeactivateSetter),
       0},
      {"LockLeft%b", 0, Code(controlLockLeftGetter), Code(controlLockLeftSetter), 0},
      {"LockTop%b", 0, Code(controlLockTopGetter), Code(controlLockTopSetter), 0},
      {"LockRight%b", 0, Code(controlLockRightGetter), Code(controlLockRightSetter), 0},
      {"LockBottom%b", 0, Code(controlLockBottomGetter), Code(controlLockBottomSetter), 0},
      {"Parent%o<Control>", 0, Code(ControlParentGetter), Code(ControlParentSetter), 0x01},
      {"InitialParent%s", 0, nullptr, Code(ControlInitialParentSetter), 0x40},
  };
  return rows;
}

TEST(ControlClasses, RunTimePropertyTableListsControlThenRectControlInTableOrder) {
  RuntimeClass *cls = LookupObjectDefinition(RectControlClass());
  ASSERT_NE(cls, nullptr);
  ExpectRunTimeProperties(cls, ExpectedProperties());
  // Control alone: its seven come first and nothing else.
  RuntimeClass *control = LookupObjectDefinition(ControlClass());
  ASSERT_EQ(control->propertyCount, 7);
  EXPECT_EQ(Text(control->properties[6].name), "Handle%i");
}

TEST(ControlClasses, PropertyFlagsAndExportNamesMatchTheTables) {
  CreateControlClasses(); // registers the export names
  std::vector<const InstanceVariable *> items;
  for (ObjectDefinition *defn : {ControlClass(), RectControlClass()})
    for (const InstanceVariable *p = defn->properties; p; p = p->next)
      items.push_back(p);
  ExpectPropertyFlagsAndExports(items, ExpectedProperties());
}

TEST(ControlClasses, ShapesEventsAndMethods) {
  CreateControlClasses();
  struct Shape {
    ObjectDefinition *defn;
    const char *name;
    ObjectDefinition *super;
    int32_t size;
    std::vector<std::string> events, methods;
  } shapes[] = {
      {ObjectClass(), "Object", nullptr, 24, {}, {}},
      {ControlClass(), "Control", nullptr, 100, {"CreatePane", "Open", "Close"}, {"Close"}},
      {RectControlClass(),
       "RectControl",
       ControlClass(),
       100,
       {"MouseMove", "MouseEnter", "MouseExit", "DropObject"},
       {"Refresh", "RefreshRect", "SetFocus", "AcceptTextDrop", "AcceptPictureDrop",
        "AcceptFileDrop", "AcceptMacDataDrop", "NewDragItem", "_AddMenuHandler", "RectControl"}},
      {PaneChildInterface(), "_PaneChild", nullptr, 24, {}, {"_SetWindow", "Window", "_Index",
                                                            "_SetIndex"}},
  };
  for (const Shape &s : shapes) {
    EXPECT_EQ(Text(s.defn->className), s.name);
    EXPECT_EQ(s.defn->super, s.super) << s.name;
    EXPECT_EQ(s.defn->objectSize, s.size) << s.name;
    std::vector<std::string> events, methods;
    for (ObjectHook *h = s.defn->hooks; h; h = h->next)
      events.push_back(Text(h->name));
    for (ObjectMethod *m = s.defn->methods; m; m = m->next)
      methods.push_back(Text(m->name));
    EXPECT_EQ(events, s.events) << s.name;
    EXPECT_EQ(methods, s.methods) << s.name;
  }
  EXPECT_TRUE(PaneChildInterface()->isInterface);
  EXPECT_EQ(Text(ComponentHooks[0].hook->paramText), "X As Integer, Y As Integer");
  // The bound methods reach their entry points by export name.
  for (ObjectDefinition *defn : {ControlClass(), RectControlClass()})
    ExpectMethodsBound(defn);
  const PropertyMethod &refresh = RectControlClass()->methods->method;
  ASSERT_EQ(refresh.paramCount, 1);
  EXPECT_TRUE(refresh.params[0].hasDefault);
  EXPECT_EQ(refresh.params[0].defaultValue, 1); // eraseBackground defaults to True
}

TEST(ControlClasses, NewControlsAreOutsideAnyArrayAndOtherwiseZero) {
  RuntimeObject *object = CreateInstance(RectControlClass());
  ASSERT_NE(object, nullptr);
  auto *c = reinterpret_cast<RuntimeControl *>(object);
  EXPECT_EQ(c->index, kNotInControlArray);
  EXPECT_EQ(intGetter(object, 40), INT32_MIN);
  EXPECT_FALSE(controlVisibleGetter(object, 0));
  EXPECT_FALSE(controlEnabledGetter(object, 0));
  EXPECT_EQ(c->pane, nullptr);
  EXPECT_NE(AsControl(object), nullptr);
  RuntimeUnlockObject(object);
  RuntimeObject *plain = CreateInstance(ObjectClass());
  EXPECT_EQ(AsControl(plain), nullptr);
  RuntimeUnlockObject(plain);
}

TEST(ControlClasses, StartUpRegistersThemByName) {
  AlertRecorder recorder;
  CreateControlClasses();
  for (const char *name : {"Object", "Control", "RectControl", "_PaneChild"})
    EXPECT_NE(RuntimeLookupClass(string(name).Storage()), nullptr) << name;
  EXPECT_EQ(recorder.count(), 0u);
}

} // namespace
