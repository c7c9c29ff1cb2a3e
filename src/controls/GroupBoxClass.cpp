#include "controls/GroupBoxClass.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/ObjFontAccessors.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

GroupBoxObject *AsGroup(RuntimeObject *object) { return reinterpret_cast<GroupBoxObject *>(object); }

GroupBox *PaneOf(GroupBoxObject *g) { return static_cast<GroupBox *>(g->control.pane); }

#define CODE(function) reinterpret_cast<void *>(function), #function

ObjectHookTemplate GroupBoxHooks[] = {
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
};

ObjectInstanceTemplate GroupBoxProperties[] = {
    {0, "Caption", &stringType.type, CODE(groupCaptionGetter), CODE(groupCaptionSetter), 0, 0},
    {0, "TextFont", &stringType.type, CODE(groupTextFontGetter), CODE(groupTextFontSetter), 0, 0},
    {0, "TextSize", &integerType.type, CODE(groupTextSizeGetter), CODE(groupTextSizeSetter), 0,
     0},
    {0, "Bold", &booleanType.type, CODE(groupBoldGetter), CODE(groupBoldSetter), 0, 0},
    {0, "Italic", &booleanType.type, CODE(groupItalicGetter), CODE(groupItalicSetter), 0, 0},
    {0, "Underline", &booleanType.type, CODE(groupUnderlineGetter), CODE(groupUnderlineSetter), 0,
     0},
};

void PushFont(GroupBoxObject *g) {
  if (GroupBox *pane = PaneOf(g))
    pane->setFont(g->font.getFont());
}

void GroupBoxDestructor(RuntimeObject *object) {
  GroupBoxObject *g = AsGroup(object);
  if (GroupBox *pane = PaneOf(g))
    pane->SetObject(nullptr);
  g->font.Release();
  RuntimeUnlockString(g->caption);
  g->caption = nullptr;
}

} // namespace

const ObjectHook *GroupBoxEventHook(GroupBoxEvent event) {
  return GroupBoxHooks[static_cast<int>(event)].hook;
}

void GroupBoxCreatePane(RuntimeObject *object) {
  GroupBoxObject *g = AsGroup(object);
  const FontStructure font = g->font.getFont();
  GroupBox *pane = newGroupBox(g->control.container, g->control.tabPanelIndex, g->control.bounds,
                               string::Borrow(g->caption), font);
  g->control.pane = pane;
  if (RuntimeControl *parent = g->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetObject(g);
  pane->setFont(font);
  pane->SetEnabledFlag(g->control.enabled != 0);
}

ObjectDefinition *GroupBoxClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineControlClass(defn, "GroupBox", RectControlClass(), kGroupBoxInstanceSize,
                     GroupBoxDestructor, GroupBoxCreatePane);
  defn.properties = FillInstances(GroupBoxProperties, std::size(GroupBoxProperties));
  FillHooks(&defn, GroupBoxHooks, std::size(GroupBoxHooks));
  return &defn;
}

extern "C" {

// After the alert for a nil object the getter answers nil.
stringStorage *groupCaptionGetter(RuntimeObject *object, int32_t) {
  if (!object) {
    ShowAlert(kGroupCaptionGetterAlert);
    return nullptr;
  }
  return RuntimeLockString(AsGroup(object)->caption);
}

// After the alert for a nil object the setter does nothing.
void groupCaptionSetter(RuntimeObject *object, int32_t, stringStorage *caption) {
  if (!object) {
    ShowAlert(kGroupCaptionSetterAlert);
    return;
  }
  stringSetter(object, offsetof(GroupBoxObject, caption), caption);
  if (GroupBox *pane = PaneOf(AsGroup(object)))
    pane->setCaption(string::Borrow(caption));
}

DEFINE_OBJ_FONT_ACCESSORS(group, GroupBoxObject, PushFont)

} // extern "C"
