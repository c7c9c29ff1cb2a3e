// The built-in database engine against SQLite on the same rows: 100,000
// inserts in one transaction, 10,000 lookups by primary key, and a full
// scan; and the built-in engine's key-changing updates at two table sizes. SQLite runs with prepared statements, its rollback journal and
// synchronous=OFF; the built-in engine is driven through its engine and
// cursor slots, as the runtime's SQL drives it.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "database/DatabaseInterface.h"
#include "database/ZANTDatabase.h"
#include "database/ZANTEngine.h"
#include "instructions/KeyUpdates.h"

namespace {

constexpr int kRows = 100000;
constexpr int kLookups = 10000;

std::vector<int> Order(int count, uint32_t seed) {
  std::vector<int> ids(static_cast<size_t>(count));
  for (int i = 0; i < count; i++) ids[size_t(i)] = i;
  std::shuffle(ids.begin(), ids.end(), std::mt19937(seed));
  return ids;
}

std::string Name(int id) { return "name " + std::to_string(id * 7919 % 100003); }

std::string TempPath(const char *what) {
  return "/tmp/bench_database_" + std::to_string(getpid()) + "_" + what;
}

stringStorage *Text(const std::string &text) {
  string s;
  s.ConstructFromBuffer(text.data(), int(text.size()));
  return s.ExtractStringStorage();
}

// ------------------------------------------------------------ built-in

dbDatabase *ZANTFilled(const std::string &path) {
  std::remove(path.c_str());
  dbDatabase *db = CreateZANTPath(string(path.c_str()));
  stringStorage *table = Text("t");
  ZANTcolumnDefinition name{nullptr, Text("name"), kColumnText, 1};
  ZANTcolumnDefinition id{&name, Text("id"), kColumnInteger, 0};
  const uint8_t key[] = {0};
  gZANTEngineDefinition.createNewTable(db, table, &id, key, 1);
  ZANTcolumnValue nameValue{nullptr, name.name, nullptr, kColumnText};
  ZANTcolumnValue idValue{&nameValue, id.name, nullptr, kColumnInteger};
  for (int k : Order(kRows, 1)) {
    idValue.value = Text(std::to_string(k));
    nameValue.value = Text(Name(k));
    gZANTEngineDefinition.addTableRecord(db, table, &idValue);
    stringStorage::RemoveReference(idValue.value);
    stringStorage::RemoveReference(nameValue.value);
  }
  gZANTEngineDefinition.commitChanges(db);
  stringStorage::RemoveReference(table);
  stringStorage::RemoveReference(id.name);
  stringStorage::RemoveReference(name.name);
  return db;
}

void BM_BuiltIn_Insert100k(benchmark::State &state) {
  std::string path = TempPath("insert.db");
  for (auto _ : state) {
    dbDatabase *db = ZANTFilled(path);
    benchmark::DoNotOptimize(db->lastError);
    state.PauseTiming();
    FreeZANTHandle(db);
    state.ResumeTiming();
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kRows);
}

// Reads column 0 of every row of the record set, then closes it.
int64_t Drain(RuntimeObject *object) {
  auto *rs = reinterpret_cast<DatabaseCursorObject *>(object);
  int64_t bytes = 0;
  for (; !rs->eof; cursorMoveNext(object)) bytes += ReadCursorValue(rs, 0).bytes.Length();
  cursorClose(object);
  RuntimeUnlockObject(object);
  return bytes;
}

void BM_BuiltIn_Lookup10k(benchmark::State &state) {
  std::string path = TempPath("lookup.db");
  dbDatabase *db = ZANTFilled(path);
  stringStorage *table = Text("t");
  ZANTcolumnName column{nullptr, Text("name")};
  std::vector<int> keys = Order(kRows, 2);
  for (auto _ : state) {
    int64_t bytes = 0;
    for (int i = 0; i < kLookups; i++) {
      auto *condition = new ZANTcolumnConstraints{nullptr, nullptr, kConstraintEqual, 0, Text("id"),
                                                  Text(std::to_string(keys[size_t(i)]))};
      bytes += Drain(gZANTEngineDefinition.getTableRecordSet(db, table, &column, condition));
      disposeZANTcolumnConstraint(condition);
    }
    benchmark::DoNotOptimize(bytes);
  }
  stringStorage::RemoveReference(column.name);
  stringStorage::RemoveReference(table);
  FreeZANTHandle(db);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kLookups);
}

// 1,000 key-changing updates near the end of a table of state.range(0) rows,
// each through its own record set: the cost of one should not grow with
// the table.
void BM_BuiltIn_KeyUpdates(benchmark::State &state) {
  const int rows = int(state.range(0));
  constexpr int kUpdates = 1000;
  std::string path = TempPath("updates.db");
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    dbDatabase *db = CreateZANTPath(string(path.c_str()));
    FillKeyTable(db, rows);
    state.ResumeTiming();
    benchmark::DoNotOptimize(UpdateKeysNearTheEnd(db, rows, kUpdates));
    state.PauseTiming();
    FreeZANTHandle(db);
    state.ResumeTiming();
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kUpdates);
}

void BM_BuiltIn_FullScan(benchmark::State &state) {
  std::string path = TempPath("scan.db");
  FreeZANTHandle(ZANTFilled(path));
  dbDatabase *db = OpenZANTPath(string(path.c_str()));
  stringStorage *table = Text("t");
  ZANTcolumnName column{nullptr, Text("name")};
  for (auto _ : state)
    benchmark::DoNotOptimize(Drain(gZANTEngineDefinition.getTableRecordSet(db, table, &column, nullptr)));
  stringStorage::RemoveReference(column.name);
  stringStorage::RemoveReference(table);
  FreeZANTHandle(db);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kRows);
}

// ------------------------------------------------------------ SQLite

sqlite3 *SQLiteFilled(const std::string &path) {
  std::remove(path.c_str());
  sqlite3 *db;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=OFF;"
                   "CREATE TABLE t(id INTEGER PRIMARY KEY NOT NULL, name VARCHAR);",
               nullptr, nullptr, nullptr);
  sqlite3_stmt *insert;
  sqlite3_prepare_v2(db, "INSERT INTO t(id, name) VALUES (?, ?)", -1, &insert, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (int k : Order(kRows, 1)) {
    std::string name = Name(k);
    sqlite3_bind_int(insert, 1, k);
    sqlite3_bind_text(insert, 2, name.data(), int(name.size()), SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_finalize(insert);
  return db;
}

void BM_SQLite_Insert100k(benchmark::State &state) {
  std::string path = TempPath("insert.sqlite");
  for (auto _ : state) {
    sqlite3 *db = SQLiteFilled(path);
    state.PauseTiming();
    sqlite3_close(db);
    state.ResumeTiming();
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_SQLite_Lookup10k(benchmark::State &state) {
  std::string path = TempPath("lookup.sqlite");
  sqlite3 *db = SQLiteFilled(path);
  sqlite3_stmt *select;
  sqlite3_prepare_v2(db, "SELECT name FROM t WHERE id = ?", -1, &select, nullptr);
  std::vector<int> keys = Order(kRows, 2);
  for (auto _ : state) {
    int64_t bytes = 0;
    for (int i = 0; i < kLookups; i++) {
      sqlite3_bind_int(select, 1, keys[size_t(i)]);
      while (sqlite3_step(select) == SQLITE_ROW) bytes += sqlite3_column_bytes(select, 0);
      sqlite3_reset(select);
    }
    benchmark::DoNotOptimize(bytes);
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kLookups);
}

void BM_SQLite_FullScan(benchmark::State &state) {
  std::string path = TempPath("scan.sqlite");
  sqlite3_close(SQLiteFilled(path));
  sqlite3 *db;
  sqlite3_open(path.c_str(), &db);
  sqlite3_stmt *select;
  sqlite3_prepare_v2(db, "SELECT name FROM t", -1, &select, nullptr);
  for (auto _ : state) {
    int64_t bytes = 0;
    while (sqlite3_step(select) == SQLITE_ROW) bytes += sqlite3_column_bytes(select, 0);
    sqlite3_reset(select);
    benchmark::DoNotOptimize(bytes);
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_BuiltIn_Insert100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SQLite_Insert100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuiltIn_Lookup10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SQLite_Lookup10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuiltIn_FullScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuiltIn_KeyUpdates)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SQLite_FullScan)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
