// The export rows each finished area binds, listed in bound/<area>.txt (one
// export name per line, # starts a comment). Every listed name must be a row
// of the fixed export table or of the global-function table whose function is
// linked in: a function renamed, or defined under a name that differs in
// letter case from its row, leaves the row nil and fails here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/exports/ExportTable.h"
#include "runtime/exports/GlobalFunctionRows.h"

namespace {

// The fixed row of that exact name (letter case counts) with its function.
bool FixedRowIsBound(const std::string &name) {
  for (const RelocEntry &row : kFixedRelocTable)
    if (name == row.name && row.address)
      return true;
  return false;
}

bool GlobalRowIsBound(const std::string &name) {
  for (const GlobalFunctionRow &row : kGlobalFunctionRows)
    if (name == row.exportName && row.entry)
      return true;
  return false;
}

struct AreaRows {
  std::string area;
  std::vector<std::string> names;
};

std::vector<AreaRows> ReadBoundRowLists() {
  std::vector<AreaRows> areas;
  const char *dataDir = std::getenv("TEST_DATA_DIR");
  if (!dataDir)
    return areas;
  std::filesystem::path folder = std::filesystem::path(dataDir) / "bound";
  for (const auto &file : std::filesystem::directory_iterator(folder)) {
    if (file.path().extension() != ".txt")
      continue;
    AreaRows rows{file.path().stem().string(), {}};
    std::ifstream in(file.path());
    for (std::string line; std::getline(in, line);) {
      line = line.substr(0, line.find('#'));
      line.erase(line.find_last_not_of(" \t\r") + 1);
      line.erase(0, line.find_first_not_of(" \t"));
      if (!line.empty())
        rows.names.push_back(line);
    }
    areas.push_back(rows);
  }
  return areas;
}

TEST(BoundRows, EveryListedRowOfEveryAreaHasItsFunction) {
  std::vector<AreaRows> areas = ReadBoundRowLists();
  ASSERT_FALSE(areas.empty()) << "no lists under $TEST_DATA_DIR/bound";
  for (const AreaRows &rows : areas) {
    EXPECT_FALSE(rows.names.empty()) << rows.area;
    for (const std::string &name : rows.names)
      EXPECT_TRUE(FixedRowIsBound(name) || GlobalRowIsBound(name))
          << rows.area << ": row " << name << " is not bound";
  }
}

} // namespace
