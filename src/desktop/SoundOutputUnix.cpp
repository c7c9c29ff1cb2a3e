// The platform's sound output: the OSS device "/dev/dsp" and mixer
// "/dev/mixer" where they exist, else the default PCM and the master control
// of ALSA (loaded at run time), else silence.
#include <cerrno>
#include <cstdint>
#include <type_traits>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/soundcard.h>
#include <unistd.h>

#include "desktop/SoundOutput.h"

namespace {

// --- OSS ---------------------------------------------------------------

int OpenMixer() { return open("/dev/mixer", O_RDWR | O_CLOEXEC); }

bool OssReadMaster(int32_t *left, int32_t *right) {
  const int mixer = OpenMixer();
  if (mixer < 0)
    return false;
  int level = 0;
  const bool ok = ioctl(mixer, SOUND_MIXER_READ_VOLUME, &level) == 0;
  close(mixer);
  *left = level & 0xFF;
  *right = (level >> 8) & 0xFF;
  return ok;
}

bool OssWriteMaster(int32_t left, int32_t right) {
  const int mixer = OpenMixer();
  if (mixer < 0)
    return false;
  int level = (left & 0xFF) | ((right & 0xFF) << 8);
  const bool ok = ioctl(mixer, SOUND_MIXER_WRITE_VOLUME, &level) == 0;
  close(mixer);
  return ok;
}

// Opens and sets up "/dev/dsp"; -1 (and nothing left open) when any step
// fails.
int OssOpen(int32_t channels, int32_t rate) {
  const int fd = open("/dev/dsp", O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return -1;
  int stereo = 0, format = AFMT_S16_LE, count = channels, speed = rate;
  if (ioctl(fd, SNDCTL_DSP_STEREO, &stereo) < 0 || ioctl(fd, SNDCTL_DSP_RESET, 0) < 0 ||
      ioctl(fd, SNDCTL_DSP_SETFMT, &format) < 0 || ioctl(fd, SNDCTL_DSP_CHANNELS, &count) < 0 ||
      ioctl(fd, SNDCTL_DSP_SPEED, &speed) < 0 || ioctl(fd, SNDCTL_DSP_SYNC, 0) < 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// --- ALSA, loaded at run time --------------------------------------------

constexpr int kAlsaPlayback = 0;       // SND_PCM_STREAM_PLAYBACK
constexpr int kAlsaNonBlock = 1;       // SND_PCM_NONBLOCK
constexpr int kAlsaS16LE = 2;          // SND_PCM_FORMAT_S16_LE
constexpr int kAlsaInterleaved = 3;    // SND_PCM_ACCESS_RW_INTERLEAVED
constexpr unsigned kAlsaLatencyUs = 100000;

struct Alsa {
  bool tried = false;
  void *library = nullptr;
  int (*open)(void **pcm, const char *name, int stream, int mode) = nullptr;
  int (*setParams)(void *pcm, int format, int access, unsigned channels, unsigned rate,
                   int softResample, unsigned latency) = nullptr;
  long (*writei)(void *pcm, const void *buffer, unsigned long frames) = nullptr;
  int (*recover)(void *pcm, int err, int silent) = nullptr;
  int (*nonblock)(void *pcm, int nonblock) = nullptr;
  int (*drain)(void *pcm) = nullptr;
  int (*close)(void *pcm) = nullptr;
};

Alsa &LoadAlsa() {
  static Alsa alsa;
  if (alsa.tried)
    return alsa;
  alsa.tried = true;
  void *lib = dlopen("libasound.so.2", RTLD_LAZY);
  if (!lib)
    return alsa;
  auto get = [lib](auto &slot, const char *name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(lib, name));
    return slot != nullptr;
  };
  bool all = get(alsa.open, "snd_pcm_open");
  all = get(alsa.setParams, "snd_pcm_set_params") && all;
  all = get(alsa.writei, "snd_pcm_writei") && all;
  all = get(alsa.recover, "snd_pcm_recover") && all;
  all = get(alsa.nonblock, "snd_pcm_nonblock") && all;
  all = get(alsa.drain, "snd_pcm_drain") && all;
  all = get(alsa.close, "snd_pcm_close") && all;
  if (all)
    alsa.library = lib;
  else
    dlclose(lib);
  return alsa;
}

class PlatformOutput final : public SoundOutput {
public:
  bool Open(int32_t channels, int32_t rate) override {
    if (channels <= 0 || rate <= 0)
      return false;
    mChannels = channels;
    mDsp = OssOpen(channels, rate);
    if (mDsp >= 0)
      return true;
    Alsa &alsa = LoadAlsa();
    if (!alsa.library || alsa.open(&mPcm, "default", kAlsaPlayback, kAlsaNonBlock) < 0) {
      mPcm = nullptr;
      return false;
    }
    if (alsa.setParams(mPcm, kAlsaS16LE, kAlsaInterleaved, unsigned(channels), unsigned(rate), 1,
                       kAlsaLatencyUs) < 0) {
      alsa.close(mPcm);
      mPcm = nullptr;
      return false;
    }
    return true;
  }

  int32_t Write(const int16_t *samples, int32_t count) override {
    if (mDsp >= 0) {
      // Only what fits now: the run loop never waits for the device.
      audio_buf_info space{};
      int32_t bytes = count * 2;
      if (ioctl(mDsp, SNDCTL_DSP_GETOSPACE, &space) == 0 && space.bytes < bytes)
        bytes = space.bytes;
      bytes -= bytes % (2 * mChannels);
      if (bytes <= 0)
        return 0;
      const ssize_t written = write(mDsp, samples, size_t(bytes));
      if (written < 0)
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
      return int32_t(written / 2);
    }
    if (!mPcm)
      return -1;
    Alsa &alsa = LoadAlsa();
    long frames = alsa.writei(mPcm, samples, static_cast<unsigned long>(count / mChannels));
    if (frames == -EAGAIN)
      return 0;
    if (frames < 0) {
      if (alsa.recover(mPcm, int(frames), 1) < 0)
        return -1;
      return 0;
    }
    return int32_t(frames * mChannels);
  }

  void Close() override {
    if (mDsp >= 0) {
      close(mDsp);
      mDsp = -1;
    }
    if (mPcm) {
      Alsa &alsa = LoadAlsa();
      // Let the last samples play (at most the short latency asked for).
      alsa.nonblock(mPcm, 0);
      alsa.drain(mPcm);
      alsa.close(mPcm);
      mPcm = nullptr;
    }
  }

  bool ReadMasterLevel(int32_t *left, int32_t *right) override { return OssReadMaster(left, right); }
  bool WriteMasterLevel(int32_t left, int32_t right) override { return OssWriteMaster(left, right); }

private:
  int mDsp = -1;
  void *mPcm = nullptr;
  int32_t mChannels = 1;
};

} // namespace

SoundOutput &PlatformSoundOutput() {
  static PlatformOutput output;
  return output;
}
