// Where sounds go: one shared output device (opened by the first sound with
// its channels and rate, released when the last sound lets go) and the
// machine's master level. The platform's output tries OSS, then ALSA; tests
// install a recording output of their own.
#pragma once
#include <cstdint>

class SoundOutput {
public:
  virtual ~SoundOutput() = default;
  // Opens the device for 16-bit interleaved samples; false when none opens.
  virtual bool Open(int32_t channels, int32_t rate) = 0;
  // Writes whole frames from the samples, no more than the device takes
  // without waiting; answers how many samples it took (0 when full), -1 on
  // a failure that ends playback.
  virtual int32_t Write(const int16_t *samples, int32_t count) = 0;
  virtual void Close() = 0;
  // The master level of each channel, 0 to 100; false without a mixer.
  virtual bool ReadMasterLevel(int32_t *left, int32_t *right) = 0;
  virtual bool WriteMasterLevel(int32_t left, int32_t right) = 0;
};

// The output in use: the installed one, else the platform's.
SoundOutput &CurrentSoundOutput();
// Replaces the output (nil restores the platform's); for tests.
void InstallSoundOutput(SoundOutput *output);

// The shared device: the first Acquire opens it with its settings, later ones
// only count; the last Release closes it.
bool AcquireSoundDevice(int32_t channels, int32_t rate);
void ReleaseSoundDevice();
int32_t SoundDeviceUsers();
