#include "controls/ShapeControlClasses.h"

#include <algorithm>
#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

#define CODE(function) reinterpret_cast<void *>(function), #function

// The rows of the four classes' events; each class fills its own copy,
// since filling a row records the class's event in it.
const ObjectHookTemplate kHookRows[] = {
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
};
constexpr int kHookCount = static_cast<int>(std::size(kHookRows));
ObjectHookTemplate Hooks[4][kHookCount];

// A property kept in the control at that offset and in the pane's field.
ObjectInstanceTemplate Mirrored(const char *name, bool colour, int32_t controlOffset,
                                ShapeField field, bool shortField) {
  const int32_t pane = ShapePaneOffset(field);
  const int32_t param = controlOffset | pane << 10 | pane << 20;
  PropertyType *type = colour ? &colourType.type : &integerType.type;
  if (shortField)
    return {0, name, type, CODE(paneShortGetter), CODE(paneShortSetter), param, 0};
  return {0, name, type, CODE(paneIntGetter), CODE(paneIntSetter), param, 0};
}

ObjectInstanceTemplate LinePosition(const char *name, int32_t offset) {
  return {0, name, &integerType.type, CODE(intGetter), CODE(linePosSetter), offset, 0};
}

template <typename Object, typename Pane> Pane *PaneOf(RuntimeObject *o) {
  return static_cast<Pane *>(reinterpret_cast<Object *>(o)->control.pane);
}

// Puts the new pane where the control's initial parent is and records the
// object in it.
void Adopt(RuntimeControl *c, ShapePane *pane) {
  c->pane = pane;
  if (RuntimeControl *parent = c->initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetObject(&c->header);
}

void RectangleCreatePane(RuntimeObject *object) {
  auto *o = reinterpret_cast<RectangleObject *>(object);
  auto *pane = new EditRect(o->control.container, o->control.tabPanelIndex, o->control.bounds);
  pane->fillColor = o->fillColor;
  pane->topLeftColor = o->topLeftColor;
  pane->bottomRightColor = o->bottomRightColor;
  pane->borderWidth = o->borderWidth;
  Adopt(&o->control, pane);
}

void OvalCreatePane(RuntimeObject *object) {
  auto *o = reinterpret_cast<OvalObject *>(object);
  auto *pane = new EditOval(o->control.container, o->control.tabPanelIndex, o->control.bounds);
  pane->fillColor = o->fillColor;
  pane->borderColor = o->borderColor;
  pane->borderWidth = o->borderWidth;
  Adopt(&o->control, pane);
}

void RoundRectCreatePane(RuntimeObject *object) {
  auto *o = reinterpret_cast<RoundRectObject *>(object);
  auto *pane =
      new EditRoundRect(o->control.container, o->control.tabPanelIndex, o->control.bounds);
  pane->fillColor = o->fillColor;
  pane->borderColor = o->borderColor;
  pane->borderWidth = o->borderWidth;
  pane->ovalWidth = o->ovalWidth;
  pane->ovalHeight = o->ovalHeight;
  Adopt(&o->control, pane);
}

void LineCreatePane(RuntimeObject *object) {
  auto *o = reinterpret_cast<LineObject *>(object);
  QV::Rect box;
  QV::SetRect(&box, std::min(o->x1, o->x2), std::min(o->y1, o->y2), std::max(o->x1, o->x2) + 1,
              std::max(o->y1, o->y2) + 1);
  auto *pane = new EditLine(o->control.container, o->control.tabPanelIndex, box);
  pane->x1 = o->x1;
  pane->y1 = o->y1;
  pane->x2 = o->x2;
  pane->y2 = o->y2;
  pane->lineColor = o->lineColor;
  pane->penWidth = o->borderWidth;
  Adopt(&o->control, pane);
}

void ShapeDestructor(RuntimeObject *object) {
  if (auto *pane = static_cast<ShapePane *>(reinterpret_cast<RuntimeControl *>(object)->pane))
    pane->SetObject(nullptr);
}

ObjectDefinition *Build(ObjectDefinition &defn, ShapeKind kind, const char *name, int32_t size,
                        ObjectProc createPane,
                        std::initializer_list<ObjectInstanceTemplate> properties) {
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string(name);
  defn.super = RectControlClass();
  defn.objectSize = size;
  defn.destructor = ShapeDestructor;
  defn.staticTables = 1;
  auto *hook = new ObjectHookInstance;
  hook->name = string("CreatePane");
  hook->code = reinterpret_cast<void *>(createPane);
  defn.hookInstances = hook;
  // The class's tables live as long as the program.
  auto *rows = new ObjectInstanceTemplate[properties.size()];
  std::copy(properties.begin(), properties.end(), rows);
  defn.properties = FillInstances(rows, static_cast<int>(properties.size()));
  ObjectHookTemplate *hooks = Hooks[static_cast<int>(kind)];
  std::copy(std::begin(kHookRows), std::end(kHookRows), hooks);
  FillHooks(&defn, hooks, kHookCount);
  return &defn;
}

} // namespace

const ObjectHook *ShapeEventHook(ShapeKind kind, ShapeEvent event) {
  return Hooks[static_cast<int>(kind)][static_cast<int>(event)].hook;
}

ObjectDefinition *RectangleClass() {
  static ObjectDefinition defn;
  return Build(defn, ShapeKind::kRectangle, "Rectangle", sizeof(RectangleObject),
               RectangleCreatePane,
               {Mirrored("FillColor", true, 100, ShapeField::kRectFill, false),
                Mirrored("BorderWidth", false, 112, ShapeField::kRectBorder, true),
                Mirrored("TopLeftColor", true, 104, ShapeField::kRectTopLeft, false),
                Mirrored("BottomRightColor", true, 108, ShapeField::kRectBottomRight, false)});
}

ObjectDefinition *OvalClass() {
  static ObjectDefinition defn;
  return Build(defn, ShapeKind::kOval, "Oval", sizeof(OvalObject), OvalCreatePane,
               {Mirrored("FillColor", true, 100, ShapeField::kOvalFill, false),
                Mirrored("BorderWidth", false, 108, ShapeField::kOvalBorder, true),
                Mirrored("BorderColor", true, 104, ShapeField::kOvalBorderColor, false)});
}

ObjectDefinition *RoundRectClass() {
  static ObjectDefinition defn;
  return Build(defn, ShapeKind::kRoundRect, "RoundRectangle", sizeof(RoundRectObject),
               RoundRectCreatePane,
               {Mirrored("FillColor", true, 100, ShapeField::kRoundFill, false),
                Mirrored("BorderWidth", false, 108, ShapeField::kRoundBorder, true),
                Mirrored("BorderColor", true, 104, ShapeField::kRoundBorderColor, false),
                Mirrored("OvalWidth", false, 110, ShapeField::kRoundOvalWidth, true),
                Mirrored("OvalHeight", false, 112, ShapeField::kRoundOvalHeight, true)});
}

ObjectDefinition *LineClass() {
  static ObjectDefinition defn;
  return Build(defn, ShapeKind::kLine, "Line", sizeof(LineObject), LineCreatePane,
               {LinePosition("X1", 100), LinePosition("X2", 104), LinePosition("Y1", 108),
                LinePosition("Y2", 112),
                Mirrored("BorderWidth", false, 116, ShapeField::kLinePen, true),
                Mirrored("LineColor", true, 120, ShapeField::kLineColor, false)});
}

extern "C" {

// The control's box follows the ends and the pen: h = w / 2 before the
// smaller coordinates, w - h after the larger ones.
void linePosSetter(RuntimeObject *object, int32_t offset, int32_t value) {
  if (!object)
    return;
  intSetter(object, offset, value);
  auto *o = reinterpret_cast<LineObject *>(object);
  EditLine *pane = PaneOf<LineObject, EditLine>(object);
  if (pane) {
    pane->x1 = o->x1;
    pane->y1 = o->y1;
    pane->x2 = o->x2;
    pane->y2 = o->y2;
  }
  const int32_t w = pane ? pane->penWidth : o->borderWidth;
  const int32_t h = w / 2, r = w - h;
  QV::Rect box;
  QV::SetRect(&box, std::min(o->x1, o->x2) - h, std::min(o->y1, o->y2) - h,
              std::max(o->x1, o->x2) + r, std::max(o->y1, o->y2) + r);
  if (pane)
    pane->InvalidatePane(true);
  o->control.bounds = box;
  if (pane)
    pane->MovePane(box, true);
}

} // extern "C"
