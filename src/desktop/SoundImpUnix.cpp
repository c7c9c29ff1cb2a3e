#include "desktop/SoundImpUnix.h"

#include <cmath>

#include <glib.h>

#include "desktop/SoundOutput.h"
#include "foundation/FolderItemImp.h"

namespace {

// Static, shared by every task (they never run at the same time), so that a
// tick allocates nothing.
float sFloatSamples[kSoundBufferSamples];

// A task that finished after its player went away is deleted once the run
// loop is idle, after the runner is done with it.
gboolean DeleteFinishedTask(gpointer task) {
  delete static_cast<SoundBackgroundTask *>(task);
  return FALSE;
}

} // namespace

int16_t ScaledSample(float sample, double scale) {
  const double value = double(sample) * scale;
  if (std::isnan(value))
    return 0;
  if (value >= 32767)
    return 32767;
  if (value <= -32768)
    return -32768;
  return int16_t(value); // toward zero
}

void MasterLevelsFor(int32_t volume, int32_t pan, int32_t *left, int32_t *right) {
  const int32_t far = volume * (100 - (pan < 0 ? -pan : pan)) / 100;
  *left = pan > 0 ? far : volume;
  *right = pan < 0 ? far : volume;
}

SoundBackgroundTask::SoundBackgroundTask(FolderItemImp *file, int32_t offset, bool looping)
    : BackgroundTask(1), mLooping(looping) {
  const SoundLibrary *library = GetSoundLibrary();
  if (!file || !library)
    return;
  string path = file->GetAbsolutePath();
  mFile = fopen(path.CString(), "rbe");
  if (!mFile)
    return;
  if (fseek(mFile, offset, SEEK_SET) != 0)
    return;
  SoundFileInfo info{};
  // The decoder takes the descriptor's position as the start of the sound.
  mDecoder = library->openFd(fileno(mFile), kSoundFileRead, &info, 0);
  if (!mDecoder)
    return;
  mFormat = info.format & 0xFFFF;
  mChannels = info.channels > 0 ? info.channels : 1;
  if (mChannels > kSoundBufferSamples)
    return;
  if (mFormat == kSoundFormatFloat || mFormat == kSoundFormatDouble) {
    double peak = 0;
    library->command(mDecoder, kSoundCalcSignalMax, &peak, sizeof peak);
    mScale = peak >= 1e-10 ? 32700 / peak : 1;
    library->seek(mDecoder, 0, SEEK_SET);
  }
  mHoldsDevice = AcquireSoundDevice(mChannels, info.samplerate);
  mPlaying = mHoldsDevice;
}

SoundBackgroundTask::~SoundBackgroundTask() {
  if (mHoldsDevice)
    ReleaseSoundDevice();
  if (mDecoder)
    if (const SoundLibrary *library = GetSoundLibrary())
      library->close(mDecoder);
  if (mFile)
    fclose(mFile);
}

bool SoundBackgroundTask::Decode() {
  const SoundLibrary *library = GetSoundLibrary();
  if (!library)
    return false;
  const int32_t wanted = kSoundBufferSamples - kSoundBufferSamples % mChannels;
  int64_t read;
  if (mFormat == kSoundFormatFloat || mFormat == kSoundFormatDouble) {
    read = library->readFloat(mDecoder, sFloatSamples, wanted);
    for (int64_t i = 0; i < read; ++i)
      mSamples[i] = ScaledSample(sFloatSamples[i], mScale);
  } else {
    read = library->readShort(mDecoder, mSamples, wanted);
  }
  mSampleCount = read > 0 ? int32_t(read) : 0;
  mSamplesWritten = 0;
  return mSampleCount > 0;
}

void SoundBackgroundTask::PerformTask() {
  if (!mPlaying)
    return;
  if (mSamplesWritten >= mSampleCount && !Decode()) {
    if (mLooping && GetSoundLibrary() && GetSoundLibrary()->seek(mDecoder, 0, SEEK_SET) >= 0)
      return; // goes on from the start at the next tick
    Finish();
    return;
  }
  const int32_t taken =
      CurrentSoundOutput().Write(mSamples + mSamplesWritten, mSampleCount - mSamplesWritten);
  if (taken < 0) {
    Finish();
    return;
  }
  mSamplesWritten += taken;
}

void SoundBackgroundTask::Finish() {
  mPlaying = false;
  if (mHoldsDevice) {
    ReleaseSoundDevice();
    mHoldsDevice = false;
  }
  if (mDeleteWhenFinished)
    g_idle_add(DeleteFinishedTask, this);
}

SoundImp *SoundImp::New() { return new SoundImpUnix; }

SoundImpUnix::SoundImpUnix() {
  int32_t left, right;
  if (CurrentSoundOutput().ReadMasterLevel(&left, &right))
    mVolume = left > right ? left : right;
}

SoundImpUnix::~SoundImpUnix() {
  if (mTask && mTask->IsPlaying())
    mTask->DeleteWhenFinished();
  else
    delete mTask;
  delete mFile;
}

SoundImp *SoundImpUnix::Clone() {
  auto *copy = new SoundImpUnix;
  copy->mFile = mFile ? mFile->Clone() : nullptr;
  copy->mOffset = mOffset;
  copy->mPan = mPan;
  copy->mVolume = mVolume;
  return copy;
}

void SoundImpUnix::Start(bool looping) {
  if (!GetSoundLibrary())
    return;
  Stop();
  mTask = new SoundBackgroundTask(mFile, mOffset, looping);
}

void SoundImpUnix::Play() { Start(false); }
void SoundImpUnix::PlayLooping() { Start(true); }
bool SoundImpUnix::IsPlaying() { return mTask && mTask->IsPlaying(); }

void SoundImpUnix::Stop() {
  delete mTask;
  mTask = nullptr;
}

void SoundImpUnix::WriteMasterLevel() {
  int32_t left, right;
  MasterLevelsFor(mVolume, mPan, &left, &right);
  CurrentSoundOutput().WriteMasterLevel(left, right);
}

void SoundImpUnix::SetVolume(long volume) {
  mVolume = int32_t(volume < 0 ? 0 : volume > 100 ? 100 : volume);
  WriteMasterLevel();
}

void SoundImpUnix::SetPan(long pan) {
  mPan = int32_t(pan < -100 ? -100 : pan > 100 ? 100 : pan);
  WriteMasterLevel();
}

void SoundImpUnix::SetFile(FolderItemImp *file, long offset) {
  if (file != mFile)
    delete mFile;
  mFile = file;
  mOffset = int32_t(offset);
}
