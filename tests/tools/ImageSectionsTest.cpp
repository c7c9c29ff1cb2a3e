// The image's sections around the linked code: trailer form, loose files,
// resources and options, and a whole image built by add_test_image.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ImageOptions.h"
#include "ImageResources.h"
#include "ImageWriter.h"
#include "LinkerTestSupport.h"

using namespace imagelink;
using linkertest::le32;

namespace {

std::vector<uint8_t> readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string temporaryPath(const std::string &name) {
  return (std::filesystem::temp_directory_path() /
          ("imagelink-test-" + std::to_string(getpid()) + "-" + name))
      .string();
}

TEST(TrailerForm, SectionsWithSizesThenBackDistanceAndTrailer) {
  ImageSections sections;
  sections.code = {1, 2, 3};
  sections.data = {4};
  sections.options = {9};
  const std::vector<uint8_t> expected = {
      3, 0, 0, 0, 1, 2, 3, 1, 0,  0, 0, 4, 0,   0,   0,   0,   0,   0,   0,   0,   0,
      0, 0, 0, 1, 0, 0, 0, 9, 29, 0, 0, 0, 'Z', 'o', 'v', 'I', 'z', 'a', 'Z', 'i', 'z'};
  EXPECT_EQ(trailerForm(sections), expected);
}

TEST(ResourcesSection, TypeIsStoredSoItsBigEndianReadingSpellsTheCode) {
  const std::string file = temporaryPath("resource");
  std::ofstream(file, std::ios::binary) << "abc";
  const std::vector<uint8_t> section =
      resourcesSection({parseResourceArgument("WAVE:128:" + file)});
  std::filesystem::remove(file);
  const std::vector<uint8_t> expected = {0x45, 0x56, 0x41, 0x57, 128, 0,   0,   0,  0,
                                         0,    3,    0,    0,    0,   'a', 'b', 'c'};
  EXPECT_EQ(section, expected);
}

TEST(ResourcesSection, ArgumentsMustBeTypeIdAndFile) {
  for (const char *bad :
       {"WAV:1:f", "WAVEX:1:f", "WAVE::f", "WAVE:65536:f", "WAVE:-1:f", "WAVE:1:", "WAVE:1"})
    EXPECT_THROW(parseResourceArgument(bad), LinkError) << bad;
  const ResourceFile ok = parseResourceArgument("TEXT:65535:a:b.txt");
  EXPECT_EQ(ok.type, "TEXT");
  EXPECT_EQ(ok.id, 65535);
  EXPECT_EQ(ok.path, "a:b.txt");
}

TEST(OptionsSection, VersionRecordIsSixIntegersAndThreeShortStrings) {
  VersionRecord version{parseVersionNumbers("1,0,0,2,2,15"), "Tavrin 1.0", "Tavrin 1.0", ""};
  const std::vector<uint8_t> section = optionsSection({}, version);
  ASSERT_EQ(section.size(), 1 + 24 + 11 + 11 + 1u);
  EXPECT_EQ(section[0], 2);
  const uint32_t numbers[] = {1, 0, 0, 2, 2, 15};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(le32(section, 1 + 4 * i), numbers[i]);
  EXPECT_EQ(section[25], 10);
  EXPECT_EQ(std::string(section.begin() + 26, section.begin() + 36), "Tavrin 1.0");
  EXPECT_EQ(section.back(), 0); // empty package info
}

TEST(OptionsSection, VersionNumbersMustBeSixIntegers) {
  for (const char *bad :
       {"1,0,0,2,2", "1,0,0,2,2,15,3", "1,0,x,2,2,15", "1;0;0;2;2;15", "99999999999,0,0,0,0,0"})
    EXPECT_THROW(parseVersionNumbers(bad), LinkError) << bad;
}

// Saves a picture without alpha: the icon record must carry RGBA anyway.
std::string savePng(int width, int height) {
  GdkPixbuf *picture = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
  guchar *pixels = gdk_pixbuf_get_pixels(picture);
  const int stride = gdk_pixbuf_get_rowstride(picture);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      guchar *p = pixels + y * stride + x * 3;
      p[0] = guchar(10 * x + y), p[1] = 200, p[2] = guchar(y);
    }
  const std::string path =
      temporaryPath(std::to_string(width) + "x" + std::to_string(height) + ".png");
  EXPECT_TRUE(gdk_pixbuf_save(picture, path.c_str(), "png", nullptr, nullptr));
  g_object_unref(picture);
  return path;
}

TEST(OptionsSection, IconsAreRgbaRowsTopToBottomInTheOrderGiven) {
  const std::string small = savePng(2, 3), tiny = savePng(1, 1);
  const std::vector<uint8_t> section = optionsSection({small, tiny}, std::nullopt);
  std::filesystem::remove(small);
  std::filesystem::remove(tiny);
  ASSERT_EQ(section.size(), 3 + 2 * 3 * 4 + 3 + 4u);
  EXPECT_EQ(section[0], 1);
  EXPECT_EQ(section[1], 2);
  EXPECT_EQ(section[2], 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) {
      const uint8_t *p = &section[3 + (y * 2 + x) * 4];
      EXPECT_EQ(p[0], 10 * x + y);
      EXPECT_EQ(p[1], 200);
      EXPECT_EQ(p[2], y);
      EXPECT_EQ(p[3], 255);
    }
  EXPECT_EQ(section[27], 1);
  EXPECT_EQ(section[28], 1);
}

TEST(OptionsSection, RefusesIconsTooLargeOrUnreadable) {
  const std::string large = savePng(256, 16);
  EXPECT_THROW(optionsSection({large}, std::nullopt), LinkError);
  std::filesystem::remove(large);
  EXPECT_THROW(optionsSection({temporaryPath("missing.png")}, std::nullopt), LinkError);
}

TEST(BuiltTestImage, MinimalIsTheRuntimeFollowedByItsImage) {
  const std::vector<uint8_t> file = readFile(TEST_IMAGES_DIR "/minimal");
  const std::vector<uint8_t> runtime = readFile(TEST_IMAGES_DIR "/../runtime");
  ASSERT_GT(file.size(), runtime.size() + 13);
  EXPECT_TRUE(std::equal(runtime.begin(), runtime.end(), file.begin()));
  EXPECT_EQ(std::string(file.end() - 9, file.end()), "ZovIzaZiz");
  const uint32_t back = le32(file, file.size() - 13);
  EXPECT_EQ(file.size() - 13 - back, runtime.size()) << "item 1 begins right behind the runtime";
  const uint32_t codeSize = le32(file, runtime.size());
  const std::vector<uint8_t> code(file.begin() + runtime.size() + 4,
                                  file.begin() + runtime.size() + 4 + codeSize);
  ASSERT_GE(code.size(), 2u);
  EXPECT_EQ(code.front(), 0x55);
  EXPECT_EQ(code[code.size() - 1], 0xC3);
  EXPECT_EQ(readFile(TEST_IMAGES_DIR "/minimal.loose/code.dat"), code);
  EXPECT_TRUE(readFile(TEST_IMAGES_DIR "/minimal.loose/import.dat").empty());
}

} // namespace
