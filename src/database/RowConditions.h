// Row conditions of the built-in engine: the engine's own copy of a
// condition tree, resolved against a table's columns and evaluated against
// stored rows (each comparison by ValueSatisfies).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "database/DatabaseEngine.h"
#include "database/StorageEngine.h"
#include "database/ValueConditions.h"
#include "foundation/String.h"

struct ZANTTable;

struct qvDatabaseConstraint {
  std::unique_ptr<qvDatabaseConstraint> left, right;
  uint32_t op = 0;
  uint32_t function = 0;
  string column;
  int16_t number = -1; // the column's number once resolved
  int16_t type = 0;
  string value;
};

std::unique_ptr<qvDatabaseConstraint> CopyConstraint(const ZANTcolumnConstraints *node);
// Gives every leaf the number and type of its column; false when a leaf
// names a column the table lacks.
bool ResolveConstraint(qvDatabaseConstraint *node, const ZANTTable *table);
// Whether the stored row satisfies the condition (a null one: always).
bool EvaluateConstraint(const qvDatabaseConstraint *node, qvdbDatabase *db, const uint8_t *record,
                        int length);


// The primary-key bytes to seek when the condition fixes every primary-key
// column (integer or text) with "=" and no function; false otherwise.
bool SeekKeyFromConstraint(const qvDatabaseConstraint *node, const ZANTTable *table,
                           std::vector<uint8_t> &key);
