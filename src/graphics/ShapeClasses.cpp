// The ten vector shape classes of the language: their constructors and
// destructors, their class tables, and the entry points their properties and
// methods call.
#include <cmath>
#include <cstddef>

#include "foundation/String.h"
#include "graphics/Drawable.h"
#include "graphics/GraphicsServices.h"
#include "graphics/PictureObject.h"
#include "graphics/Shapes2D.h"
#include "language/ClassBuilding.h"
#include "language/LanguageExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

template <typename T>
T *As(RuntimeObject *object) {
  return reinterpret_cast<T *>(object);
}

// Field offsets as the property rows pass them.
#define FIELD(type, member) static_cast<int32_t>(offsetof(type, member))

void Object2DConstruct(RuntimeObject *object) {
  Object2D *o = AsShape(object);
  o->kind = kObject2DKind;
  o->scale = 1.0;
  o->fill = 1.0;
  o->border = 0.0;
  o->borderWidth = 1.0;
}

void RectConstruct(RuntimeObject *object) {
  auto *r = As<RectShape>(object);
  r->kind = kRectKind;
  r->width = 100.0;
  r->height = 100.0;
}

void RoundRectConstruct(RuntimeObject *object) { AsShape(object)->kind = kRoundRectKind; }
void OvalConstruct(RuntimeObject *object) { AsShape(object)->kind = kOvalKind; }

void ArcConstruct(RuntimeObject *object) {
  auto *a = As<ArcShape>(object);
  a->kind = kArcKind;
  a->arcAngle = 1.5707963267948966;
}

void StringConstruct(RuntimeObject *object) {
  auto *s = As<StringShape>(object);
  s->kind = kStringKind;
  s->textSize = 12.0;
  s->text = string("-").ExtractStringStorage();
  s->textFont = string("System").ExtractStringStorage();
}

void StringDestruct(RuntimeObject *object) {
  auto *s = As<StringShape>(object);
  stringStorage::RemoveReference(s->text);
  stringStorage::RemoveReference(s->textFont);
  s->text = s->textFont = nullptr;
}

void CurveConstruct(RuntimeObject *object) {
  auto *c = As<CurveShape>(object);
  c->kind = kCurveKind;
  c->x2 = 100.0;
  c->y2 = 100.0;
  c->fill = 0.0;
  c->border = 1.0;
}

void GroupConstruct(RuntimeObject *object) {
  auto *g = As<Group2D>(object);
  g->kind = kGroupKind;
  g->items.setGrowthIncrement(16);
}

void FigureConstruct(RuntimeObject *object) {
  GroupConstruct(object);
  AsShape(object)->kind = kFigureKind;
}

// The items are taken out of the list before they are released, so that an
// item whose release reaches this group again finds it empty.
void GroupDestruct(RuntimeObject *object) {
  auto *g = As<Group2D>(object);
  while (g->items.count() > 0)
    RuntimeUnlockObject(g->items.pop_back());
  g->items.resize(0);
}

void PixmapDestruct(RuntimeObject *object) {
  auto *p = As<PixmapShape>(object);
  RuntimeObject *image = p->image;
  p->image = nullptr;
  RuntimeUnlockObject(image);
}

bool GroupIndexValid(Group2D *g, int32_t index) {
  if (index >= 0 && index < g->items.count())
    return true;
  RaiseOutOfBounds();
  return false;
}

PointXY *ControlPoint(RuntimeObject *curve, int32_t index) {
  if (static_cast<uint32_t>(index) > 1) {
    RaiseOutOfBounds();
    return nullptr;
  }
  return &As<CurveShape>(curve)->control[index];
}

RuntimeObject *NewCurve(float x1, float y1, float x2, float y2, int32_t order) {
  RuntimeObject *object = CreateInstance(CurveShapeClass());
  if (!object)
    return nullptr;
  auto *c = As<CurveShape>(object);
  c->order = order;
  c->x = x1;
  c->y = y1;
  c->x2 = x2;
  c->y2 = y2;
  return object;
}

void AppendCurve(RuntimeObject *figure, RuntimeObject *curve) {
  if (!curve)
    return;
  Group2DAppend(figure, curve);
  RuntimeUnlockObject(curve);
}

} // namespace

extern "C" {

void Object2DDoubleSetter(RuntimeObject *object, int32_t field, double value) {
  Object2D *o = AsShape(object);
  switch (field) {
  case FIELD(Object2D, x):
    o->SetXY(value, o->y);
    break;
  case FIELD(Object2D, y):
    o->SetXY(o->x, value);
    break;
  case FIELD(Object2D, rotation):
    o->SetRotation(value);
    break;
  case FIELD(Object2D, scale):
    o->SetScale(value);
    break;
  default:
    doubleSetter(object, field, value);
  }
}

double doublePercentGetter(RuntimeObject *object, int32_t field) {
  return doubleGetter(object, field) * 100;
}

void doublePercentSetter(RuntimeObject *object, int32_t field, double value) {
  doubleSetter(object, field, value * 0.01);
}

void ArcStartAngleSetter(RuntimeObject *object, int32_t field, double value) {
  double r = std::fmod(value, kTwoPi);
  if (r < 0)
    r += kTwoPi;
  doubleSetter(object, field, r);
}

void CurveOrderSetter(RuntimeObject *object, int32_t field, int32_t value) {
  if (static_cast<uint32_t>(value) > 2) {
    RaiseOutOfBounds();
    return;
  }
  intSetter(object, field, value);
}

int32_t RectShapeContains(RuntimeObject *shape, double x, double y) {
  Object2D *o = AsShape(shape);
  if (!o)
    return 0;
  bool inside;
  switch (o->kind) {
  case kArcKind:
    inside = static_cast<ArcShape *>(o)->ArcContains(x, y);
    break;
  case kOvalKind:
    inside = static_cast<OvalShape *>(o)->OvalContains(x, y);
    break;
  case kRoundRectKind:
    inside = static_cast<RoundRectShape *>(o)->RoundRectContains(x, y);
    break;
  default:
    inside = static_cast<RectShape *>(o)->RectContains(x, y);
  }
  return inside ? 1 : 0;
}

void PixmapShapeConstructor(RuntimeObject *shape) {
  auto *p = As<PixmapShape>(shape);
  p->kind = kPixmapKind;
  p->width = p->height = 0;
}

void PixmapShapeImageCtor(RuntimeObject *shape, RuntimeObject *picture) {
  PixmapShapeConstructor(shape);
  auto *p = As<PixmapShape>(shape);
  auto *pic = reinterpret_cast<PictureObject *>(picture);
  if (!pic || !pic->image)
    return;
  RuntimeLockUnlockObjects(picture, p->image);
  p->image = picture;
  int32_t w = 0, h = 0;
  pic->image->getSize(&w, &h);
  p->width = p->sourceWidth = w;
  p->height = p->sourceHeight = h;
}

double CurveGetControlX(RuntimeObject *curve, int32_t index) {
  PointXY *p = ControlPoint(curve, index);
  return p ? p->x : 0;
}

double CurveGetControlY(RuntimeObject *curve, int32_t index) {
  PointXY *p = ControlPoint(curve, index);
  return p ? p->y : 0;
}

void CurveSetControlX(RuntimeObject *curve, int32_t index, double value) {
  if (PointXY *p = ControlPoint(curve, index))
    p->x = value;
}

void CurveSetControlY(RuntimeObject *curve, int32_t index, double value) {
  if (PointXY *p = ControlPoint(curve, index))
    p->y = value;
}

int32_t Group2DCount(RuntimeObject *group) { return As<Group2D>(group)->items.count(); }

void Group2DAppend(RuntimeObject *group, RuntimeObject *item) {
  RuntimeLockObject(item);
  As<Group2D>(group)->items.push_back(item);
}

void Group2DInsert(RuntimeObject *group, int32_t index, RuntimeObject *item) {
  auto *g = As<Group2D>(group);
  if (index < 0 || index > g->items.count()) {
    RaiseOutOfBounds();
    return;
  }
  RuntimeLockObject(item);
  g->items.insert(item, index);
}

RuntimeObject *Group2DGetItem(RuntimeObject *group, int32_t index) {
  auto *g = As<Group2D>(group);
  if (!GroupIndexValid(g, index))
    return nullptr;
  RuntimeObject *item = g->items.begin()[index];
  RuntimeLockObject(item);
  return item;
}

void Group2DSetItem(RuntimeObject *group, int32_t index, RuntimeObject *item) {
  auto *g = As<Group2D>(group);
  if (!GroupIndexValid(g, index))
    return;
  RuntimeObject *&slot = g->items.begin()[index];
  RuntimeObject *old = slot;
  RuntimeLockObject(item);
  slot = item;
  RuntimeUnlockObject(old);
}

void Group2DRemoveByIndex(RuntimeObject *group, int32_t index) {
  auto *g = As<Group2D>(group);
  if (!GroupIndexValid(g, index))
    return;
  RuntimeObject *item = g->items.begin()[index];
  g->items.deleteIdx(index);
  RuntimeUnlockObject(item);
}

void Group2DRemoveByObject(RuntimeObject *group, RuntimeObject *item) {
  auto *g = As<Group2D>(group);
  for (int32_t i = 0; i < g->items.count(); ++i)
    if (g->items.begin()[i] == item) {
      Group2DRemoveByIndex(group, i);
      return;
    }
}

void FigureShapeAddLine(RuntimeObject *figure, float x1, float y1, float x2, float y2) {
  AppendCurve(figure, NewCurve(x1, y1, x2, y2, 0));
}

void FigureShapeAddQuad(RuntimeObject *figure, float x1, float y1, float x2, float y2, float cx1,
                        float cy1) {
  RuntimeObject *curve = NewCurve(x1, y1, x2, y2, 1);
  if (curve)
    As<CurveShape>(curve)->control[0] = {cx1, cy1};
  AppendCurve(figure, curve);
}

void FigureShapeAddCubic(RuntimeObject *figure, float x1, float y1, float x2, float y2,
                         float cx1, float cy1, float cx2, float cy2) {
  RuntimeObject *curve = NewCurve(x1, y1, x2, y2, 2);
  if (curve) {
    As<CurveShape>(curve)->control[0] = {cx1, cy1};
    As<CurveShape>(curve)->control[1] = {cx2, cy2};
  }
  AppendCurve(figure, curve);
}

} // extern "C"

namespace {

#define SHAPE_PROPERTY(name, valueType, getter, setter, field)                                     \
  {                                                                                                \
    kConsoleAvailableFlag, name, &valueType.type, EntryCode(getter), #getter, EntryCode(setter),   \
        #setter, field, 0                                                                          \
  }
#define SHAPE_METHOD(name, result, params, count, entry)                                           \
  {                                                                                                \
    name, result, params, count, {{EntryCode(entry), #entry, {}}, {}}, kPlainMethod,               \
        kConsoleAvailableFlag, 0                                                                   \
  }
#define SHAPE_ASSIGNS(name, result, params, count, getter, setter)                                 \
  {                                                                                                \
    name, result, params, count, {{EntryCode(getter), #getter, {}}, {EntryCode(setter), #setter, {}}}, \
        kAssignsMethod, kConsoleAvailableFlag, 0                                                   \
  }

MethodParameter Param(const char *name, PropertyType *type) {
  return {name, type, 0, {}, 0, {}, 0, {}};
}

// Starts a definition on the builder's first call; false when it was built.
bool Begin(ObjectDefinition &defn, const char *name, ObjectDefinition *super, int32_t size,
           ObjectProc constructor, ObjectProc destructor) {
  if (!defn.className.IsEmpty())
    return false;
  DefineBuiltinClass(defn, {name, size, constructor, destructor, true}, nullptr, 0, nullptr, 0);
  defn.super = super;
  return true;
}

// The item lists of groups and figures, with the item class named.
void DefineGroupMembers(ObjectDefinition &defn, ObjectDefinition *itemClass, const char *itemName,
                        MethodParameter (&one)[1], MethodParameter (&two)[2],
                        MethodParameter (&index)[1], PropertyMethod *extra, int32_t extraCount) {
  PropertyType *item = itemClass ? itemClass->AsType() : nullptr;
  one[0] = Param(itemName, item);
  two[0] = Param("index", &integerType.type);
  two[1] = Param(itemName, item);
  index[0] = Param("index", &integerType.type);
  static ObjectInstanceTemplate sCount[] = {
      {kConsoleAvailableFlag, "Count", &integerType.type, EntryCode(Group2DCount), "Group2DCount",
       nullptr, nullptr, 0, 0}};
  PropertyMethod methods[8] = {
      SHAPE_METHOD("Append", nullptr, one, 1, Group2DAppend),
      SHAPE_METHOD("Insert", nullptr, two, 2, Group2DInsert),
      SHAPE_ASSIGNS("Item", item, index, 1, Group2DGetItem, Group2DSetItem),
      SHAPE_METHOD("Remove", nullptr, one, 1, Group2DRemoveByObject),
      SHAPE_METHOD("Remove", nullptr, index, 1, Group2DRemoveByIndex),
  };
  for (int32_t i = 0; i < extraCount; ++i)
    methods[5 + i] = extra[i];
  defn.properties = FillInstances(sCount, 1);
  defn.methods = FillMethods(methods, 5 + extraCount);
}

} // namespace

ObjectDefinition *Object2DClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "Object2D", nullptr, sizeof(Object2D), Object2DConstruct, nullptr))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("X", doubleType, doubleGetter, Object2DDoubleSetter, FIELD(Object2D, x)),
      SHAPE_PROPERTY("Y", doubleType, doubleGetter, Object2DDoubleSetter, FIELD(Object2D, y)),
      SHAPE_PROPERTY("Rotation", doubleType, doubleGetter, Object2DDoubleSetter,
                     FIELD(Object2D, rotation)),
      SHAPE_PROPERTY("Scale", doubleType, doubleGetter, Object2DDoubleSetter,
                     FIELD(Object2D, scale)),
      SHAPE_PROPERTY("Fill", doubleType, doublePercentGetter, doublePercentSetter,
                     FIELD(Object2D, fill)),
      SHAPE_PROPERTY("FillColor", colourType, intGetter, intSetter, FIELD(Object2D, fillColor)),
      SHAPE_PROPERTY("Border", doubleType, doublePercentGetter, doublePercentSetter,
                     FIELD(Object2D, border)),
      SHAPE_PROPERTY("BorderColor", colourType, intGetter, intSetter,
                     FIELD(Object2D, borderColor)),
      SHAPE_PROPERTY("BorderWidth", doubleType, doubleGetter, doubleSetter,
                     FIELD(Object2D, borderWidth)),
  };
  defn.properties = FillInstances(sProperties, 9);
  return &defn;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

ObjectDefinition *RectShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "RectShape", Object2DClass(), sizeof(RectShape), RectConstruct, nullptr))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("Width", doubleType, doubleGetter, doubleSetter, FIELD(RectShape, width)),
      SHAPE_PROPERTY("Height", doubleType, doubleGetter, doubleSetter, FIELD(RectShape, height)),
  };
  static MethodParameter sPoint[] = {Param("x", &doubleType.type), Param("y", &doubleType.type)};
  PropertyMethod methods[] = {
      SHAPE_METHOD("Contains", &booleanType.type, sPoint, 2, RectShapeContains)};
  defn.properties = FillInstances(sProperties, 2);
  defn.methods = FillMethods(methods, 1);
  return &defn;
}

ObjectDefinition *RoundRectShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "RoundRectShape", RectShapeClass(), sizeof(RoundRectShape), RoundRectConstruct,
             nullptr))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("Segments", integerType, intGetter, intSetter,
                     FIELD(RoundRectShape, segments)),
      SHAPE_PROPERTY("CornerWidth", doubleType, doubleGetter, doubleSetter,
                     FIELD(RoundRectShape, cornerWidth)),
      SHAPE_PROPERTY("CornerHeight", doubleType, doubleGetter, doubleSetter,
                     FIELD(RoundRectShape, cornerHeight)),
  };
  defn.properties = FillInstances(sProperties, 3);
  return &defn;
}

ObjectDefinition *OvalShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "OvalShape", RectShapeClass(), sizeof(OvalShape), OvalConstruct, nullptr))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("Segments", integerType, intGetter, intSetter, FIELD(OvalShape, segments))};
  defn.properties = FillInstances(sProperties, 1);
  return &defn;
}

ObjectDefinition *ArcShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "ArcShape", OvalShapeClass(), sizeof(ArcShape), ArcConstruct, nullptr))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("StartAngle", doubleType, doubleGetter, ArcStartAngleSetter,
                     FIELD(ArcShape, startAngle)),
      SHAPE_PROPERTY("ArcAngle", doubleType, doubleGetter, doubleSetter,
                     FIELD(ArcShape, arcAngle)),
  };
  defn.properties = FillInstances(sProperties, 2);
  return &defn;
}

ObjectDefinition *PixmapShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "PixmapShape", RectShapeClass(), sizeof(PixmapShape),
             PixmapShapeConstructor, PixmapDestruct))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("Image", integerType, objGetter, objSetter, FIELD(PixmapShape, image)),
      SHAPE_PROPERTY("SourceLeft", integerType, intGetter, intSetter,
                     FIELD(PixmapShape, sourceLeft)),
      SHAPE_PROPERTY("SourceTop", integerType, intGetter, intSetter,
                     FIELD(PixmapShape, sourceTop)),
      SHAPE_PROPERTY("SourceWidth", integerType, intGetter, intSetter,
                     FIELD(PixmapShape, sourceWidth)),
      SHAPE_PROPERTY("SourceHeight", integerType, intGetter, intSetter,
                     FIELD(PixmapShape, sourceHeight)),
  };
  ObjectDefinition *picture = LanguagePictureClass();
  sProperties[0].type = picture ? picture->AsType() : nullptr;
  static MethodParameter sImage[1];
  sImage[0] = Param("image", sProperties[0].type);
  PropertyMethod methods[] = {
      SHAPE_METHOD("PixmapShape", nullptr, nullptr, 0, PixmapShapeConstructor),
      SHAPE_METHOD("PixmapShape", nullptr, sImage, 1, PixmapShapeImageCtor),
  };
  defn.properties = FillInstances(sProperties, 5);
  defn.methods = FillMethods(methods, 2);
  return &defn;
}

ObjectDefinition *StringShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "StringShape", Object2DClass(), sizeof(StringShape), StringConstruct,
             StringDestruct))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("Text", stringType, stringGetter, stringSetter, FIELD(StringShape, text)),
      SHAPE_PROPERTY("TextFont", stringType, stringGetter, stringSetter,
                     FIELD(StringShape, textFont)),
      SHAPE_PROPERTY("TextSize", doubleType, doubleGetter, doubleSetter,
                     FIELD(StringShape, textSize)),
      SHAPE_PROPERTY("Bold", booleanType, boolGetter, boolSetter, FIELD(StringShape, bold)),
      SHAPE_PROPERTY("Italic", booleanType, boolGetter, boolSetter, FIELD(StringShape, italic)),
      SHAPE_PROPERTY("Underline", booleanType, boolGetter, boolSetter,
                     FIELD(StringShape, underline)),
  };
  defn.properties = FillInstances(sProperties, 6);
  return &defn;
}

ObjectDefinition *CurveShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "CurveShape", Object2DClass(), sizeof(CurveShape), CurveConstruct, nullptr))
    return &defn;
  static ObjectInstanceTemplate sProperties[] = {
      SHAPE_PROPERTY("X2", doubleType, doubleGetter, doubleSetter, FIELD(CurveShape, x2)),
      SHAPE_PROPERTY("Y2", doubleType, doubleGetter, doubleSetter, FIELD(CurveShape, y2)),
      SHAPE_PROPERTY("Order", integerType, intGetter, CurveOrderSetter, FIELD(CurveShape, order)),
      SHAPE_PROPERTY("Segments", integerType, intGetter, intSetter, FIELD(CurveShape, segments)),
  };
  static MethodParameter sIndex[] = {Param("index", &integerType.type)};
  PropertyMethod methods[] = {
      SHAPE_ASSIGNS("ControlX", &doubleType.type, sIndex, 1, CurveGetControlX, CurveSetControlX),
      SHAPE_ASSIGNS("ControlY", &doubleType.type, sIndex, 1, CurveGetControlY, CurveSetControlY),
  };
  defn.properties = FillInstances(sProperties, 4);
  defn.methods = FillMethods(methods, 2);
  return &defn;
}

#pragma GCC diagnostic pop

ObjectDefinition *Group2DClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "Group2D", Object2DClass(), sizeof(Group2D), GroupConstruct, GroupDestruct))
    return &defn;
  static MethodParameter sOne[1], sTwo[2], sIndex[1];
  DefineGroupMembers(defn, Object2DClass(), "object2D", sOne, sTwo, sIndex, nullptr, 0);
  return &defn;
}

ObjectDefinition *FigureShapeClass() {
  static ObjectDefinition defn;
  if (!Begin(defn, "FigureShape", Object2DClass(), sizeof(FigureShape), FigureConstruct,
             GroupDestruct))
    return &defn;
  static MethodParameter sOne[1], sTwo[2], sIndex[1];
  static MethodParameter sLine[] = {
      Param("x1", &singleType.type), Param("y1", &singleType.type),
      Param("x2", &singleType.type), Param("y2", &singleType.type),
      Param("cx1", &singleType.type), Param("cy1", &singleType.type),
      Param("cx2", &singleType.type), Param("cy2", &singleType.type)};
  PropertyMethod extra[] = {
      SHAPE_METHOD("AddLine", nullptr, sLine, 4, FigureShapeAddLine),
      SHAPE_METHOD("AddQuad", nullptr, sLine, 6, FigureShapeAddQuad),
      SHAPE_METHOD("AddCubic", nullptr, sLine, 8, FigureShapeAddCubic),
  };
  DefineGroupMembers(defn, CurveShapeClass(), "curveShape", sOne, sTwo, sIndex, extra, 3);
  return &defn;
}

void CreateObject2DClasses() {
  for (ObjectDefinition *(*builder)() :
       {Object2DClass, RectShapeClass, RoundRectShapeClass, OvalShapeClass, ArcShapeClass,
        PixmapShapeClass, StringShapeClass, CurveShapeClass, Group2DClass, FigureShapeClass})
    addIntrinsicClass(builder());
}
