// Key-changing updates near the end of a table of the built-in database, for
// counting what one costs at two table sizes (count-database-updates.sh).
// "fill <path> <rows>" makes the table (run it untraced); "update <path>
// <rows> <times>" opens it and moves the keys of its last <times> rows.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "KeyUpdates.h"

int main(int argc, char **argv) {
  if (argc == 4 && std::strcmp(argv[1], "fill") == 0) {
    std::remove(argv[2]);
    dbDatabase *db = CreateZANTPath(string(argv[2]));
    bool ok = db && FillKeyTable(db, std::atoi(argv[3]));
    FreeZANTHandle(db);
    return ok ? 0 : 1;
  }
  if (argc == 5 && std::strcmp(argv[1], "update") == 0) {
    dbDatabase *db = OpenZANTPath(string(argv[2]));
    bool ok = db && UpdateKeysNearTheEnd(db, std::atoi(argv[3]), std::atoi(argv[4]));
    FreeZANTHandle(db);
    return ok ? 0 : 1;
  }
  std::fprintf(stderr, "usage: dbupdatecount fill <path> <rows> | update <path> <rows> <times>\n");
  return 64;
}
