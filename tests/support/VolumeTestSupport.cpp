#include "support/VolumeTestSupport.h"

#include <deque>
#include <map>

namespace {

// Follows an object's chain, adding each block start to owned; a block seen
// before belongs to two objects.
std::string ClaimChain(VHFSVolume &volume, MemoryStream &stream, uint32_t idnum,
                       std::map<uint32_t, uint32_t> &owned) {
  VFSVolume *store = volume.BlockStore();
  VFSBlockHeader header;
  double start = 0;
  if (!store->FindFileFirstBlock(idnum, header, start))
    return "no first block for " + std::to_string(idnum);
  for (int64_t step = 0; step < store->MaxWalkSteps(); ++step) {
    const uint32_t at = static_cast<uint32_t>(start);
    auto inserted = owned.emplace(at, idnum);
    if (!inserted.second)
      return "block " + std::to_string(at) + " in " + std::to_string(inserted.first->second) +
             " and " + std::to_string(idnum);
    if (header.mNextBlock == 0)
      return "";
    const uint32_t sequence = header.mSequence;
    start = header.mNextBlock;
    if (!stream.SeekFromStart(static_cast<long>(start)) || !store->ReadHeader(&header) ||
        header.mIdnum != idnum || header.mSequence != sequence + 1)
      return ""; // the chain ends at a block that is not its own
  }
  return "chain of " + std::to_string(idnum) + " does not end";
}

} // namespace

std::string CheckVolume(const std::string &bytes, VolumeListing *listing) {
  MemoryStream *stream = new MemoryStream(bytes);
  VHFSVolume volume(stream, true);
  if (!volume.IsValid())
    return "invalid";
  const VFileRef root = volume.GetRoot();
  if (root.mType != kFolderFileType)
    return "no root folder";
  std::map<uint32_t, uint32_t> owned;
  std::string problem = ClaimChain(volume, *stream, kMetadataIdnum, owned);
  if (problem.empty())
    problem = ClaimChain(volume, *stream, kRootDirectoryIDnum, owned);
  std::set<uint32_t> listed;
  std::deque<std::pair<VFileRef, std::string>> folders{{root, ""}};
  for (int64_t steps = 0; problem.empty() && !folders.empty(); ++steps) {
    if (steps > volume.MaxWalkSteps())
      return "folder walk does not end";
    const auto [folder, path] = folders.front();
    folders.pop_front();
    SimpleVector<VFileRef> children;
    if (!volume.GetChildren(folder, children))
      return "cannot list " + path;
    for (const VFileRef &child : children) {
      const std::string childPath = path + child.mName.CString();
      if (!listed.insert(child.mIdnum).second)
        return childPath + " listed twice";
      problem = ClaimChain(volume, *stream, child.mIdnum, owned);
      if (!problem.empty())
        break;
      if (child.mType == kFolderFileType) {
        folders.emplace_back(child, childPath + "/");
        if (listing)
          listing->entries.emplace_back(childPath + "/", "");
        continue;
      }
      bool ok = false;
      const std::string contents = ReadAll(volume, child, &ok);
      if (!ok)
        return childPath + " does not read to its length";
      if (listing)
        listing->entries.emplace_back(childPath, contents);
    }
  }
  if (!problem.empty())
    return problem;
  const VFileRef fresh = volume.CreateFile(root, "checker's new file", 0x54455854);
  std::string pattern(3000, '\0');
  for (size_t i = 0; i < pattern.size(); ++i)
    pattern[i] = static_cast<char>(i * 7 + 3);
  if (fresh.mType == 0 || !WriteAll(volume, fresh, pattern))
    return "cannot write a new file";
  if (ReadAll(volume, fresh) != pattern)
    return "new file does not read back";
  return "";
}
