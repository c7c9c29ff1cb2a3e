#include "desktop/SoundClass.h"

#include <iterator>

#include "desktop/SoundImpUnix.h"
#include "desktop/SoundServices.h"
#include "foundation/FolderItemImp.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

SoundImp *PlayerOf(RuntimeObject *sound) {
  return sound ? reinterpret_cast<SoundObject *>(sound)->player : nullptr;
}

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
  return value < low ? low : value > high ? high : value;
}

// The file of a sound that sits at a path: all the player asks of it.
class SoundFileItem final : public FolderItemImp {
public:
  explicit SoundFileItem(const string &path) : mPath(path) {}
  FolderItemImp *Clone() const override { return new SoundFileItem(mPath); }
  string GetAbsolutePath() override { return mPath; }

private:
  string mPath;
};

} // namespace

extern "C" {

void RuntimeSoundConstructor(RuntimeObject *sound) {
  reinterpret_cast<SoundObject *>(sound)->player = SoundImp::New();
}

void RuntimeSoundDestructor(RuntimeObject *sound) {
  auto *s = reinterpret_cast<SoundObject *>(sound);
  delete s->player;
  s->player = nullptr;
}

int32_t SoundPanGetter(RuntimeObject *sound) {
  SoundImp *player = PlayerOf(sound);
  return player ? int32_t(player->GetPan()) : 0;
}

void SoundPanSetter(RuntimeObject *sound, int32_t, int32_t pan) {
  if (SoundImp *player = PlayerOf(sound))
    player->SetPan(Clamp(pan, -100, 100));
}

int32_t SoundVolumeGetter(RuntimeObject *sound) {
  SoundImp *player = PlayerOf(sound);
  return player ? int32_t(player->GetVolume()) : 0;
}

void SoundVolumeSetter(RuntimeObject *sound, int32_t, int32_t volume) {
  if (SoundImp *player = PlayerOf(sound))
    player->SetVolume(Clamp(volume, 0, 100));
}

void soundPlay(RuntimeObject *sound) {
  if (SoundImp *player = PlayerOf(sound))
    player->Play();
}

void soundStop(RuntimeObject *sound) {
  if (SoundImp *player = PlayerOf(sound))
    player->Stop();
}

void soundPlayLooping(RuntimeObject *sound) {
  if (SoundImp *player = PlayerOf(sound))
    player->PlayLooping();
}

int32_t soundIsPlaying(RuntimeObject *sound) {
  SoundImp *player = PlayerOf(sound);
  return player && player->IsPlaying() ? 1 : 0;
}

RuntimeObject *SoundClone(RuntimeObject *sound) {
  SoundImp *player = PlayerOf(sound);
  if (!player)
    return nullptr;
  RuntimeObject *copy = CreateInstance(SoundClass());
  if (!copy)
    return nullptr;
  auto *c = reinterpret_cast<SoundObject *>(copy);
  delete c->player;
  c->player = player->Clone();
  return copy;
}

} // extern "C"

void SetSoundFile(RuntimeObject *sound, FolderItemImp *file, int32_t offset) {
  if (auto *player = static_cast<SoundImpUnix *>(PlayerOf(sound)))
    player->SetFile(file, offset);
  else
    delete file;
}

bool HasSoundSupport() { return GetSoundLibrary() != nullptr; }

RuntimeObject *NewSoundForFile(const string &path, uint32_t offset) {
  RuntimeObject *sound = CreateInstance(SoundClass());
  if (sound)
    SetSoundFile(sound, new SoundFileItem(path), int32_t(offset));
  return sound;
}

ObjectDefinition *SoundClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate properties[] = {
      {0, "Pan", &integerType.type, ACCESSOR(SoundPanGetter), ACCESSOR(SoundPanSetter), 0, 0},
      {0, "Volume", &integerType.type, ACCESSOR(SoundVolumeGetter), ACCESSOR(SoundVolumeSetter), 0, 0},
  };
  static PropertyMethod methods[] = {
      METHOD("Play", soundPlay, nullptr, nullptr, 0),
      METHOD("Stop", soundStop, nullptr, nullptr, 0),
      METHOD("PlayLooping", soundPlayLooping, nullptr, nullptr, 0),
      METHOD("IsPlaying", soundIsPlaying, &booleanType.type, nullptr, 0),
      METHOD("Clone", SoundClone, nullptr, nullptr, 0),
  };
  methods[4].returnType = defn.AsType();
  DefineBuiltinClass(defn, {"Sound", sizeof(SoundObject), RuntimeSoundConstructor, RuntimeSoundDestructor,
                            true},
                     properties, int32_t(std::size(properties)), methods, int32_t(std::size(methods)));
  defn.consoleSafe = 0;
  return &defn;
}
