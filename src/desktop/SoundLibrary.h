// The sound-file decoder, loaded at run time; playing sounds needs it.
#pragma once
#include <cstdint>

struct SNDFILE;

// The decoder's description of an open file.
struct SoundFileInfo {
  int64_t frames;
  int32_t samplerate;
  int32_t channels;
  int32_t format;
  int32_t sections;
  int32_t seekable;
};

struct SoundLibrary {
  SNDFILE *(*openFd)(int fd, int mode, SoundFileInfo *info, int closeDescriptor);
  int (*close)(SNDFILE *file);
  int (*command)(SNDFILE *file, int command, void *data, int size);
  int64_t (*seek)(SNDFILE *file, int64_t frames, int whence);
  int64_t (*readFloat)(SNDFILE *file, float *samples, int64_t count);
  int64_t (*readShort)(SNDFILE *file, int16_t *samples, int64_t count);
};

constexpr int kSoundFileRead = 0x10;          // SFM_READ
constexpr int kSoundCalcSignalMax = 0x1040;   // SFC_CALC_SIGNAL_MAX
constexpr int kSoundFormatFloat = 6;          // SF_FORMAT_FLOAT
constexpr int kSoundFormatDouble = 7;         // SF_FORMAT_DOUBLE

// The decoder's entry points, or nil when it is missing or incomplete. The
// first call loads it.
const SoundLibrary *GetSoundLibrary();
// For tests: make the next GetSoundLibrary answer nil (true) or load again.
void SimulateMissingSoundLibrary(bool missing);
