#include "runtime/exports/ExportTable.h"

#include "foundation/AssertionAlert.h"
#include "foundation/ByteStrings.h"
#include "foundation/SimpleVector.h"
#include "foundation/StringMap.h"

namespace {

// Entries are allocated one by one and never freed: images and plug-ins keep
// their addresses.
SimpleVector<RelocEntry *> sDynamicRelocTable;

// Keys match without regard to case; a later key replaces an earlier one.
using NameIndex = StringMap<const RelocEntry *>;

void IndexEntry(NameIndex &index, const RelocEntry *entry) {
  if (entry->name && entry->address)
    index.AddEntry(string(entry->name), entry);
}

// Built on first use so that the fixed table costs nothing at start-up. The
// fixed table's repeats share one address, so which of them is kept cannot be
// seen. Never destroyed: lookups may come from other objects' destructors.
NameIndex &Index() {
  static NameIndex *index = [] {
    auto *built = new NameIndex(256);
    for (const RelocEntry &entry : kFixedRelocTable)
      IndexEntry(*built, &entry);
    for (const RelocEntry *entry : sDynamicRelocTable)
      IndexEntry(*built, entry);
    return built;
  }();
  return *index;
}

} // namespace

const RelocEntry *resolveRelocEntry(const char *name) {
  if (!name)
    return nullptr;
  const RelocEntry *entry = nullptr;
  return Index().GetEntry(string(name), &entry) ? entry : nullptr;
}

int32_t GetRelocEntryTableSize() { return kFixedRelocEntryCount + sDynamicRelocTable.count(); }

const RelocEntry *GetRelocEntry(int32_t index) {
  if (!RUNTIME_CHECK(index >= 0 && index < GetRelocEntryTableSize()))
    return nullptr;
  if (index < kFixedRelocEntryCount)
    return &kFixedRelocTable[index];
  return sDynamicRelocTable.begin()[index - kFixedRelocEntryCount];
}

void AddRelocEntry(const char *name, void *address) {
  if (!address)
    return;
  if (const RelocEntry *existing = resolveRelocEntry(name)) {
    if (existing->address != address)
      ShowAlert({__FILE__, __LINE__, "functionPtr == oldEntry->code"}, name);
    return;
  }
  auto *entry = new RelocEntry{name, address};
  sDynamicRelocTable.push_back(entry);
  IndexEntry(Index(), entry);
}

const RelocEntry *FindFirstRelocEntry(const char *name) {
  int32_t size = GetRelocEntryTableSize();
  for (int32_t i = 0; i < size; ++i) {
    const RelocEntry *entry = GetRelocEntry(i);
    if (entry->name && entry->address && ustrcmpi(entry->name, name) == 0)
      return entry;
  }
  return nullptr;
}
