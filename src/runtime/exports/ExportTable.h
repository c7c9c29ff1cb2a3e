// The runtime export table: the named entry points that compiled images and
// plug-ins bind to. A fixed part is compiled in (ExportTableRows.cpp); a
// dynamic part grows at start-up as class tables and plug-ins register their
// export names. Names are matched without regard to letter case.
#pragma once
#include <cstddef>
#include <cstdint>

// One named entry point. The table keeps the name pointer, not a copy, so a
// name must live as long as the process. A nil address marks a row whose
// function is not linked in: it counts as absent for binding and lookup.
struct RelocEntry {
  const char *name;
  void *address;
};
static_assert(sizeof(RelocEntry) == 8);
static_assert(offsetof(RelocEntry, name) == 0);
static_assert(offsetof(RelocEntry, address) == 4);

constexpr int32_t kFixedRelocEntryCount = 578;
extern const RelocEntry kFixedRelocTable[kFixedRelocEntryCount];

// The entry registered under the name (letter case ignored) whose address is
// not nil, or nil. A repeated name answers its last registration.
const RelocEntry *resolveRelocEntry(const char *name);

// Fixed rows first (indexes 0 to 577), then the dynamic entries in the order
// they were added.
int32_t GetRelocEntryTableSize();
const RelocEntry *GetRelocEntry(int32_t index);

// Adds a dynamic entry. A nil address is ignored; a name already registered
// with the same address changes nothing; with another address the assertion
// alert is shown and the first registration stays in force. A nil name counts
// in the table size but cannot be looked up.
void AddRelocEntry(const char *name, void *address);

// The first entry in index order whose name matches (letter case ignored) and
// whose address is not nil: how the loader binds an image's imports.
const RelocEntry *FindFirstRelocEntry(const char *name);
