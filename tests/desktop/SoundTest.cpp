// Sounds played through a recording output: what reaches the device, how
// sounds share it, and the levels Volume and Pan set.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <glib.h>
#include <unistd.h>

#include "desktop/SoundClass.h"
#include "desktop/SoundImpUnix.h"
#include "desktop/SoundLibrary.h"
#include "desktop/SoundOutput.h"
#include "desktop/SoundServices.h"
#include "foundation/String.h"
#include "runtime/loop/BackgroundTask.h"

namespace {

namespace fs = std::filesystem;

// Takes at most `room` samples a write, records everything.
class RecordingOutput final : public SoundOutput {
public:
  bool Open(int32_t channels, int32_t rate) override {
    opens.emplace_back(channels, rate);
    return true;
  }
  int32_t Write(const int16_t *samples, int32_t count) override {
    const int32_t taken = count < room ? count : room;
    largestWrite = std::max(largestWrite, count * 2);
    bytes.insert(bytes.end(), reinterpret_cast<const char *>(samples),
                 reinterpret_cast<const char *>(samples + taken));
    return taken;
  }
  void Close() override { ++closes; }
  bool ReadMasterLevel(int32_t *l, int32_t *r) override {
    *l = left;
    *r = right;
    return true;
  }
  bool WriteMasterLevel(int32_t l, int32_t r) override {
    left = l;
    right = r;
    return true;
  }
  std::vector<std::pair<int32_t, int32_t>> opens;
  std::string bytes;
  int32_t largestWrite = 0, closes = 0, room = 1 << 20, left = 40, right = 70;
};

// A WAV file: 16-bit PCM (format 1) or 32-bit float (format 3), mono.
std::string Wav(int rate, int format, const std::string &data) {
  const int bits = format == 3 ? 32 : 16;
  auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<char *>(&v), 4); };
  auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<char *>(&v), 2); };
  return "RIFF" + u32(uint32_t(36 + data.size())) + "WAVEfmt " + u32(16) + u16(uint16_t(format)) +
         u16(1) + u32(uint32_t(rate)) + u32(uint32_t(rate * bits / 8)) + u16(uint16_t(bits / 8)) +
         u16(uint16_t(bits)) + "data" + u32(uint32_t(data.size())) + data;
}

std::string Pcm(int samples) {
  std::string data;
  for (int i = 0; i < samples; ++i) {
    int16_t s = int16_t(i * 7 - 30000);
    data.append(reinterpret_cast<char *>(&s), 2);
  }
  return data;
}

std::string Floats(const std::vector<float> &samples) {
  return std::string(reinterpret_cast<const char *>(samples.data()), samples.size() * 4);
}

class Sounds : public testing::Test {
protected:
  void SetUp() override {
    if (!GetSoundLibrary())
      GTEST_SKIP() << "the sound library is not installed";
    InstallSoundOutput(&output);
    char pattern[] = "/tmp/sounds-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    InstallSoundOutput(nullptr);
    SimulateMissingSoundLibrary(false);
    if (!folder.empty())
      fs::remove_all(folder);
  }

  RuntimeObject *SoundFor(const std::string &bytes, uint32_t offset = 0, const char *name = "s.wav") {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    string text(path.c_str());
    return NewSoundForFile(text, offset);
  }

  // Runs the loop until done answers true, within a generous bound.
  static bool RunUntil(const std::function<bool()> &done) {
    for (int i = 0; i < 20000 && !done(); ++i)
      g_main_context_iteration(nullptr, TRUE);
    return done();
  }

  RecordingOutput output;
  fs::path folder;
};

} // namespace

TEST_F(Sounds, PcmArrivesByteForByteInTickSizedWrites) {
  const std::string data = Pcm(10000);
  RuntimeObject *sound = SoundFor(Wav(8000, 1, data));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(soundIsPlaying(sound), 0);
  soundPlay(sound);
  EXPECT_EQ(soundIsPlaying(sound), 1);
  ASSERT_TRUE(RunUntil([&] { return !soundIsPlaying(sound); }));
  EXPECT_EQ(output.bytes, data);
  EXPECT_LE(output.largestWrite, 4096);
  EXPECT_EQ(output.opens, (std::vector<std::pair<int32_t, int32_t>>{{1, 8000}}));
  EXPECT_EQ(output.closes, 1);
  RuntimeUnlockObject(sound);
}

TEST_F(Sounds, AFullDeviceHoldsBackTheRestUntilItTakesIt) {
  output.room = 300; // frames the device takes a tick
  const std::string data = Pcm(5000);
  RuntimeObject *sound = SoundFor(Wav(8000, 1, data));
  soundPlay(sound);
  ASSERT_TRUE(RunUntil([&] { return !soundIsPlaying(sound); }));
  EXPECT_EQ(output.bytes, data);
  RuntimeUnlockObject(sound);
}

TEST_F(Sounds, LoopingWrapsAndPlayingAgainRestarts) {
  const std::string data = Pcm(3000);
  RuntimeObject *sound = SoundFor(Wav(8000, 1, data));
  soundPlayLooping(sound);
  ASSERT_TRUE(RunUntil([&] { return output.bytes.size() > data.size() * 2; }));
  EXPECT_EQ(output.bytes.substr(0, data.size()), data);
  EXPECT_EQ(output.bytes.substr(data.size(), data.size()), data);
  EXPECT_EQ(soundIsPlaying(sound), 1);

  output.bytes.clear();
  soundPlay(sound); // from the start, not looping
  ASSERT_TRUE(RunUntil([&] { return !soundIsPlaying(sound); }));
  EXPECT_EQ(output.bytes, data);
  soundStop(sound);
  soundStop(sound); // nothing to stop
  EXPECT_EQ(SoundDeviceUsers(), 0);
  RuntimeUnlockObject(sound);
}

TEST_F(Sounds, FloatSamplesScaleToThePeak) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    std::vector<float> samples;
    std::vector<int16_t> expected;
  } cases[] = {
      {{0.5f, -0.25f, 0.0f, 0.125f}, {32700, -16350, 0, 8175}},
      {{0.0f, 0.0f, 0.0f}, {0, 0, 0}}, // silence keeps a scale of 1
  };
  for (const auto &c : cases) {
    output.bytes.clear();
    RuntimeObject *sound = SoundFor(Wav(8000, 3, Floats(c.samples)));
    soundPlay(sound);
    ASSERT_TRUE(RunUntil([&] { return !soundIsPlaying(sound); }));
    ASSERT_EQ(output.bytes.size(), c.expected.size() * 2);
    std::vector<int16_t> got(c.expected.size());
    memcpy(got.data(), output.bytes.data(), output.bytes.size());
    EXPECT_EQ(got, c.expected);
    RuntimeUnlockObject(sound);
  }
  // Values the scale cannot bring into range stay inside it.
  EXPECT_EQ(ScaledSample(nan, 100), 0);
  EXPECT_EQ(ScaledSample(std::numeric_limits<float>::infinity(), 1), 32767);
  EXPECT_EQ(ScaledSample(-1e30f, 1e10), -32768);
  EXPECT_EQ(ScaledSample(-1.9f, 1), -1);
}

TEST_F(Sounds, SoundsShareTheDeviceTheFirstSetUp) {
  RuntimeObject *first = SoundFor(Wav(8000, 1, Pcm(4000)), 0, "a.wav");
  RuntimeObject *second = SoundFor(Wav(22050, 1, Pcm(2000)), 0, "b.wav");
  soundPlay(first);
  soundPlay(second);
  EXPECT_EQ(SoundDeviceUsers(), 2);
  ASSERT_TRUE(RunUntil([&] { return !soundIsPlaying(first) && !soundIsPlaying(second); }));
  EXPECT_EQ(output.opens, (std::vector<std::pair<int32_t, int32_t>>{{1, 8000}}));
  EXPECT_EQ(output.bytes.size(), size_t(12000));
  EXPECT_EQ(output.closes, 1);
  EXPECT_EQ(SoundDeviceUsers(), 0);
  RuntimeUnlockObject(first);
  RuntimeUnlockObject(second);
}

TEST_F(Sounds, ASoundLetGoWhilePlayingFinishesAndGoes) {
  const int32_t tasks = CountBackgroundTasks();
  const std::string data = Pcm(6000);
  RuntimeObject *sound = SoundFor(Wav(8000, 1, data));
  soundPlay(sound);
  RuntimeUnlockObject(sound);
  ASSERT_TRUE(RunUntil([&] { return CountBackgroundTasks() == tasks; }));
  EXPECT_EQ(output.bytes, data);
  EXPECT_EQ(SoundDeviceUsers(), 0);
}

TEST_F(Sounds, ASoundInsideALargerFilePlaysFromItsOffset) {
  const std::string data = Pcm(1500);
  RuntimeObject *sound = SoundFor(std::string(333, 'x') + Wav(11025, 1, data) + "trailing", 333);
  soundPlay(sound);
  ASSERT_TRUE(RunUntil([&] { return !soundIsPlaying(sound); }));
  EXPECT_EQ(output.bytes, data);
  EXPECT_EQ(output.opens, (std::vector<std::pair<int32_t, int32_t>>{{1, 11025}}));
  RuntimeUnlockObject(sound);
}

TEST_F(Sounds, WithoutTheLibraryOrAFileNothingPlays) {
  SimulateMissingSoundLibrary(true);
  EXPECT_FALSE(HasSoundSupport());
  RuntimeObject *sound = SoundFor(Wav(8000, 1, Pcm(100)));
  ASSERT_NE(sound, nullptr);
  soundPlay(sound);
  EXPECT_EQ(soundIsPlaying(sound), 0);
  SimulateMissingSoundLibrary(false);
  RuntimeObject *missing = NewSoundForFile(string("/nonexistent/x.wav"), 0);
  soundPlay(missing);
  EXPECT_EQ(soundIsPlaying(missing), 0);
  RuntimeObject *garbage = SoundFor("not a sound at all", 0, "g.wav");
  soundPlay(garbage);
  EXPECT_EQ(soundIsPlaying(garbage), 0);
  EXPECT_TRUE(output.opens.empty());
  for (RuntimeObject *s : {sound, missing, garbage})
    RuntimeUnlockObject(s);
}

TEST_F(Sounds, VolumeAndPanSetTheMasterLevels) {
  RuntimeObject *sound = SoundFor(Wav(8000, 1, Pcm(10)));
  EXPECT_EQ(SoundVolumeGetter(sound), 70); // the louder channel at creation
  EXPECT_EQ(SoundPanGetter(sound), 0);
  const struct {
    int32_t volume, pan, storedVolume, storedPan, left, right;
  } cases[] = {
      {80, 0, 80, 0, 80, 80},       {80, -50, 80, -50, 80, 40},  {80, 50, 80, 50, 40, 80},
      {-5, 150, 0, 100, 0, 0},      {120, -150, 100, -100, 100, 0}, {100, 100, 100, 100, 0, 100},
  };
  for (const auto &c : cases) {
    SoundVolumeSetter(sound, 0, c.volume);
    SoundPanSetter(sound, 0, c.pan);
    EXPECT_EQ(SoundVolumeGetter(sound), c.storedVolume) << c.volume;
    EXPECT_EQ(SoundPanGetter(sound), c.storedPan) << c.pan;
    EXPECT_EQ(std::make_pair(output.left, output.right), std::make_pair(c.left, c.right))
        << c.volume << " " << c.pan;
  }
  RuntimeObject *copy = SoundClone(sound);
  EXPECT_EQ(SoundPanGetter(copy), 100);
  EXPECT_EQ(soundIsPlaying(copy), 0);
  RuntimeUnlockObject(copy);
  RuntimeUnlockObject(sound);
  EXPECT_EQ(SoundPanGetter(nullptr), 0);
  soundPlay(nullptr);
}

// With no OSS device, sounds go to ALSA's default PCM; here a private
// configuration makes that the null device, which takes every frame.
TEST(SoundDevice, AlsaTakesEveryFrameWhereThereIsNoOss) {
  if (access("/dev/dsp", F_OK) == 0)
    GTEST_SKIP() << "an OSS device is present";
  char pattern[] = "/tmp/alsa-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string config = std::string(pattern) + "/asound.conf";
  std::ofstream(config) << "pcm.!default { type null }\nctl.!default { type hw card 0 }\n";
  setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
  SoundOutput &device = CurrentSoundOutput();
  if (!device.Open(2, 44100)) {
    fs::remove_all(pattern);
    GTEST_SKIP() << "ALSA is not installed";
  }
  std::vector<int16_t> samples(2 * 20000, 123);
  size_t sent = 0;
  for (int round = 0; round < 100000 && sent < samples.size(); ++round) {
    const int32_t chunk = int32_t(std::min<size_t>(2048, samples.size() - sent));
    const int32_t taken = device.Write(samples.data() + sent, chunk);
    ASSERT_GE(taken, 0);
    sent += size_t(taken);
  }
  device.Close();
  EXPECT_EQ(sent, samples.size());
  fs::remove_all(pattern);
}
