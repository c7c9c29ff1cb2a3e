// A small in-memory engine behind the engine and cursor tables, for testing
// the runtime's SQL without the built-in engine: tables of text values with
// integer or text columns, a cursor per opened table that filters rows by the
// condition tree it was given, and a log of what reached the engine. Slots can
// be left out to play an engine that lacks them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database/DatabaseEngine.h"
#include "database/DatabaseObjects.h"
#include "database/sql/ValueOrder.h"

struct FakeColumn {
  std::string name;
  int32_t type = kColumnText; // kColumnInteger or kColumnText
  bool nullable = true;
};

using FakeValue = std::optional<std::string>;
using FakeRow = std::vector<FakeValue>;

struct FakeTable {
  std::string name;
  std::vector<FakeColumn> columns;
  std::vector<uint8_t> keys;
  std::vector<FakeRow> rows;
};

class FakeEngine {
public:
  FakeEngine();
  ~FakeEngine();

  // A connected Database object over this engine (one reference).
  RuntimeObject *Database();
  DatabaseObject *database() { return reinterpret_cast<DatabaseObject *>(Database()); }

  FakeTable &AddTable(const std::string &name, std::vector<FakeColumn> columns, std::vector<FakeRow> rows = {});
  FakeTable *Find(const std::string &name);

  // Runs a statement and answers the Database's error code (0: none).
  int32_t Execute(const std::string &sql);
  std::string ErrorMessage();

  dbEngineDefinition engine{};
  ZANTdbCursorDefinition cursor{};

  std::vector<FakeTable> tables;
  std::vector<std::string> directSQL;  // texts that reached directSQLExecute
  std::vector<std::string> conditions; // each getTableRecordSet's condition, written out
  std::vector<std::string> updateLog;  // each updateFields record: name | key | value
  int32_t commits = 0, rollbacks = 0;
  int32_t lastError = 0;
  // The engine refuses to update rows whose first column holds this text.
  std::optional<std::string> refuseUpdateOf;

private:
  RuntimeObject *mDatabase = nullptr;
  void *mHandle = nullptr;
};

// The condition tree in prefix form, as the fake engine logs it.
std::string FakeConditionText(const ZANTcolumnConstraints *node);
// The rows of a table in order, each as its values joined by "|" (NULL: "~").
std::vector<std::string> FakeRowTexts(const FakeTable &table);

// The rows of a SELECT, each as the StringValue texts of its columns joined
// by "|" (NULL: "~"); on failure a single entry "error N: message".
std::vector<std::string> FakeSelect(FakeEngine &fake, const std::string &sql);
std::vector<std::string> SqlSelectRows(RuntimeObject *database, const std::string &sql);
// Runs a statement; answers the Database's error code.
int32_t SqlExecuteText(RuntimeObject *database, const std::string &sql);
std::string SqlErrorMessage(RuntimeObject *database);
// The rows of a record set from its current row on (it ends at EOF).
std::vector<std::string> FakeRecordSetRows(DatabaseCursorObject *recordSet);
// The current row of a record set only.
std::string FakeCurrentRow(DatabaseCursorObject *recordSet);

// A read-only record set over rows of typed values held in memory (the
// cursor names its columns c0, c1, ...; without names when unnamed is set).
using SqlRow = std::vector<SqlValue>;
DatabaseCursorObject *VectorSource(std::vector<SqlRow> rows, bool unnamed = false);

// Typed values as cursors hand them out.
inline SqlValue SqlInteger(int32_t value) { return {kColumnInteger, std::string(reinterpret_cast<char *>(&value), 4)}; }
inline SqlValue SqlDouble(double value) { return {kColumnDouble, std::string(reinterpret_cast<char *>(&value), 8)}; }
inline SqlValue SqlText(const std::string &text) { return {kColumnText, text}; }
// A date, time or timestamp: big-endian 16-bit fields.
inline SqlValue SqlFields(uint8_t type, int a, int b, int c) {
  const char bytes[] = {char(a >> 8), char(a), char(b >> 8), char(b), char(c >> 8), char(c)};
  return {type, std::string(bytes, 6)};
}
inline SqlValue SqlBoolean(bool value) { return {kColumnBoolean, std::string(1, value ? 1 : 0)}; }
inline SqlValue SqlBytes(const std::string &bytes) { return {kColumnLongBinary, bytes}; }
