// Picture and sound files of POSIX folder items: BMP files written with the
// fixed header and bottom-up BGR rows, the formats refused with their exact
// messages, BMP and XPM files opened by content and suffix, hostile BMP
// files, and sound files handed on by their first bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/FilesTestSupport.h"
#include "files/FolderItemClass.h"
#include "files/FolderItemImpUnix.h"
#include "files/XPMReader.h"
#include "desktop/SoundClass.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "graphics/PictureObject.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "support/AlertRecorder.h"
#include "support/OffscreenPixels.h"

extern "C" RuntimeObject *newPicture(int32_t width, int32_t height, int32_t depth);

namespace {

std::vector<std::string> &RaisedMessages() {
  static std::vector<std::string> messages;
  return messages;
}

void RecordRaise(RuntimeObject *exception) {
  RaisedMessages().push_back(
      stringStorage::CString(reinterpret_cast<RuntimeExceptionObject *>(exception)->message));
}

class FolderItemPicturesTest : public testing::Test {
protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    UnsupportedFormatExceptionClass();
    RaisedMessages().clear();
    SetUnhandledExceptionHook(RecordRaise);
  }
  void TearDown() override { SetUnhandledExceptionHook(nullptr); }

  RuntimeObject *Item(const std::string &name) {
    stringStorage *path = TextOfBytes(mTree.Path(name));
    RuntimeObject *item = RuntimeGetFolderItem(path);
    stringStorage::RemoveReference(path);
    return item;
  }
  // A picture whose pixel (x, y) is Colour(x, y).
  static uint32_t Colour(int x, int y) {
    return 0x102030u * uint32_t(x + 1) ^ 0x0A0B0Cu * uint32_t(y + 1);
  }
  static RuntimeObject *Painted(int width, int height) {
    RuntimeObject *picture = newPicture(width, height, 32);
    auto *pane = static_cast<DrawablePane *>(reinterpret_cast<PictureObject *>(picture)->image);
    std::vector<guchar> rgb;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int shift : {16, 8, 0})
          rgb.push_back(guchar(Colour(x, y) >> shift));
    gdk_draw_rgb_image(pane->GetPixmap(), pane->GetGC(), 0, 0, width, height, GDK_RGB_DITHER_NONE,
                       rgb.data(), width * 3);
    return picture;
  }
  void Save(RuntimeObject *picture, const std::string &name, int32_t format) {
    ObjectHolder item(Item(name));
    FolderItemSaveAsPicture(item.get(), picture, format);
  }
  RuntimeObject *Open(const std::string &name) {
    ObjectHolder item(Item(name));
    return FolderItemOpenImage(item.get());
  }
  std::string Read(const std::string &name) { return ScratchTree::Read(mTree.Path(name)); }

  ScratchTree mTree;
};

uint32_t Little32(const std::string &bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = value << 8 | uint8_t(bytes[at + size_t(i)]);
  return value;
}

TEST_F(FolderItemPicturesTest, APictureIsSavedAsABottomUpBGRBitmap) {
  ObjectHolder picture(Painted(3, 2));
  for (int32_t format : {0, 4, 350})
    Save(picture.get(), "p" + std::to_string(format) + ".bmp", format);
  const std::string bmp = Read("p0.bmp");
  EXPECT_EQ(Read("p4.bmp"), bmp);
  EXPECT_EQ(Read("p350.bmp"), bmp);
  ASSERT_EQ(bmp.size(), 78u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  struct Field {
    size_t at;
    uint32_t value;
  };
  for (Field f : {Field{2, 78},
                  {6, 0},
                  {10, 54},
                  {14, 40},
                  {18, 3},
                  {22, 2},
                  {30, 0},
                  {34, 0},
                  {38, 96},
                  {42, 96},
                  {46, 0},
                  {50, 0}})
    EXPECT_EQ(Little32(bmp, f.at), f.value) << "at " << f.at;
  EXPECT_EQ(Little32(bmp, 26), 1u | 24u << 16); // planes, bits per pixel
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 3; ++x) {
      const size_t at = 54 + size_t(row) * 12 + size_t(x) * 3;
      const uint32_t bgr =
          uint8_t(bmp[at]) | uint8_t(bmp[at + 1]) << 8 | uint8_t(bmp[at + 2]) << 16;
      EXPECT_EQ(bgr, Colour(x, 1 - row)) << x << "," << row;
    }

  ObjectHolder wide(Painted(4, 1));
  Save(wide.get(), "wide.bmp", 0);
  EXPECT_EQ(Read("wide.bmp").size(), 66u);
  EXPECT_TRUE(RaisedMessages().empty());
}

TEST_F(FolderItemPicturesTest, UnsupportedFormatsRaiseWithTheirMessages) {
  ObjectHolder picture(Painted(2, 2));
  Save(picture.get(), "pict", 100);
  EXPECT_FALSE(std::filesystem::exists(mTree.Path("pict")));
  mTree.Write("any", "BM");
  ObjectHolder item(Item("any"));
  EXPECT_EQ(FolderItemOpenVectorImage(item.get()), nullptr);
  EXPECT_EQ(RaisedMessages(),
            (std::vector<std::string>{"SaveAsPicture doesn't support format 100 in Linux.",
                                      "OpenAsPicture doesn't support format 1 in Linux"}));
}

TEST_F(FolderItemPicturesTest, BitmapsOpenByContentAndXPMFilesBySuffix) {
  ObjectHolder picture(Painted(5, 3));
  Save(picture.get(), "first.bmp", 0);
  std::filesystem::copy_file(mTree.Path("first.bmp"), mTree.Path("named.other"));
  ObjectHolder opened(Open("named.other"));
  ASSERT_NE(opened.get(), nullptr);
  Save(opened.get(), "second.bmp", 350);
  EXPECT_EQ(Read("second.bmp"), Read("first.bmp"));

  mTree.Write("picture.XPM", "/* XPM */\nstatic char *p[] = {\n\"4 2 2 1\",\n\"a c #FF0000\",\n"
                             "\"b c #0000FF\",\n\"abab\",\n\"baba\"};\n");
  ObjectHolder xpm(Open("picture.XPM"));
  ASSERT_NE(xpm.get(), nullptr);
  auto *pane = static_cast<DrawablePane *>(reinterpret_cast<PictureObject *>(xpm.get())->image);
  int32_t width = 0, height = 0;
  pane->getSize(&width, &height);
  EXPECT_EQ(width, 4);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(PixelAt(pane, 0, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(pane, 0, 1), 0x0000FFu);

  mTree.Write("neither.bmp", "PK not a picture");
  EXPECT_EQ(Open("neither.bmp"), nullptr);
  mTree.Folder("folder.bmp");
  EXPECT_EQ(Open("folder.bmp"), nullptr);
  EXPECT_EQ(Open("missing"), nullptr);
}

TEST_F(FolderItemPicturesTest, APictureWithoutPixelsLeavesTheFileAlone) {
  mTree.Write("keep.bmp", "old bytes");
  ObjectHolder picture(newPicture(2, 2, 32));
  auto *fields = reinterpret_cast<PictureObject *>(picture.get());
  fields->image->removeReference();
  fields->image = nullptr;
  ObjectHolder item(Item("keep.bmp"));
  EXPECT_FALSE(FolderItemGetImp(item.get())->SaveAsPicture(picture.get(), kSaveAsMostCompatible));
  EXPECT_EQ(Read("keep.bmp"), "old bytes");

  // A file that cannot take the bytes: False, not True.
  if (std::filesystem::exists("/dev/full")) {
    ObjectHolder painted(Painted(2, 2));
    stringStorage *path = TextOfBytes("/dev/full");
    ObjectHolder full(RuntimeGetFolderItem(path));
    stringStorage::RemoveReference(path);
    EXPECT_FALSE(FolderItemGetImp(full.get())->SaveAsPicture(painted.get(), kSaveAsMostCompatible));
  }
}

// Truncated and mutated bitmaps open as a picture or as nil, never a fault.
TEST_F(FolderItemPicturesTest, DamagedBitmapsGiveAPictureOrNil) {
  ObjectHolder picture(Painted(7, 5));
  Save(picture.get(), "good.bmp", 0);
  const std::string good = Read("good.bmp");
  std::mt19937 random(107);
  AlertRecorder alerts; // the decoder alerts on an unknown header size
  int opened = 0;
  for (int i = 0; i < 5000; ++i) {
    std::string bytes = good.substr(0, random() % (good.size() + 1));
    for (int flips = int(random() % 4); flips > 0 && bytes.size() > 2; --flips)
      bytes[2 + random() % (bytes.size() - 2)] = char(random());
    mTree.Write("damaged", bytes);
    RuntimeObject *result = Open("damaged");
    opened += result != nullptr;
    RuntimeUnlockObject(result);
  }
  EXPECT_GT(opened, 0);
}

// Only files that start as a sound file does become Sounds.
TEST_F(FolderItemPicturesTest, SoundFilesAreKnownByTheirFirstBytes) {
  mTree.Write("a.wav", "RIFF....WAVE");
  mTree.Write("b.aif", "FORM....AIFF");
  mTree.Write("c.wav", "riff....wave");
  mTree.Write("d", "RIF");
  for (const auto &[name, isSound] : std::vector<std::pair<const char *, bool>>{
           {"a.wav", true}, {"b.aif", true}, {"c.wav", false}, {"d", false}, {"missing", false}}) {
    ObjectHolder item(Item(name));
    RuntimeObject *sound = FolderItemOpenSound(item.get());
    EXPECT_EQ(sound != nullptr && RuntimeObjectIsa(sound, LookupObjectDefinition(SoundClass())), isSound) << name;
    RuntimeUnlockObject(sound);
  }
}

} // namespace

namespace {

std::string XPM(const std::vector<std::string> &strings) {
  std::string text = "/* XPM */\nstatic char *x[] = {\n/* \"comment\" */\n";
  for (const std::string &s : strings)
    text += "\"" + s + "\",\n";
  return text + "};\n";
}

TEST(XPMReaderTest, DecodesColourTablesAndRefusesBrokenImages) {
  XPMImage image;
  ASSERT_TRUE(
      DecodeXPM(XPM({"2 1 3 2", "aa c #102030", "b. c None", "zz c dark red", "aab."}), image));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.rgb, (std::vector<uint8_t>{0x10, 0x20, 0x30, 0xFF, 0xFF, 0xFF}));
  ASSERT_TRUE(DecodeXPM(XPM({"1 2 1 1", "x s name c #abc", "x", "x"}), image));
  EXPECT_EQ(image.rgb[0], 0xAA);

  const std::vector<std::string> broken[] = {
      {"2 1 1 1", "a c #000000", "ab"},          // a key without a colour
      {"2 1 1 1", "a c #000000", "a"},           // a short row
      {"1 2 1 1", "a c #000000", "a"},           // a missing row
      {"1 1 1 1", "a c nosuchcolour", "a"},      // an unknown colour
      {"1 1 1 1", "a m #000000", "a"},           // no colour key
      {"100000 100000 1 1", "a c #000000", "a"}, // too large
      {"1 1 0 1", "a"},                          // no colours
      {"1 1 1 9", "a c #000000", "a"},           // too many characters per pixel
      {"x"},
  };
  for (const auto &strings : broken)
    EXPECT_FALSE(DecodeXPM(XPM(strings), image)) << strings[0] << " / " << strings.back();
  EXPECT_FALSE(DecodeXPM("", image));
}

} // namespace
