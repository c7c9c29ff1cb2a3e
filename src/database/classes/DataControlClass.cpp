#include "database/classes/DataControlClass.h"

#include <iterator>
#include <set>
#include <string>

#include "controls/ControlClasses.h"
#include "controls/DataBindingServices.h"
#include "database/DatabaseClasses.h"
#include "database/classes/DataControlPane.h"
#include "database/sql/SqlStrings.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

DataControlObject *AsData(RuntimeObject *object) { return reinterpret_cast<DataControlObject *>(object); }

DataControl *PaneOf(RuntimeObject *object) {
  return object ? static_cast<DataControl *>(AsData(object)->control.pane) : nullptr;
}

// The DataControl objects alive: a bound control that outlives its data
// control (it is not counted) finds it gone instead of touching freed
// memory.
// The set is never destroyed: objects may still go after static
// destructors ran.
std::set<RuntimeObject *> &LiveDataControls() {
  static auto *live = new std::set<RuntimeObject *>;
  return *live;
}

bool IsLive(RuntimeObject *object) { return object && LiveDataControls().count(object) != 0; }

std::string Text(stringStorage *text) { return sqlStdString(text); }

// clang-format off
ObjectHookTemplate DataControlHooks[] = {
    {0, "MoveNext", "", "Boolean", nullptr, 0},
    {0, "MovePrevious", "", "Boolean", nullptr, 0},
    {0, "MoveFirst", "", "Boolean", nullptr, 0},
    {0, "MoveLast", "", "Boolean", nullptr, 0},
    {0, "Reposition", "index as integer", "", nullptr, 0},
    {0, "Validate", "action as integer", "Boolean", nullptr, 0},
    {0, "Insert", "", "Boolean", nullptr, 0},
    {0, "Update", "", "", nullptr, 0},
    {0, "Delete", "", "", nullptr, 0},
};
enum Event { kMoveNextEvent, kMovePreviousEvent, kMoveFirstEvent, kMoveLastEvent, kRepositionEvent,
             kValidateEvent, kInsertEvent, kUpdateEvent, kDeleteEvent };

#define STORED(name, type, getter, setter, field)                                                   \
  { 0, name, type, ACCESSOR(getter), ACCESSOR(setter), offsetof(DataControlObject, field), 0 }
#define CONSTANT(name, value) { 0, name, &integerType.type, ACCESSOR(DataControlGetConstant), NO_ACCESSOR, value, 0 }

ObjectInstanceTemplate DataControlProperties[] = {
    STORED("Caption", &stringType.type, stringGetter, DataControlCaptionSetter, caption),
    STORED("TableName", &stringType.type, stringGetter, DataControlTableNameSetter, tableName),
    STORED("SQLQuery", &stringType.type, stringGetter, DataControlQuerySetter, sqlQuery),
    STORED("Database", nullptr, DataControlDBGetter, DataControlDBSetter, database),
    STORED("TextAlign", &integerType.type, shortGetter, DataControlAlignSetter, textAlign),
    STORED("TextColor", &colourType.type, intGetter, DataControlColorSetter, textColor),
    STORED("TextFont", &stringType.type, stringGetter, DataControlFontSetter, textFont),
    STORED("TextSize", &integerType.type, shortGetter, DataControlSizeSetter, textSize),
    STORED("Bold", &booleanType.type, boolGetter, DataControlAttributeSetter, bold),
    STORED("Italic", &booleanType.type, boolGetter, DataControlAttributeSetter, italic),
    STORED("Underline", &booleanType.type, boolGetter, DataControlAttributeSetter, underline),
    {64, "ControlBind", &integerType.type, NO_ACCESSOR, ACCESSOR(DataControlControlBindSetter), 0, 0},
    STORED("ReadOnly", &booleanType.type, boolGetter, DataControlReadOnlySetter, readOnly),
    CONSTANT("kInsert", 0),
    CONSTANT("kUpdate", 1),
    CONSTANT("kDelete", 2),
    {0, "RecordLocked", &booleanType.type, ACCESSOR(DataControlRecordLockedGetter), NO_ACCESSOR, 0, 0},
    STORED("Commit", &booleanType.type, boolGetter, boolSetter, commit),
};
enum { kDatabaseProperty = 3 };

MethodParameter sIndexParams[] = {{"v", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sNameParams[] = {{"v", &stringType.type, 0, {}, 0, {}, 0, {}}};
PropertyMethod DataControlMethods[] = {
    METHOD("GetField", DataControlGetField, &stringType.type, sIndexParams, 1),
    METHOD("FieldCount", DataControlFieldCount, &integerType.type, nullptr, 0),
    METHOD("Cursor", DataControlGetCursor, nullptr, nullptr, 0),
    METHOD("RecordSet", DataControlGetCursor, nullptr, nullptr, 0),
    METHOD("MoveNext", DataControlMoveNext, nullptr, nullptr, 0),
    METHOD("MovePrevious", DataControlMovePrev, nullptr, nullptr, 0),
    METHOD("MoveFirst", DataControlMoveFirst, nullptr, nullptr, 0),
    METHOD("MoveLast", DataControlMoveLast, nullptr, nullptr, 0),
    METHOD("MoveTo", DataControlMoveTo, nullptr, sIndexParams, 1),
    METHOD("RecordCount", DataControlRowCount, &integerType.type, nullptr, 0),
    METHOD("RowCount", DataControlRowCount, &integerType.type, nullptr, 0),
    METHOD("Row", DataControlRow, &integerType.type, nullptr, 0),
    METHOD("RunQuery", DataControlRunQuery, nullptr, nullptr, 0),
    METHOD("Insert", DataControlAddNewRecord, nullptr, nullptr, 0),
    METHOD("Delete", DataControlDeleteRecord, nullptr, nullptr, 0),
    METHOD("Update", DataControlUpdateRecord, nullptr, nullptr, 0),
    METHOD("getBoundPart", DataControlGetBoundPart, nullptr, sNameParams, 1),
    METHOD("ClearBoundControls", DataControlClearBoundControls, nullptr, nullptr, 0),
    METHOD("NewRecord", DataControlNewRecord, nullptr, nullptr, 0),
};
enum { kCursorMethod = 2, kRecordSetMethod = 3, kBoundPartMethod = 16 };

PropertyMethod ActionMethods[] = {
    METHOD("PerformAction", DataControlActionPerformAction, nullptr, nullptr, 0),
};
// clang-format on

template <typename Handler> Handler HandlerOf(DataControlObject *object, Event event) {
  return reinterpret_cast<Handler>(FindObjectCode(&object->control.header, DataControlHooks[event].hook));
}

bool FireBoolean(DataControlObject *object, Event event) {
  auto handler = HandlerOf<int32_t (*)(RuntimeObject *)>(object, event);
  return handler && handler(&object->control.header) != 0;
}

void FirePlain(DataControlObject *object, Event event) {
  if (auto handler = HandlerOf<void (*)(RuntimeObject *)>(object, event))
    handler(&object->control.header);
}

// The control's events, as the pane reaches them.
class RunDataControlDelegate final : public DataControlDelegate {
public:
  bool DataControlAddNew(DataControlObject *o) override { return FireBoolean(o, kInsertEvent); }
  void DataControlDelete(DataControlObject *o) override { FirePlain(o, kDeleteEvent); }
  bool DataControlMoveFirst(DataControlObject *o) override { return FireBoolean(o, kMoveFirstEvent); }
  bool DataControlMoveLast(DataControlObject *o) override { return FireBoolean(o, kMoveLastEvent); }
  bool DataControlMoveNext(DataControlObject *o) override { return FireBoolean(o, kMoveNextEvent); }
  bool DataControlMovePrev(DataControlObject *o) override { return FireBoolean(o, kMovePreviousEvent); }
  void DataControlReposition(DataControlObject *o, int32_t row) override {
    if (auto handler = HandlerOf<void (*)(RuntimeObject *, int32_t)>(o, kRepositionEvent))
      handler(&o->control.header, row);
  }
  void DataControlUpdate(DataControlObject *o) override { FirePlain(o, kUpdateEvent); }
  bool DataControlValidate(DataControlObject *o, int32_t action) override {
    auto handler = HandlerOf<int32_t (*)(RuntimeObject *, int32_t)>(o, kValidateEvent);
    return handler && handler(&o->control.header, action) != 0;
  }
};

FontStructure FontOf(DataControlObject *d) {
  FontStructure font;
  font.name = string::Borrow(d->textFont);
  font.bold = d->bold;
  font.italic = d->italic;
  font.underline = d->underline;
  font.size = d->textSize;
  return font;
}

// Runs a step on the pane with the object held, so that a handler that
// drops the last reference to it does not free it under the step.
template <typename Step> void WithPane(RuntimeObject *object, Step step) {
  DataControl *pane = PaneOf(object);
  if (!pane)
    return;
  RuntimeLockObject(object);
  step(pane);
  RuntimeUnlockObject(object);
}

void ReplaceText(stringStorage *&field, stringStorage *value) {
  stringStorage::AddReference(value);
  stringStorage::RemoveReference(field);
  field = value;
}

void DataControlConstructor(RuntimeObject *object) {
  DataControlObject *d = AsData(object);
  d->caption = sqlStorage("");
  d->tableName = sqlStorage("");
  d->textSize = 0;
  LiveDataControls().insert(object);
}

void DataControlDestructor(RuntimeObject *object) {
  DataControlObject *d = AsData(object);
  LiveDataControls().erase(object);
  if (DataControl *pane = PaneOf(object)) {
    pane->SetObject(nullptr);
    pane->SetDelegate(nullptr);
  }
  DataControlClearBoundList(d);
  delete d->delegate;
  d->delegate = nullptr;
  RuntimeUnlockObject(d->database);
  d->database = nullptr;
  for (stringStorage **text : {&d->caption, &d->tableName, &d->sqlQuery, &d->textFont}) {
    stringStorage::RemoveReference(*text);
    *text = nullptr;
  }
}

void DataControlActionDestructor(RuntimeObject *object) {
  auto *action = reinterpret_cast<DataControlActionObject *>(object);
  RuntimeUnlockObject(action->dataControl);
  action->dataControl = nullptr;
}

void FontChanged(RuntimeObject *object) {
  if (DataControl *pane = PaneOf(object); pane && pane->SetFont(FontOf(AsData(object))))
    pane->InvalidatePane(false);
}

// A new table or database: the column names and the query start again.
void SourceChanged(RuntimeObject *object) {
  WithPane(object, [object](DataControl *p) {
    p->SetTableName(Text(AsData(object)->tableName));
    p->SetDatabase(AsData(object)->database);
    p->MarkFieldNamesUnfilled();
    p->FillFieldNames();
    p->PopulateCursor();
  });
}

// The steps that change records do nothing for a read-only control.
template <typename Step> void Editing(RuntimeObject *object, Step step) {
  if (object && !AsData(object)->readOnly)
    WithPane(object, step);
}

} // namespace

void DataControlClearBoundList(DataControlObject *object) {
  BoundControlEntry *entry = object->bound;
  object->bound = nullptr;
  while (entry) {
    BoundControlEntry *next = entry->next;
    delete entry;
    entry = next;
  }
}

void DataControlCreatePane(RuntimeObject *object) {
  DataControlObject *d = AsData(object);
  if (!d->delegate)
    d->delegate = new RunDataControlDelegate;
  auto *pane = new DataControl(d->delegate, d->control.container, d->control.tabPanelIndex, d->control.bounds);
  d->control.pane = pane;
  if (RuntimeControl *parent = d->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetObject(d);
  pane->SetFont(FontOf(d));
  pane->SetCaption(Text(d->caption));
  pane->SetDatabase(d->database);
  pane->SetTableName(Text(d->tableName));
  pane->SetSQLQuery(Text(d->sqlQuery));
  pane->SetAlignment(d->textAlign);
  pane->SetTextColor(d->textColor);
  WithPane(object, [](DataControl *p) {
    p->PopulateCursor();
    p->ResetButtons();
    p->FillBoundControls();
  });
}

ObjectDefinition *DataControlClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("DataControl");
  defn.super = RectControlClass();
  defn.objectSize = sizeof(DataControlObject);
  defn.staticTables = 1;
  defn.constructor = DataControlConstructor;
  defn.destructor = DataControlDestructor;
  auto *createPane = new ObjectHookInstance;
  createPane->name = string("CreatePane");
  createPane->code = reinterpret_cast<void *>(DataControlCreatePane);
  defn.hookInstances = createPane;
  DataControlProperties[kDatabaseProperty].type = DatabaseClass()->AsType();
  DataControlMethods[kCursorMethod].returnType = RecordSetClass()->AsType();
  DataControlMethods[kRecordSetMethod].returnType = RecordSetClass()->AsType();
  DataControlMethods[kBoundPartMethod].returnType = ObjectClass()->AsType();
  defn.properties = FillInstances(DataControlProperties, std::size(DataControlProperties));
  defn.methods = FillMethods(DataControlMethods, std::size(DataControlMethods));
  FillHooks(&defn, DataControlHooks, std::size(DataControlHooks));
  defn.addInterface(BindingPartInterfaceClass());
  return &defn;
}

ObjectDefinition *DataControlActionClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "DataControlAction", nullptr, sizeof(DataControlActionObject)))
    return &defn;
  defn.newAllowed = false;
  defn.destructor = DataControlActionDestructor;
  defn.methods = FillMethods(ActionMethods, std::size(ActionMethods));
  defn.addInterface(ActionNotificationReceiverClass());
  return &defn;
}

void RuntimeDataControl::AddBindControl(RuntimeObject *dataControl, RuntimeObject *control, int32_t kind) {
  if (!IsLive(dataControl) || !control)
    return;
  DataControlObject *d = AsData(dataControl);
  d->bound = new BoundControlEntry{control, kind, d->bound};
}

void RuntimeDataControl::DelBindControl(RuntimeObject *dataControl, RuntimeObject *control, int32_t kind) {
  if (!IsLive(dataControl))
    return;
  for (BoundControlEntry **link = &AsData(dataControl)->bound; *link; link = &(*link)->next) {
    BoundControlEntry *entry = *link;
    if (entry->control == control && entry->kind == kind) {
      *link = entry->next;
      delete entry;
      return;
    }
  }
}

void DataControlRepopulateData(RuntimeObject *dataControl) {
  if (IsLive(dataControl))
    WithPane(dataControl, [](DataControl *p) { p->FillBoundControls(); });
}

extern "C" {

void DataControlCaptionSetter(RuntimeObject *object, int32_t, stringStorage *value) {
  ReplaceText(AsData(object)->caption, value);
  if (DataControl *pane = PaneOf(object)) {
    pane->SetCaption(Text(value));
    pane->InvalidatePane(false);
  }
}

void DataControlAlignSetter(RuntimeObject *object, int32_t, int32_t value) {
  AsData(object)->textAlign = int16_t(value);
  if (DataControl *pane = PaneOf(object)) {
    pane->SetAlignment(value);
    pane->InvalidatePane(false);
  }
}

void DataControlColorSetter(RuntimeObject *object, int32_t, int32_t value) {
  AsData(object)->textColor = value;
  if (DataControl *pane = PaneOf(object); pane && pane->SetTextColor(value))
    pane->InvalidatePane(false);
}

void DataControlFontSetter(RuntimeObject *object, int32_t, stringStorage *value) {
  ReplaceText(AsData(object)->textFont, value);
  FontChanged(object);
}

void DataControlSizeSetter(RuntimeObject *object, int32_t, int32_t value) {
  AsData(object)->textSize = int16_t(value);
  FontChanged(object);
}

void DataControlAttributeSetter(RuntimeObject *object, int32_t offset, int32_t value) {
  reinterpret_cast<uint8_t *>(object)[offset] = value ? 1 : 0;
  FontChanged(object);
}

void DataControlTableNameSetter(RuntimeObject *object, int32_t, stringStorage *value) {
  ReplaceText(AsData(object)->tableName, value);
  SourceChanged(object);
}

void DataControlDBSetter(RuntimeObject *object, int32_t, RuntimeObject *database) {
  objSetter(object, offsetof(DataControlObject, database), database);
  SourceChanged(object);
}

RuntimeObject *DataControlDBGetter(RuntimeObject *object, int32_t) {
  return objGetter(object, offsetof(DataControlObject, database));
}

void DataControlQuerySetter(RuntimeObject *object, int32_t, stringStorage *value) {
  ReplaceText(AsData(object)->sqlQuery, value);
  if (DataControl *pane = PaneOf(object)) {
    pane->SetSQLQuery(Text(value));
    pane->InvalidatePane(false);
  }
}

void DataControlReadOnlySetter(RuntimeObject *object, int32_t, int32_t value) {
  AsData(object)->readOnly = value ? 1 : 0;
  WithPane(object, [](DataControl *p) { p->FillBoundControls(); });
}

void DataControlControlBindSetter(RuntimeObject *object, int32_t, int32_t) {
  DataControlClearBoundList(AsData(object));
}

int32_t DataControlGetConstant(RuntimeObject *, int32_t param) { return param; }

int32_t DataControlRecordLockedGetter(RuntimeObject *object, int32_t) {
  DataControl *pane = PaneOf(object);
  return pane && pane->RecordLocked() ? 1 : 0;
}

stringStorage *DataControlGetField(RuntimeObject *object, int32_t v) {
  DataControl *pane = PaneOf(object);
  if (!pane)
    return nullptr;
  if (!pane->FieldNamesFilled())
    pane->FillFieldNames();
  const auto &names = pane->FieldNames();
  if (v < 0 || size_t(v) >= names.size())
    return nullptr;
  return sqlString(names[size_t(v)]).ExtractStringStorage();
}

int32_t DataControlFieldCount(RuntimeObject *object) {
  DataControl *pane = PaneOf(object);
  if (!pane)
    return 0;
  if (!pane->FieldNamesFilled())
    pane->FillFieldNames();
  return int32_t(pane->FieldNames().size());
}

RuntimeObject *DataControlGetCursor(RuntimeObject *object) {
  DataControl *pane = PaneOf(object);
  RuntimeObject *recordSet = pane ? pane->RecordSet() : nullptr;
  RuntimeLockObject(recordSet);
  return recordSet;
}

void DataControlMoveNext(RuntimeObject *object) { WithPane(object, [](DataControl *p) { p->MoveNext(); }); }
void DataControlMovePrev(RuntimeObject *object) { WithPane(object, [](DataControl *p) { p->MovePrevious(); }); }
void DataControlMoveFirst(RuntimeObject *object) { WithPane(object, [](DataControl *p) { p->MoveFirst(); }); }
void DataControlMoveLast(RuntimeObject *object) { WithPane(object, [](DataControl *p) { p->MoveLast(); }); }
void DataControlMoveTo(RuntimeObject *object, int32_t v) {
  WithPane(object, [v](DataControl *p) { p->MoveTo(v); });
}

int32_t DataControlRowCount(RuntimeObject *object) {
  int32_t count = 0;
  WithPane(object, [&](DataControl *p) { count = p->RowCount(); });
  return count;
}

int32_t DataControlRow(RuntimeObject *object) {
  DataControl *pane = PaneOf(object);
  return pane && pane->RecordSet() ? pane->Row() + 1 : 0;
}

void DataControlRunQuery(RuntimeObject *object) { WithPane(object, [](DataControl *p) { p->RunQuery(); }); }

void DataControlAddNewRecord(RuntimeObject *object) { Editing(object, [](DataControl *p) { p->AddRecord(); }); }
void DataControlDeleteRecord(RuntimeObject *object) { Editing(object, [](DataControl *p) { p->DeleteRecord(); }); }
void DataControlUpdateRecord(RuntimeObject *object) { Editing(object, [](DataControl *p) { p->WriteBack(); }); }
void DataControlNewRecord(RuntimeObject *object) { Editing(object, [](DataControl *p) { p->BlankRecord(); }); }

void DataControlClearBoundControls(RuntimeObject *object) {
  WithPane(object, [](DataControl *p) { p->BlankBoundControls(); });
}

RuntimeObject *DataControlGetBoundPart(RuntimeObject *object, stringStorage *name) {
  const char *names[] = {"getAddNewAction", "getUpdateAction", "getDeleteAction", "getNewRecordAction"};
  const string wanted = string::Borrow(name);
  for (int32_t kind = 0; kind < int32_t(std::size(names)); ++kind) {
    if (wanted.Compare(string(names[kind])) != 0)
      continue;
    RuntimeObject *action = NewDatabaseObject(DataControlActionClass());
    if (action) {
      auto *a = reinterpret_cast<DataControlActionObject *>(action);
      RuntimeLockObject(object);
      a->dataControl = object;
      a->kind = kind;
    }
    return action;
  }
  return nullptr;
}

void DataControlActionPerformAction(RuntimeObject *object) {
  auto *action = reinterpret_cast<DataControlActionObject *>(object);
  if (!action || !action->dataControl)
    return;
  switch (action->kind) {
  case 0: DataControlAddNewRecord(action->dataControl); break;
  case 1: DataControlUpdateRecord(action->dataControl); break;
  case 2: DataControlDeleteRecord(action->dataControl); break;
  case 3: DataControlNewRecord(action->dataControl); break;
  default: break;
  }
}

} // extern "C"
