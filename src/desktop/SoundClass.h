// The Sound class of the language: a Sound object owns its player.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

class FolderItemImp;
class SoundImp;

struct SoundObject {
  RuntimeObject header;
  SoundImp *player;
};
static_assert(sizeof(SoundObject) == 28);
static_assert(offsetof(SoundObject, player) == 24);

ObjectDefinition *SoundClass();

extern "C" {
void RuntimeSoundConstructor(RuntimeObject *sound);
void RuntimeSoundDestructor(RuntimeObject *sound);
int32_t SoundPanGetter(RuntimeObject *sound);
void SoundPanSetter(RuntimeObject *sound, int32_t, int32_t pan);
int32_t SoundVolumeGetter(RuntimeObject *sound);
void SoundVolumeSetter(RuntimeObject *sound, int32_t, int32_t volume);
void soundPlay(RuntimeObject *sound);
void soundStop(RuntimeObject *sound);
void soundPlayLooping(RuntimeObject *sound);
int32_t soundIsPlaying(RuntimeObject *sound);
RuntimeObject *SoundClone(RuntimeObject *sound);
}

// Hands the file (owned by the player from then on) and the sound's offset
// inside it to the Sound's player; ignored, and the file deleted, for a nil
// Sound or player.
void SetSoundFile(RuntimeObject *sound, FolderItemImp *file, int32_t offset);
