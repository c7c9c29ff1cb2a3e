// The language's DataControl: a control that shows one record of a query at
// a time in the controls bound to it, and DataControlAction, an action that
// runs its Insert, Update, Delete or NewRecord.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"

class DataControlDelegate;

// One control bound to a DataControl (not counted: each leaves the list
// when its pane closes or its object goes).
struct BoundControlEntry {
  RuntimeObject *control;
  int32_t kind; // DataAwareControl
  BoundControlEntry *next;
};

struct DataControlObject {
  RuntimeControl control; // control.pane is the DataControl pane
  DataControlDelegate *delegate;
  stringStorage *caption;
  stringStorage *tableName;
  stringStorage *sqlQuery;
  RuntimeObject *database; // counted
  stringStorage *textFont;
  uint8_t bold;
  uint8_t italic;
  uint8_t underline;
  uint8_t pad127;
  int16_t textSize;
  int16_t pad130;
  BoundControlEntry *bound; // newest first
  int16_t textAlign;
  int16_t pad138;
  int32_t textColor;
  uint8_t readOnly;
  uint8_t commit;
  uint8_t pad146[2];
};
static_assert(sizeof(DataControlObject) == 148);
static_assert(offsetof(DataControlObject, delegate) == 100);
static_assert(offsetof(DataControlObject, caption) == 104);
static_assert(offsetof(DataControlObject, tableName) == 108);
static_assert(offsetof(DataControlObject, sqlQuery) == 112);
static_assert(offsetof(DataControlObject, database) == 116);
static_assert(offsetof(DataControlObject, textFont) == 120);
static_assert(offsetof(DataControlObject, bold) == 124);
static_assert(offsetof(DataControlObject, italic) == 125);
static_assert(offsetof(DataControlObject, underline) == 126);
static_assert(offsetof(DataControlObject, textSize) == 128);
static_assert(offsetof(DataControlObject, bound) == 132);
static_assert(offsetof(DataControlObject, textAlign) == 136);
static_assert(offsetof(DataControlObject, textColor) == 140);
static_assert(offsetof(DataControlObject, readOnly) == 144);
static_assert(offsetof(DataControlObject, commit) == 145);

struct DataControlActionObject {
  RuntimeObject header;
  RuntimeObject *dataControl; // counted
  int32_t kind;               // 0 insert, 1 update, 2 delete, 3 new record
};
static_assert(sizeof(DataControlActionObject) == 32);
static_assert(offsetof(DataControlActionObject, dataControl) == 24);
static_assert(offsetof(DataControlActionObject, kind) == 28);

ObjectDefinition *DataControlClass();
ObjectDefinition *DataControlActionClass();

// The "CreatePane" hook.
void DataControlCreatePane(RuntimeObject *object);
// Empties the bound-control list (the pane closes, ControlBind is set).
void DataControlClearBoundList(DataControlObject *object);

extern "C" {
void DataControlCaptionSetter(RuntimeObject *object, int32_t param, stringStorage *value);
void DataControlTableNameSetter(RuntimeObject *object, int32_t param, stringStorage *value);
void DataControlQuerySetter(RuntimeObject *object, int32_t param, stringStorage *value);
RuntimeObject *DataControlDBGetter(RuntimeObject *object, int32_t param);
void DataControlDBSetter(RuntimeObject *object, int32_t param, RuntimeObject *database);
void DataControlAlignSetter(RuntimeObject *object, int32_t param, int32_t value);
void DataControlColorSetter(RuntimeObject *object, int32_t param, int32_t value);
void DataControlFontSetter(RuntimeObject *object, int32_t param, stringStorage *value);
void DataControlSizeSetter(RuntimeObject *object, int32_t param, int32_t value);
void DataControlAttributeSetter(RuntimeObject *object, int32_t param, int32_t value);
void DataControlControlBindSetter(RuntimeObject *object, int32_t param, int32_t value);
void DataControlReadOnlySetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t DataControlGetConstant(RuntimeObject *object, int32_t param);
int32_t DataControlRecordLockedGetter(RuntimeObject *object, int32_t param);

stringStorage *DataControlGetField(RuntimeObject *object, int32_t v);
int32_t DataControlFieldCount(RuntimeObject *object);
RuntimeObject *DataControlGetCursor(RuntimeObject *object);
void DataControlMoveNext(RuntimeObject *object);
void DataControlMovePrev(RuntimeObject *object);
void DataControlMoveFirst(RuntimeObject *object);
void DataControlMoveLast(RuntimeObject *object);
void DataControlMoveTo(RuntimeObject *object, int32_t v);
int32_t DataControlRowCount(RuntimeObject *object);
int32_t DataControlRow(RuntimeObject *object);
void DataControlRunQuery(RuntimeObject *object);
void DataControlAddNewRecord(RuntimeObject *object);
void DataControlDeleteRecord(RuntimeObject *object);
void DataControlUpdateRecord(RuntimeObject *object);
RuntimeObject *DataControlGetBoundPart(RuntimeObject *object, stringStorage *name);
void DataControlClearBoundControls(RuntimeObject *object);
void DataControlNewRecord(RuntimeObject *object);

void DataControlActionPerformAction(RuntimeObject *object);
}
