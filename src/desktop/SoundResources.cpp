// The resource manager's sounds: a 'WAVE' resource is played straight from
// the executable, at the resource's offset inside it.
#include "desktop/SoundServices.h"
#include "runtime/image/ExecutablePathPosix.h"
#include "runtime/image/ResourceManager.h"
#include "runtime/startup/ProgramArguments.h"

RuntimeObject *ResourceManagerElf::GetSound(int16_t id) {
  if (!HasSoundSupport())
    return nullptr;
  const ResourceEntry entry = GetResource(FourCharCode("WAVE"), id);
  if (!entry.data)
    return nullptr;
  // The executable's real path, as the loader read it: argument 0 may be a
  // bare name found on the search path or relative to another folder.
  const std::string path = CurrentExecutablePath(gArgv ? gArgv[0] : "");
  string text;
  text.ConstructFromBuffer(path.data(), int(path.size()));
  return NewSoundForFile(text, entry.fileOffset);
}

extern "C" RuntimeObject *RuntimeGetSoundFromResourceManager(int32_t id) {
  return gResourceManager.GetSound(int16_t(id));
}
