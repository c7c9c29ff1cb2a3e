// The player of this platform: decodes the file with the sound library and
// writes 16-bit samples to the shared output from a background task of one
// tick. Volume and Pan set the master level of the whole machine.
#pragma once
#include <cstdint>
#include <cstdio>

#include "desktop/SoundImp.h"
#include "desktop/SoundLibrary.h"
#include "runtime/loop/BackgroundTask.h"

class FolderItemImp;

constexpr int32_t kSoundBufferSamples = 2048; // at most 4,096 bytes a tick

class SoundBackgroundTask final : public BackgroundTask {
public:
  SoundBackgroundTask(FolderItemImp *file, int32_t offset, bool looping);
  ~SoundBackgroundTask() override;
  void PerformTask() override;

  bool IsPlaying() const { return mPlaying; }
  // The player is gone: the task ends by itself once the sound has played.
  void DeleteWhenFinished() { mDeleteWhenFinished = true; }

private:
  // Fills the buffer with the next samples; false at the end of the sound.
  bool Decode();
  void Finish();

  bool mHoldsDevice = false;
  bool mDeleteWhenFinished = false;
  FILE *mFile = nullptr;
  bool mPlaying = false;
  bool mLooping = false;
  SNDFILE *mDecoder = nullptr;
  int32_t mFormat = 0;
  int32_t mChannels = 1;
  double mScale = 1; // float formats: 32,700 over the file's peak
  // Decoded samples not yet taken by the device: they go out before more are
  // read, so the device paces the decoding.
  int16_t mSamples[kSoundBufferSamples];
  int32_t mSampleCount = 0;
  int32_t mSamplesWritten = 0;
};

class SoundImpUnix final : public SoundImp {
public:
  SoundImpUnix();
  ~SoundImpUnix() override;
  SoundImp *Clone() override;
  void Play() override;
  void PlayLooping() override;
  bool IsPlaying() override;
  void Stop() override;
  void SetVolume(long volume) override;
  void SetPan(long pan) override;
  long GetVolume() override { return mVolume; }
  long GetPan() override { return mPan; }
  // Takes the file item over; the sound starts at the offset inside it.
  virtual void SetFile(FolderItemImp *file, long offset);
  FolderItemImp *File() const { return mFile; }
  int32_t Offset() const { return mOffset; }

private:
  void Start(bool looping);
  void WriteMasterLevel();

  FolderItemImp *mFile = nullptr;
  int32_t mOffset = 0;
  int32_t mPan = 0;
  int32_t mVolume = 100;
  SoundBackgroundTask *mTask = nullptr;
};

// The peak-scaled 16-bit sample of a float sample; NaN gives 0 and values
// beyond the range give its ends.
int16_t ScaledSample(float sample, double scale);
// The master levels (0 to 100 each) for a volume and pan.
void MasterLevelsFor(int32_t volume, int32_t pan, int32_t *left, int32_t *right);
