// The key-changing updates that the database benchmark times and
// dbupdatecount counts: a table "t" of rows with ids 0, 10, 20, ... and the
// update that moves the key of each of its last rows down by 5, each through
// its own record set, as an UPDATE of one row does.
#pragma once
#include <string>

#include "database/DatabaseInterface.h"
#include "database/ZANTDatabase.h"
#include "database/ZANTEngine.h"

inline stringStorage *KeyUpdateText(const std::string &text) {
  string s;
  s.ConstructFromBuffer(text.data(), int(text.size()));
  return s.ExtractStringStorage();
}

// Creates "t" (id integer primary key, pad text) with the rows and commits.
inline bool FillKeyTable(dbDatabase *db, int rows) {
  stringStorage *table = KeyUpdateText("t");
  ZANTcolumnDefinition pad{nullptr, KeyUpdateText("pad"), kColumnText, 1};
  ZANTcolumnDefinition id{&pad, KeyUpdateText("id"), kColumnInteger, 0};
  const uint8_t key[] = {0};
  gZANTEngineDefinition.createNewTable(db, table, &id, key, 1);
  ZANTcolumnValue padValue{nullptr, pad.name, KeyUpdateText(std::string(40, 'p')), kColumnText};
  ZANTcolumnValue idValue{&padValue, id.name, nullptr, kColumnInteger};
  for (int k = 0; k < rows; k++) {
    idValue.value = KeyUpdateText(std::to_string(k * 10));
    gZANTEngineDefinition.addTableRecord(db, table, &idValue);
    stringStorage::RemoveReference(idValue.value);
  }
  gZANTEngineDefinition.commitChanges(db);
  for (stringStorage *text : {table, pad.name, id.name, padValue.value}) stringStorage::RemoveReference(text);
  return db->lastError == 0;
}

// Moves the keys of the last `times` rows of a table of `rows` rows.
inline bool UpdateKeysNearTheEnd(dbDatabase *db, int rows, int times) {
  stringStorage *table = KeyUpdateText("t");
  ZANTcolumnName all{nullptr, KeyUpdateText("*")};
  bool ok = true;
  for (int i = 0; ok && i < times && i < rows; i++) {
    int id = (rows - 1 - i) * 10;
    auto *condition = new ZANTcolumnConstraints{nullptr, nullptr, kConstraintEqual, 0, KeyUpdateText("id"),
                                                KeyUpdateText(std::to_string(id))};
    RuntimeObject *object = gZANTEngineDefinition.getTableRecordSet(db, table, &all, condition);
    disposeZANTcolumnConstraint(condition);
    auto *rs = reinterpret_cast<DatabaseCursorObject *>(object);
    if (!rs || rs->eof) {
      ok = false;
    } else {
      // Columns come in name order: id is column 0.
      ZANTpendingEdit edit{nullptr, 0, KeyUpdateText(std::to_string(id - 5))};
      rs->definition->updateRow(rs->handle, &edit);
      stringStorage::RemoveReference(edit.value);
      ok = db->lastError == 0;
    }
    if (object) {
      cursorClose(object);
      RuntimeUnlockObject(object);
    }
  }
  stringStorage::RemoveReference(all.name);
  stringStorage::RemoveReference(table);
  return ok;
}
