// Reading 100,000 rows of three columns as a program of the language does,
// through a RecordSet of the built-in engine (MoveNext, then StringValue and
// IntegerValue of fields taken by index), against SQLite's step and column
// calls over the same rows. Each iteration reads every row once; the rows
// are written once per run, outside the measured loop.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/DatabaseObjects.h"
#include "database/ZANTEngine.h"
#include "database/classes/DatabaseFieldClass.h"
#include "database/classes/DatabaseMembers.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlStrings.h"

namespace {

constexpr int kRows = 100000;

// Iterations of each benchmark (RECORDSET_BENCH_ITERATIONS, default 3), so
// that instruction counts of two runs can take the set-up out.
int64_t Iterations() {
  const char *text = std::getenv("RECORDSET_BENCH_ITERATIONS");
  const long n = text ? std::strtol(text, nullptr, 10) : 0;
  return n > 0 ? n : 3;
}

std::string TempPath(const char *what) {
  return "/tmp/bench_recordsets_" + std::to_string(getpid()) + "_" + what;
}

std::string Name(int id) { return "name " + std::to_string(id * 7919 % 100003); }

void Execute(RuntimeObject *database, const std::string &sql) {
  stringStorage *text = sqlStorage(sql);
  databaseSQLExecute(database, text);
  stringStorage::RemoveReference(text);
}

void BM_RecordSet_ReadFields(benchmark::State &state) {
  CreateDatabaseClasses();
  const std::string path = TempPath("rows.db");
  std::remove(path.c_str());
  RuntimeObject *database =
      ZANTdbDatabaseFromDBDatabase(CreateZANTPath(string(path.c_str())), &gZANTEngineDefinition);
  Execute(database, "CREATE TABLE t (id integer, name varchar(40), n integer, PRIMARY KEY (id))");
  // The rows go in through the engine's slot, in one transaction.
  dbDatabase *handle = reinterpret_cast<DatabaseObject *>(database)->handle;
  stringStorage *table = sqlStorage("t");
  ZANTcolumnValue n{nullptr, sqlStorage("n"), nullptr, kColumnInteger};
  ZANTcolumnValue name{&n, sqlStorage("name"), nullptr, kColumnText};
  ZANTcolumnValue id{&name, sqlStorage("id"), nullptr, kColumnInteger};
  for (int k = 0; k < kRows; ++k) {
    id.value = sqlStorage(std::to_string(k));
    name.value = sqlStorage(Name(k));
    n.value = sqlStorage(std::to_string(k * 3));
    gZANTEngineDefinition.addTableRecord(handle, table, &id);
    for (ZANTcolumnValue *v : {&id, &name, &n})
      stringStorage::RemoveReference(v->value);
  }
  for (ZANTcolumnValue *v : {&id, &name, &n})
    stringStorage::RemoveReference(v->name);
  stringStorage::RemoveReference(table);
  databaseCommit(database);
  stringStorage *select = sqlStorage("SELECT * FROM t");
  for (auto _ : state) {
    int64_t sum = 0;
    RuntimeObject *rs = databaseSQLSelect(database, select);
    for (; rs && !reinterpret_cast<DatabaseCursorObject *>(rs)->eof; cursorMoveNext(rs)) {
      RuntimeObject *name = cursorGetFieldByIndex(rs, 2);
      RuntimeObject *n = cursorGetFieldByIndex(rs, 3);
      stringStorage *text = cursorFieldStringValueGetter(name);
      sum += stringStorage::Length(text) + cursorFieldIntegerValueGetter(n, 0);
      stringStorage::RemoveReference(text);
      RuntimeUnlockObject(name);
      RuntimeUnlockObject(n);
    }
    RuntimeUnlockObject(rs);
    benchmark::DoNotOptimize(sum);
  }
  stringStorage::RemoveReference(select);
  RuntimeUnlockObject(database);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_SQLite_StepColumns(benchmark::State &state) {
  const std::string path = TempPath("rows.sqlite");
  std::remove(path.c_str());
  sqlite3 *db;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "PRAGMA synchronous=OFF; CREATE TABLE t(id INTEGER PRIMARY KEY, name VARCHAR, n INTEGER);",
               nullptr, nullptr, nullptr);
  sqlite3_stmt *insert;
  sqlite3_prepare_v2(db, "INSERT INTO t(id, name, n) VALUES (?, ?, ?)", -1, &insert, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (int k = 0; k < kRows; ++k) {
    const std::string name = Name(k);
    sqlite3_bind_int(insert, 1, k);
    sqlite3_bind_text(insert, 2, name.data(), int(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 3, k * 3);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_finalize(insert);
  sqlite3_stmt *select;
  sqlite3_prepare_v2(db, "SELECT * FROM t", -1, &select, nullptr);
  for (auto _ : state) {
    int64_t sum = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
      sqlite3_column_text(select, 1);
      sum += sqlite3_column_bytes(select, 1) + sqlite3_column_int(select, 2);
    }
    sqlite3_reset(select);
    benchmark::DoNotOptimize(sum);
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_RecordSet_ReadFields)->Unit(benchmark::kMillisecond)->Iterations(Iterations());
BENCHMARK(BM_SQLite_StepColumns)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

} // namespace

BENCHMARK_MAIN();
