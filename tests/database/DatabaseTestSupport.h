// What the database tests share: a scratch folder, hex fixtures, and short
// ways to create tables, insert rows and read them back through the
// built-in engine's slots.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "database/DatabaseInterface.h"
#include "database/ZANTDatabase.h"
#include "database/ZANTEngine.h"

class DatabaseScratch {
public:
  DatabaseScratch() {
    char pattern[] = "/tmp/dbtestXXXXXX";
    mRoot = mkdtemp(pattern);
  }
  ~DatabaseScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(mRoot, ignored);
  }
  std::string Path(const std::string &name) const { return mRoot + "/" + name; }
  static std::string Read(const std::string &path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
  }
  static void Write(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }

private:
  std::string mRoot;
};

// Bytes from hex digits; blanks and line breaks are ignored.
inline std::string Hex(const char *digits) {
  std::string out;
  int high = -1;
  for (const char *p = digits; *p; p++) {
    int v;
    if (*p >= '0' && *p <= '9') v = *p - '0';
    else if (*p >= 'A' && *p <= 'F') v = *p - 'A' + 10;
    else if (*p >= 'a' && *p <= 'f') v = *p - 'a' + 10;
    else continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(char(high << 4 | v));
      high = -1;
    }
  }
  return out;
}

inline stringStorage *Text(const std::string &text) {
  string s;
  s.ConstructFromBuffer(text.data(), int(text.size()));
  return s.ExtractStringStorage();
}

inline std::string Std(const string &s) { return std::string(s.CString(), size_t(s.Length())); }

// A column definition: name, type, NULL allowed.
struct ColumnSpec {
  std::string name;
  int32_t type;
  bool nullable = true;
};

inline void CreateTable(dbDatabase *db, const std::string &table, const std::vector<ColumnSpec> &columns,
                        const std::vector<uint8_t> &key = {}) {
  std::vector<ZANTcolumnDefinition> defs(columns.size());
  for (size_t i = 0; i < columns.size(); i++) {
    defs[i].next = i + 1 < columns.size() ? &defs[i + 1] : nullptr;
    defs[i].name = Text(columns[i].name);
    defs[i].type = columns[i].type;
    defs[i].nullable = columns[i].nullable ? 1 : 0;
  }
  stringStorage *name = Text(table);
  gZANTEngineDefinition.createNewTable(db, name, defs.empty() ? nullptr : defs.data(), key.data(),
                                       int32_t(key.size()));
  stringStorage::RemoveReference(name);
  for (auto &d : defs) stringStorage::RemoveReference(d.name);
}

using Value = std::optional<std::string>;

// Inserts one row; answers the engine's error code.
inline int32_t Insert(dbDatabase *db, const std::string &table,
                      const std::vector<std::pair<std::string, Value>> &values) {
  std::vector<ZANTcolumnValue> list(values.size());
  for (size_t i = 0; i < values.size(); i++) {
    list[i].next = i + 1 < values.size() ? &list[i + 1] : nullptr;
    list[i].name = Text(values[i].first);
    list[i].value = values[i].second ? Text(*values[i].second) : nullptr;
    list[i].type = 5;
  }
  stringStorage *name = Text(table);
  gZANTEngineDefinition.addTableRecord(db, name, list.empty() ? nullptr : list.data());
  stringStorage::RemoveReference(name);
  for (auto &v : list) {
    stringStorage::RemoveReference(v.name);
    stringStorage::RemoveReference(v.value);
  }
  return db->lastError;
}

inline std::string ErrorText(dbDatabase *db) {
  return Std(string::Adopt(gZANTEngineDefinition.getLastErrorString(db)));
}

// A value as text: NULL, numbers in decimal, dates and times with "-"/":".
inline std::string ValueText(const DatabaseValue &v) {
  const char *b = v.bytes.CString();
  char text[64];
  switch (v.type) {
  case 0: return "NULL";
  case 2: {
    int16_t n;
    std::memcpy(&n, b, 2);
    return std::to_string(n);
  }
  case 3: {
    int32_t n;
    std::memcpy(&n, b, 4);
    return std::to_string(n);
  }
  case 6: {
    float f;
    std::memcpy(&f, b, 4);
    std::snprintf(text, sizeof text, "%g", double(f));
    return text;
  }
  case 7: {
    double d;
    std::memcpy(&d, b, 8);
    std::snprintf(text, sizeof text, "%g", d);
    return text;
  }
  case 8:
  case 9: {
    auto part = [&](int i) { return int(int16_t(uint8_t(b[2 * i]) << 8 | uint8_t(b[2 * i + 1]))); };
    std::snprintf(text, sizeof text, v.type == 8 ? "%d-%d-%d" : "%d:%d:%d", part(0), part(1), part(2));
    return text;
  }
  case 12: return b[0] ? "true" : "false";
  default: return Std(v.bytes);
  }
}

using Rows = std::vector<std::vector<std::string>>;

// Every row of a record set, each column as text; the record set is closed.
inline Rows ReadAll(RuntimeObject *object) {
  Rows rows;
  auto *rs = reinterpret_cast<DatabaseCursorObject *>(object);
  if (!rs) return rows;
  int32_t count = rs->definition->getColumnCount(rs->handle);
  while (!rs->eof) {
    std::vector<std::string> row;
    for (int32_t c = 0; c < count; c++) row.push_back(ValueText(ReadCursorValue(rs, c)));
    rows.push_back(row);
    cursorMoveNext(object);
  }
  cursorClose(object);
  RuntimeUnlockObject(object);
  return rows;
}

// A condition leaf (or inner node with op 64/65); freed by the caller.
inline ZANTcolumnConstraints *Leaf(const char *column, uint32_t op, const char *value,
                                   uint32_t function = 0) {
  auto *node = new ZANTcolumnConstraints{};
  node->op = op;
  node->function = function;
  node->column = column ? Text(column) : nullptr;
  node->value = value ? Text(value) : nullptr;
  return node;
}
inline ZANTcolumnConstraints *Node(uint32_t op, ZANTcolumnConstraints *l, ZANTcolumnConstraints *r) {
  auto *node = new ZANTcolumnConstraints{};
  node->op = op;
  node->left = l;
  node->right = r;
  return node;
}

inline RuntimeObject *OpenTable(dbDatabase *db, const std::string &table,
                                ZANTcolumnConstraints *condition = nullptr,
                                std::vector<std::string> columns = {"*"}) {
  std::vector<ZANTcolumnName> names(columns.size());
  for (size_t i = 0; i < columns.size(); i++) {
    names[i].next = i + 1 < columns.size() ? &names[i + 1] : nullptr;
    names[i].name = Text(columns[i]);
  }
  stringStorage *name = Text(table);
  RuntimeObject *rs = gZANTEngineDefinition.getTableRecordSet(db, name, names.data(), condition);
  stringStorage::RemoveReference(name);
  for (auto &n : names) stringStorage::RemoveReference(n.name);
  disposeZANTcolumnConstraint(condition);
  return rs;
}

inline Rows Select(dbDatabase *db, const std::string &table, ZANTcolumnConstraints *condition = nullptr,
                   std::vector<std::string> columns = {"*"}) {
  return ReadAll(OpenTable(db, table, condition, std::move(columns)));
}
