#include "controls/StaticTextClass.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/StaticTextGTK.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

StaticTextObject *AsLabel(RuntimeObject *object) {
  return reinterpret_cast<StaticTextObject *>(object);
}

StaticText *PaneOf(StaticTextObject *c) { return static_cast<StaticText *>(c->control.pane); }

#define FIELD(name) static_cast<int32_t>(offsetof(StaticTextObject, name))

ObjectHookTemplate StaticTextHooks[] = {
    {0, "AcceleratorKey", "", "", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
};

ObjectConstantTemplate StaticTextConstants[] = {
    {0, "AlignLeft", 1, "0"},
    {0, "AlignCenter", 1, "1"},
    {0, "AlignRight", 1, "2"},
};

ObjectInstanceTemplate StaticTextProperties[] = {
    {0, "Text", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(staticCaptionSetter),
     FIELD(text), 0},
    {0, "Caption", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(staticCaptionSetter),
     FIELD(text), 0},
    {0, "TextAlign", &integerType.type, ACCESSOR(shortGetter), ACCESSOR(staticTextAlignSetter),
     FIELD(alignment), 0},
    {0, "TextColor", &colourType.type, ACCESSOR(intGetter), ACCESSOR(staticTextColorSetter),
     FIELD(textColour), 0},
    {0, "TextFont", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(staticTextFontSetter),
     FIELD(fontName), 0},
    {0, "TextSize", &integerType.type, ACCESSOR(shortGetter), ACCESSOR(staticTextSizeSetter),
     FIELD(textSize), 0},
    {0, "Bold", &booleanType.type, ACCESSOR(boolGetter), ACCESSOR(staticAttributeSetter),
     FIELD(bold), 0},
    {0, "Italic", &booleanType.type, ACCESSOR(boolGetter), ACCESSOR(staticAttributeSetter),
     FIELD(italic), 0},
    {0, "Underline", &booleanType.type, ACCESSOR(boolGetter), ACCESSOR(staticAttributeSetter),
     FIELD(underline), 0},
    {0, "MultiLine", &booleanType.type, ACCESSOR(boolGetter), ACCESSOR(StaticTextMultilineSetter),
     FIELD(multiline), 0},
    {0, "DataSource", &stringType.type, ACCESSOR(StaticTextDataSourceGetter),
     ACCESSOR(StaticTextDataSourceSetter), 0, 0},
    {0, "DataField", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(StaticTextDataFieldSetter),
     FIELD(dataField), 0},
};

FontStructure FontOf(StaticTextObject *c) {
  FontStructure f;
  f.name = string::Borrow(c->fontName);
  f.bold = c->bold;
  f.italic = c->italic;
  f.underline = c->underline;
  f.size = c->textSize;
  return f;
}

void PushFont(StaticTextObject *c) {
  if (StaticText *pane = PaneOf(c)) {
    FontStructure f = FontOf(c);
    pane->SetFont(&f);
  }
}

void StaticTextDestructor(RuntimeObject *object) {
  StaticTextObject *c = AsLabel(object);
  if (StaticText *pane = PaneOf(c))
    pane->ForgetControl();
  for (stringStorage **s : {&c->text, &c->fontName, &c->dataSource, &c->dataField}) {
    RuntimeUnlockString(*s);
    *s = nullptr;
  }
}

} // namespace

const ObjectHook *StaticTextEventHook(StaticTextEvent event) {
  return StaticTextHooks[static_cast<int>(event)].hook;
}

void StaticTextCreatePane(RuntimeObject *object) {
  StaticTextObject *c = AsLabel(object);
  auto *pane = new StaticText(c->control.container, c->control.tabPanelIndex, c->control.bounds);
  c->control.pane = pane;
  if (RuntimeControl *parent = c->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetControl(c);
  pane->SetCaption(string::Borrow(c->text));
  pane->SetAlignment(c->alignment);
  pane->SetTextColor(static_cast<uint32_t>(c->textColour));
  FontStructure f = FontOf(c);
  pane->SetFont(&f);
  pane->SetMultiline(c->multiline != 0);
  pane->SetDataSourceName(string::Borrow(c->dataSource));
  pane->InitializeBinding();
}

ObjectDefinition *StaticTextClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("StaticText");
  defn.super = RectControlClass();
  defn.objectSize = kStaticTextInstanceSize;
  defn.destructor = StaticTextDestructor;
  defn.staticTables = 1;
  auto *createPane = new ObjectHookInstance;
  createPane->name = string("CreatePane");
  createPane->code = reinterpret_cast<void *>(StaticTextCreatePane);
  defn.hookInstances = createPane;
  defn.properties = FillInstances(StaticTextProperties, std::size(StaticTextProperties));
  FillHooks(&defn, StaticTextHooks, std::size(StaticTextHooks));
  FillConstants(&defn, StaticTextConstants, std::size(StaticTextConstants));
  return &defn;
}

extern "C" {

void staticCaptionSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  StaticTextObject *c = AsLabel(object);
  stringSetter(object, FIELD(text), text);
  if (StaticText *pane = PaneOf(c))
    pane->SetCaption(string::Borrow(c->text));
}

void staticTextAlignSetter(RuntimeObject *object, int32_t, int32_t alignment) {
  StaticTextObject *c = AsLabel(object);
  c->alignment = static_cast<int16_t>(alignment);
  if (StaticText *pane = PaneOf(c))
    pane->SetAlignment(c->alignment);
}

void staticTextColorSetter(RuntimeObject *object, int32_t, int32_t colour) {
  StaticTextObject *c = AsLabel(object);
  c->textColour = colour;
  if (StaticText *pane = PaneOf(c))
    pane->SetTextColor(static_cast<uint32_t>(colour));
}

void staticTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  stringSetter(object, FIELD(fontName), name);
  PushFont(AsLabel(object));
}

void staticTextSizeSetter(RuntimeObject *object, int32_t, int32_t size) {
  AsLabel(object)->textSize = static_cast<int16_t>(size);
  PushFont(AsLabel(object));
}

void staticAttributeSetter(RuntimeObject *object, int32_t offset, int32_t on) {
  boolSetter(object, offset, on);
  PushFont(AsLabel(object));
}

void StaticTextMultilineSetter(RuntimeObject *object, int32_t, int32_t on) {
  StaticTextObject *c = AsLabel(object);
  c->multiline = static_cast<uint8_t>(on);
  if (StaticText *pane = PaneOf(c))
    pane->SetMultiline(on != 0);
}

stringStorage *StaticTextDataSourceGetter(RuntimeObject *object, int32_t) {
  return RuntimeLockString(AsLabel(object)->dataSource);
}

void StaticTextDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  StaticTextObject *c = AsLabel(object);
  stringSetter(object, FIELD(dataSource), name);
  if (StaticText *pane = PaneOf(c)) {
    pane->RemoveBinding();
    pane->SetDataSourceName(string::Borrow(name));
    pane->InitializeBinding();
  }
}

void StaticTextDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  StaticTextObject *c = AsLabel(object);
  stringSetter(object, FIELD(dataField), name);
  if (StaticText *pane = PaneOf(c))
    pane->InitializeBinding();
}

} // extern "C"
