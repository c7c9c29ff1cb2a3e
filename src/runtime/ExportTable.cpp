#include "runtime/ExportTable.h"

#include <string_view>
#include <unordered_map>

#include "foundation/SimpleVector.h"
#include "runtime/AssertionAlert.h"

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i]))
      return false;
  return true;
}

struct NameHash {
  size_t operator()(std::string_view name) const {
    uint32_t h = 0;
    for (char c : name)
      h = h * 31 + uint8_t(UpperAscii(c));
    return h;
  }
};

struct NameEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    return SameNameIgnoringCase(a, b);
  }
};

// Entries are allocated one by one and never freed: images and plug-ins keep
// their addresses.
SimpleVector<RelocEntry *> sDynamicRelocTable;

using NameIndex = std::unordered_map<std::string_view, const RelocEntry *, NameHash, NameEqual>;

void IndexEntry(NameIndex &index, const RelocEntry *entry) {
  if (entry->name && entry->address)
    index.insert_or_assign(std::string_view(entry->name), entry);
}

// Built on first use so that the fixed table costs nothing at start-up. A
// later key replaces an earlier one; the fixed table's repeats share one
// address, so which of them is kept cannot be seen.
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
  NameIndex &index = Index();
  auto found = index.find(std::string_view(name));
  return found == index.end() ? nullptr : found->second;
}

int32_t GetRelocEntryTableSize() {
  return kFixedRelocEntryCount + sDynamicRelocTable.count();
}

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
      DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, __FILE__, __LINE__,
                               "functionPtr == oldEntry->code", name);
    return;
  }
  auto *entry = new RelocEntry{name, address};
  sDynamicRelocTable.push_back(entry);
  IndexEntry(Index(), entry);
}

const RelocEntry *FindFirstRelocEntry(const char *name) {
  std::string_view wanted(name);
  int32_t size = GetRelocEntryTableSize();
  for (int32_t i = 0; i < size; ++i) {
    const RelocEntry *entry = GetRelocEntry(i);
    if (entry->name && entry->address && SameNameIgnoringCase(entry->name, wanted))
      return entry;
  }
  return nullptr;
}
