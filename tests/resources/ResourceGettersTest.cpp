// The resource getters for pictures and sounds: pictures come from the
// Picture class, sounds through a recording body of the sound interface
// (what reaches it, and what never does).
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "desktop/SoundClass.h"
#include "desktop/SoundImpUnix.h"
#include "desktop/SoundServices.h"
#include "foundation/FolderItemImp.h"
#include "graphics/DrawablePaneGTK.h"
#include "graphics/PictureObject.h"
#include "graphics/PictureServices.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/image/ResourceManager.h"
#include "runtime/startup/ProgramArguments.h"

namespace {

std::string Bytes(const string &s) { return std::string(s.CString(), size_t(s.Length())); }

// A 24-bit BMP of width × height, every pixel blue.
std::vector<uint8_t> Bmp(int32_t width, int32_t height) {
  const int32_t row = (width * 3 + 3) & ~3;
  std::vector<uint8_t> file(54 + size_t(row) * height, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, uint32_t(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  file[26] = 1;
  file[28] = 24;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      file[54 + size_t(y) * row + size_t(x) * 3] = 0xFF;
  return file;
}

template <typename Result>
Result CallRow(const char *name, int32_t id) {
  const RelocEntry *row = FindFirstRelocEntry(name);
  if (!row || !row->address)
    return Result();
  return reinterpret_cast<Result (*)(int32_t)>(row->address)(id);
}

class ResourceGetters : public testing::Test {
protected:
};

TEST_F(ResourceGetters, BitmapResourceBecomesAPictureOfItsSize) {
  if (!gtk_init_check(nullptr, nullptr))
    GTEST_SKIP() << "offscreen images need a display";
  static const std::vector<uint8_t> bmp = Bmp(5, 3);
  gResourceManager.Add(FourCharCode("BMP "), 700, bmp.data(), uint32_t(bmp.size()), 0);
  // Cut short inside the pixel rows: the decoder refuses it.
  gResourceManager.Add(FourCharCode("BMP "), 701, bmp.data(), uint32_t(bmp.size() - 1), 0);

  RuntimeObject *picture = CallRow<RuntimeObject *>("RuntimeGetBitmapFromResourceManager", 700);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->refCount, 1);
  Drawable *image = reinterpret_cast<PictureObject *>(picture)->image;
  ASSERT_NE(image, nullptr);
  int32_t width = 0, height = 0;
  image->getSize(&width, &height);
  EXPECT_EQ(width, 5);
  EXPECT_EQ(height, 3);
  RuntimeUnlockObject(picture);

  EXPECT_EQ(gResourceManager.GetPicture(701), nullptr) << "cut short";
  EXPECT_EQ(gResourceManager.GetPicture(702), nullptr) << "absent";
}

TEST_F(ResourceGetters, WaveResourcePlaysFromTheRealExecutableAtItsOffset) {
  if (!HasSoundSupport())
    GTEST_SKIP() << "the sound library is not installed";
  static const uint8_t wave[] = "RIFF....WAVE";
  gResourceManager.Add(FourCharCode("WAVE"), 710, wave, sizeof wave, 123456);
  char real[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", real, sizeof real);
  ASSERT_GT(length, 0);
  // Started by a bare name from the search path: argument 0 is no path.
  char bareName[] = "test_resources";
  char *arguments[] = {bareName, nullptr};
  char **savedArgv = gArgv;
  gArgv = arguments;
  RuntimeObject *sound = CallRow<RuntimeObject *>("RuntimeGetSoundFromResourceManager", 710);
  gArgv = savedArgv;
  ASSERT_NE(sound, nullptr);
  auto *player = static_cast<SoundImpUnix *>(reinterpret_cast<SoundObject *>(sound)->player);
  ASSERT_NE(player->File(), nullptr);
  EXPECT_EQ(Bytes(player->File()->GetAbsolutePath()), std::string(real, size_t(length)));
  EXPECT_EQ(player->Offset(), 123456);
  // Not a sound the library can decode: it stays silent, and says nothing.
  soundPlay(sound);
  EXPECT_EQ(soundIsPlaying(sound), 0);
  RuntimeUnlockObject(sound);

  EXPECT_EQ(gResourceManager.GetSound(711), nullptr) << "absent";
  SimulateMissingSoundLibrary(true);
  EXPECT_EQ(gResourceManager.GetSound(710), nullptr) << "no sound support";
  SimulateMissingSoundLibrary(false);
}

TEST_F(ResourceGetters, TruncatedCursorResourceIsNilAndTheRowAnswersIt) {
  static const uint8_t shortCursor[67] = {};
  gResourceManager.Add(FourCharCode("CURS"), 730, shortCursor, sizeof shortCursor, 0);
  EXPECT_EQ(CallRow<RuntimeObject *>("RuntimeGetCursorFromResourceManager", 730), nullptr);
  EXPECT_EQ(CallRow<RuntimeObject *>("RuntimeGetCursorFromResourceManager", 731), nullptr);
}

TEST_F(ResourceGetters, ACursorWhoseHotSpotLiesOffTheImageIsStillACursor) {
  if (!gtk_init_check(nullptr, nullptr))
    GTEST_SKIP() << "cursors need a display";
  const uint16_t hotSpots[][2] = {{15, 15}, {16, 0}, {0, 16}, {0xFFFF, 0x8000}};
  static uint8_t cursors[std::size(hotSpots)][68];
  for (size_t i = 0; i < std::size(hotSpots); ++i) {
    uint8_t *data = cursors[i];
    std::memset(data, 0xFF, 64);
    data[64] = uint8_t(hotSpots[i][0] >> 8);
    data[65] = uint8_t(hotSpots[i][0]);
    data[66] = uint8_t(hotSpots[i][1] >> 8);
    data[67] = uint8_t(hotSpots[i][1]);
    const int16_t id = int16_t(740 + i);
    gResourceManager.Add(FourCharCode("CURS"), id, data, 68, 0);
    RuntimeObject *cursor = CallRow<RuntimeObject *>("RuntimeGetCursorFromResourceManager", id);
    // X reports a refused cursor only when it has read the request.
    gdk_display_sync(gdk_display_get_default());
    EXPECT_NE(cursor, nullptr) << hotSpots[i][0] << "," << hotSpots[i][1];
    RuntimeUnlockObject(cursor);
  }
}

} // namespace

