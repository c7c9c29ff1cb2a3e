#include "FixupStream.h"

#include <algorithm>

#include "LinkError.h"
#include "LittleEndian.h"

namespace imagelink {

namespace {

// Import records spell names with a length byte.
void appendShortName(std::vector<uint8_t> &out, const std::string &name) {
  if (name.empty() || name.size() > 255)
    throw LinkError("import name '" + name + "' must be 1 to 255 bytes long");
  out.push_back(uint8_t(name.size()));
  appendBytes(out, name);
  out.push_back(0);
}

// Each site holds the offset of the next; 0 ends the chain. Returns the first.
uint32_t chainSites(std::vector<uint8_t> &code, std::vector<uint32_t> sites) {
  std::sort(sites.begin(), sites.end());
  if (sites.front() == 0)
    throw LinkError("an import site cannot lie at code offset 0");
  for (size_t i = 0; i < sites.size(); ++i)
    writeLE32(code.data() + sites[i], i + 1 < sites.size() ? sites[i + 1] : 0);
  return sites.front();
}

template <typename Key, typename Chain>
std::vector<const std::pair<const Key, Chain> *>
inFirstUseOrder(const std::map<Key, Chain> &chains) {
  std::vector<const std::pair<const Key, Chain> *> ordered;
  for (const auto &entry : chains)
    ordered.push_back(&entry);
  std::sort(ordered.begin(), ordered.end(),
            [](auto *a, auto *b) { return a->second.order < b->second.order; });
  return ordered;
}

} // namespace

void FixupStream::addRuntimeImport(const std::string &name, bool relative, uint32_t site) {
  auto [it, added] =
      mRuntimeImports.try_emplace({name, relative}, Chain{mRuntimeImports.size(), {}});
  it->second.sites.push_back(site);
}

void FixupStream::addLibraryImport(const std::string &symbol, const std::string &library,
                                   uint32_t site) {
  auto [it, added] =
      mLibraryImports.try_emplace({symbol, library}, Chain{mLibraryImports.size(), {}});
  it->second.sites.push_back(site);
}

void FixupStream::addAddress(ImageImportTag tag, uint32_t site) {
  mAddresses.emplace_back(tag, site);
}

std::vector<uint32_t> FixupStream::patchedSites() const {
  std::vector<uint32_t> sites;
  for (const auto &[key, chain] : mRuntimeImports)
    sites.insert(sites.end(), chain.sites.begin(), chain.sites.end());
  for (const auto &[key, chain] : mLibraryImports)
    sites.insert(sites.end(), chain.sites.begin(), chain.sites.end());
  for (const auto &[tag, site] : mAddresses)
    sites.push_back(site);
  std::sort(sites.begin(), sites.end());
  return sites;
}

std::vector<uint8_t> FixupStream::write(std::vector<uint8_t> &code) const {
  std::vector<uint8_t> out;
  for (auto *entry : inFirstUseOrder(mRuntimeImports)) {
    const auto &[name, relative] = entry->first;
    out.push_back(kImportRuntimeFunction);
    out.push_back(relative ? kImportRelativeSites : kImportAbsoluteSites);
    appendLE32(out, chainSites(code, entry->second.sites));
    appendShortName(out, name);
  }
  for (auto *entry : inFirstUseOrder(mLibraryImports)) {
    const auto &[symbol, library] = entry->first;
    out.push_back(kImportLibraryFunction);
    appendLE32(out, chainSites(code, entry->second.sites));
    appendShortName(out, symbol);
    appendShortName(out, library);
  }
  auto addresses = mAddresses;
  std::sort(addresses.begin(), addresses.end(),
            [](auto &a, auto &b) { return a.second < b.second; });
  for (const auto &[tag, site] : addresses) {
    out.push_back(uint8_t(tag));
    appendLE32(out, site);
  }
  return out;
}

} // namespace imagelink
