#include "desktop/SoundOutput.h"

SoundOutput &PlatformSoundOutput(); // SoundOutputUnix.cpp

namespace {

SoundOutput *sInstalled = nullptr;
int32_t sUsers = 0;

} // namespace

SoundOutput &CurrentSoundOutput() { return sInstalled ? *sInstalled : PlatformSoundOutput(); }

void InstallSoundOutput(SoundOutput *output) { sInstalled = output; }

bool AcquireSoundDevice(int32_t channels, int32_t rate) {
  if (sUsers > 0) {
    ++sUsers;
    return true;
  }
  if (!CurrentSoundOutput().Open(channels, rate))
    return false;
  sUsers = 1;
  return true;
}

void ReleaseSoundDevice() {
  if (sUsers <= 0)
    return;
  if (--sUsers == 0)
    CurrentSoundOutput().Close();
}

int32_t SoundDeviceUsers() { return sUsers; }
