#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ImageBuilder.h"
#include "foundation/String.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/image/ImportTable.h"
#include "runtime/image/LoaderX86.h"
#include "runtime/image/ResourceManager.h"
#include "support/AlertRecorder.h"

namespace {

std::vector<uint32_t> sProbed;
extern "C" void LoaderTestProbe(uint32_t value) { sProbed.push_back(value); }

// A scratch directory holding the image files and a library name that only
// opens once ".so" is appended.
class LoaderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(mkdtemp(mDirectory), nullptr);
    void *libm = dlopen("libm.so.6", RTLD_LAZY);
    Dl_info info;
    ASSERT_NE(dladdr(dlsym(libm, "lrintf"), &info), 0);
    ASSERT_EQ(symlink(info.dli_fname, (Path("libretry") + ".so").c_str()), 0);
    AddRelocEntry("LoaderTestProbe", reinterpret_cast<void *>(&LoaderTestProbe));
    sProbed.clear();
  }
  void TearDown() override { std::system((std::string("rm -rf ") + mDirectory).c_str()); }

  std::string Path(const std::string &name) const { return std::string(mDirectory) + "/" + name; }

  void Write(const std::string &name, const Bytes &bytes) const {
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
  }

  // An executable's bytes with the image behind them.
  std::string WriteExecutable(const ImageParts &parts) const {
    Bytes file = {0x7F, 'E', 'L', 'F', 1, 1, 1, 0};
    Bytes image = TrailerImage(parts);
    file.insert(file.end(), image.begin(), image.end());
    Write("program", file);
    return Path("program");
  }

  char mDirectory[32] = "/tmp/loadertestXXXXXX";
};

// Offsets inside the image that the expectations refer to.
struct ProbeImage {
  ImageParts parts;
  uint32_t dataOffset = 4, codeOffset = 0, unsetConstant = 0, presetConstant = 0;
  int32_t secondFunction = 0;
};

// Code that hands the probe, in order: a data address, a code address, two
// string constants, ilogbf(8) from libm, lrintf(3) through the ".so" retry,
// 77 and 78 through absolute imports, and what an unbound import answers.
ProbeImage BuildProbeImage(const std::string &retryLibrary) {
  ProbeImage image;
  Bytes &data = image.parts.data;
  data.assign(8, 0);
  image.unsetConstant = AppendStringConstant(data, "unset");
  image.presetConstant = AppendStringConstant(data, "preset", 0x4321);

  CodeAssembler code;
  FixupStream fixups;
  std::vector<int32_t> probeCalls, absoluteProbes;
  auto report = [&] {
    probeCalls.push_back(code.CallRelative());
    code.DropArguments(4);
  };
  code.Emit({0x90, 0x90, 0x90, 0x90}); // no symbol covers these bytes
  fixups.DataAddress(code.PushImmediate(image.dataOffset));
  report();
  fixups.CodeAddress(code.PushImmediate(image.codeOffset));
  report();
  fixups.StringConstant(code.PushImmediate(image.unsetConstant));
  report();
  fixups.StringConstant(code.PushImmediate(image.presetConstant));
  report();
  image.secondFunction = int32_t(code.Code().size());
  code.PushImmediate(0x41000000); // 8.0f
  fixups.LibraryImport(code.CallRelative(), "ilogbf", "libm.so.6");
  code.DropArguments(4);
  code.PushEax();
  report();
  code.PushImmediate(0x40400000); // 3.0f
  fixups.LibraryImport(code.CallRelative(), "lrintf", retryLibrary);
  code.DropArguments(4);
  code.PushEax();
  report();
  for (uint32_t value : {77u, 78u}) {
    absoluteProbes.push_back(code.MoveToEax(0));
    code.PushImmediate(value);
    code.CallEax();
    code.DropArguments(4);
  }
  fixups.RuntimeImport(kImportRelativeSites, code.CallRelative(), "LoaderTestNoSuchFunction");
  code.PushEax();
  report();
  code.Return();

  code.Chain(probeCalls);
  code.Chain(absoluteProbes);
  fixups.RuntimeImport(kImportRelativeSites, probeCalls[0], "loadertestprobe");
  fixups.RuntimeImport(0, absoluteProbes[0], "LoaderTestProbe");
  image.parts.code = code.Code();
  image.parts.imports = fixups.Stream();

  // Symbols: "entry" at 4, "second" where the library calls begin.
  Bytes &symbols = image.parts.symbols;
  AppendInt32(symbols, 2);
  AppendInt32(symbols, 4);
  AppendInt32(symbols, 0);
  AppendInt32(symbols, uint32_t(image.secondFunction));
  AppendInt32(symbols, 6);
  for (char c : std::string("entry\0second", 13))
    symbols.push_back(uint8_t(c));

  AppendResource(image.parts.resources, "TEXT", 128, {'h', 'i'});
  AppendResource(image.parts.resources, "TEXT", 0x8001, {'h', 'i', 'g', 'h'});
  AppendResource(image.parts.resources, "TEXT", 128, {'l', 'a', 't', 'e'});
  AppendIconOption(image.parts.options, 16, 0xFF000080);
  AppendIconOption(image.parts.options, 32, 0x00FF00FF);
  AppendVersionOption(image.parts.options, {1, 0, 0, 2, 3, 15},
                      {"Probe 1.0", "Probe 1.0 long", ""});
  return image;
}

void ExpectEveryFixupLanded(const ProbeImage &image) {
  auto data = static_cast<uint8_t *>(GetX86DataSectionBaseAddress());
  auto code = static_cast<uint8_t *>(GetX86CodeSectionBaseAddress());
  ASSERT_NE(data, nullptr);
  ASSERT_NE(code, nullptr);
  auto address = [](const void *p) { return reinterpret_cast<uint32_t>(p); };
  auto *unset = reinterpret_cast<stringStorage *>(data + image.unsetConstant);
  auto *preset = reinterpret_cast<stringStorage *>(data + image.presetConstant);
  std::vector<uint32_t> expected = {address(data + image.dataOffset),
                                    address(code + image.codeOffset),
                                    address(unset),
                                    address(preset),
                                    3,
                                    3,
                                    77,
                                    78,
                                    0};
  EXPECT_EQ(sProbed, expected);
  EXPECT_STREQ(stringStorage::CString(unset), "unset");
  EXPECT_EQ(preset->mBuffer, reinterpret_cast<char *>(0x4321));
}

// Bytes of the process's mappings that are writable and executable, as the
// memory the loader copies image code into is.
size_t WritableCodeBytes() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  size_t total = 0;
  while (std::getline(maps, line)) {
    unsigned long start, end;
    char permissions[5];
    if (std::sscanf(line.c_str(), "%lx-%lx %4s", &start, &end, permissions) == 3 &&
        std::string(permissions, 3) == "rwx")
      total += end - start;
  }
  return total;
}

int32_t SymbolDistance(const void *address, std::string &name) {
  string found("?");
  int32_t distance = -1;
  if (!ResolveX86LoaderSymbol(address, &found, &distance))
    return -2;
  name = found.CString();
  return distance;
}

// Code that pushes one string constant, "abc" in the data at the given
// offset, damaged in place by `damage`; the constant's address is fixed up.
void AddDamagedStringConstant(ImageParts &parts, uint32_t offset,
                              void (*damage)(uint8_t *constant)) {
  parts.data.assign(offset, 0);
  AppendStringConstant(parts.data, "abc");
  parts.data.erase(parts.data.begin() + offset, parts.data.end() - 25);
  damage(parts.data.data() + offset);
  CodeAssembler code;
  FixupStream fixups;
  fixups.StringConstant(code.PushImmediate(offset));
  code.Return();
  parts.code = code.Code();
  parts.imports = fixups.Stream();
}

} // namespace

TEST_F(LoaderTest, ImageBehindTheExecutableLoadsAndEveryFixupLands) {
  ProbeImage image = BuildProbeImage(Path("libretry"));
  int32_t resourcesBefore = gResourceManager.GetCount();
  AlertRecorder recorder;

  EXPECT_EQ(LoadProgram(WriteExecutable(image.parts).c_str()), 0);
  ExpectEveryFixupLanded(image);
  ASSERT_EQ(recorder.count(), 2u); // the unbound import: at load and when called
  EXPECT_TRUE(recorder.saw("Function 'LoaderTestNoSuchFunction' was not exported"));

  // Resources point into the executable: the first record's data follows
  // the executable's 8 bytes, the code, data, imports and symbols with their
  // sizes, the resources' size and the record's 14-byte header.
  ASSERT_EQ(gResourceManager.GetCount(), resourcesBefore + 4); // three and the version
  ResourceEntry text = gResourceManager.GetResource(FourCharCode("TEXT"), 128);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(text.data), text.length), "hi");
  const ImageParts &p = image.parts;
  EXPECT_EQ(text.fileOffset,
            8 + 4 * 5 + p.code.size() + p.data.size() + p.imports.size() + p.symbols.size() + 14);
  EXPECT_EQ(gResourceManager.GetResource(FourCharCode("TEXT"), int16_t(0x8001)).length, 4u);

  // The icons reach the default list in the reverse of their order.
  GList *icons = gtk_window_get_default_icon_list();
  ASSERT_EQ(g_list_length(icons), 2u);
  EXPECT_EQ(gdk_pixbuf_get_width(GDK_PIXBUF(icons->data)), 32);
  EXPECT_EQ(gdk_pixbuf_get_width(GDK_PIXBUF(icons->next->data)), 16);
  guchar *pixel = gdk_pixbuf_get_pixels(GDK_PIXBUF(icons->next->data));
  EXPECT_EQ((uint32_t(pixel[0]) << 24) | (pixel[1] << 16) | (pixel[2] << 8) | pixel[3],
            0xFF000080u);
  g_list_free(icons);

  const VersionInfo *version = gResourceManager.GetVersionInfo();
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->Integer(3), 3); // stage code, stored fifth
  EXPECT_EQ(version->Integer(4), 2); // non-release version, stored fourth
  EXPECT_STREQ(version->Text(1).CString(), "Probe 1.0 long");
}

TEST_F(LoaderTest, LooseFilesInTheCurrentDirectoryLoadWhenThereIsNoTrailer) {
  ProbeImage image = BuildProbeImage(Path("libretry"));
  Write("import.dat", image.parts.imports);
  Write("code.dat", image.parts.code);
  Write("data.dat", image.parts.data);
  Write("rsrc.dat", image.parts.resources);
  Write("symbols.dat", image.parts.symbols); // no options.dat: an empty section
  Write("program", {0x7F, 'E', 'L', 'F'});
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(mDirectory), 0);
  AlertRecorder recorder;
  int32_t resourcesBefore = gResourceManager.GetCount();

  int status = LoadProgram(Path("program").c_str());
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(status, 0);
  ExpectEveryFixupLanded(image);
  ASSERT_EQ(gResourceManager.GetCount(), resourcesBefore + 3);
  EXPECT_EQ(gResourceManager.GetResourceByIndex(resourcesBefore).fileOffset, 14u);
}

TEST_F(LoaderTest, SymbolLookupNamesTheFunctionAtOrBelowTheAddress) {
  ProbeImage image = BuildProbeImage(Path("libretry"));
  AlertRecorder recorder;
  ASSERT_TRUE(LoadImage(WriteExecutable(image.parts).c_str()));
  auto code = static_cast<const uint8_t *>(GetX86CodeSectionBaseAddress());
  std::string name;

  EXPECT_EQ(SymbolDistance(code + image.secondFunction, name), 0);
  EXPECT_EQ(name, "second"); // the function's own first byte
  EXPECT_EQ(SymbolDistance(code + image.secondFunction - 1, name), image.secondFunction - 5);
  EXPECT_EQ(name, "entry");
  EXPECT_EQ(SymbolDistance(code + 2, name), int32_t(image.parts.code.size()));
  EXPECT_EQ(name, "");
  EXPECT_EQ(SymbolDistance(code + image.parts.code.size(), name), -2);
  EXPECT_EQ(SymbolDistance(code - 1, name), -2);
  EXPECT_TRUE(ResolveX86LoaderSymbol(code + 5, nullptr, nullptr));
}

TEST_F(LoaderTest, ImageWithoutSymbolsResourcesAndOptionsLoads) {
  CodeAssembler code;
  code.Return();
  ImageParts parts;
  parts.code = code.Code();
  ASSERT_TRUE(LoadImage(WriteExecutable(parts).c_str()));
  EXPECT_FALSE(ResolveX86LoaderSymbol(GetX86CodeSectionBaseAddress(), nullptr, nullptr));
}

TEST_F(LoaderTest, UnknownOptionTagsAreReportedAndSkippedByOneByte) {
  CodeAssembler code;
  code.Return();
  ImageParts parts;
  parts.code = code.Code();
  parts.options = {9, 0};
  AppendVersionOption(parts.options, {1, 2, 3, 4, 5, 6}, {"a", "b", "c"});
  AlertRecorder recorder;
  ASSERT_TRUE(LoadImage(WriteExecutable(parts).c_str()));
  ASSERT_EQ(recorder.count(), 2u); // 9 and 0, each a record of one byte
  EXPECT_EQ(recorder.alerts()[0].condition, "0");
  const VersionInfo *version = gResourceManager.GetVersionInfo();
  ASSERT_NE(version, nullptr);
  EXPECT_STREQ(version->Text(2).CString(), "c");
}

TEST_F(LoaderTest, MissingOrDamagedImagesAreRefusedWithAReason) {
  CodeAssembler code;
  code.Return();
  ImageParts valid;
  valid.code = code.Code();
  struct Case {
    const char *what;
    void (*damageSections)(ImageParts &parts);
    void (*damageFile)(Bytes &file);
    const char *reason;
  };
  const Case cases[] = {
      {"back distance before the file", nullptr,
       [](Bytes &file) { file[file.size() - 13] = 0xFF, file[file.size() - 10] = 0x7F; },
       "back distance"},
      {"section size past the image", nullptr, [](Bytes &file) { file[8 + 4 + 1 + 3] = 0x10; },
       "data section"},
      {"sections ending before the back distance", nullptr,
       [](Bytes &file) { file.insert(file.end() - 13, 0), file[file.size() - 13] += 1; },
       "before its back distance"},
      {"no code", [](ImageParts &parts) { parts.code.clear(); }, nullptr, "no code"},
      {"resource record cut short",
       [](ImageParts &parts) {
         AppendResource(parts.resources, "TEXT", 1, {1, 2});
         parts.resources.pop_back();
       },
       nullptr, "resource record"},
      {"icon cut short",
       [](ImageParts &parts) {
         parts.options = {1, 4, 4, 0, 0};
       },
       nullptr, "option record"},
      {"empty icon",
       [](ImageParts &parts) {
         parts.options = {1, 0, 4};
       },
       nullptr, "icon"},
      {"version record cut short",
       [](ImageParts &parts) {
         AppendVersionOption(parts.options, {1, 2, 3, 4, 5, 6}, {"a", "b"});
       },
       nullptr, "option record"},
      {"symbol name outside the table",
       [](ImageParts &parts) { parts.symbols = {1, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 'f', 0}; },
       nullptr, "symbol 0"},
      {"import site outside the code",
       [](ImageParts &parts) {
         parts.imports = {3, 0x40, 0, 0, 0};
       },
       nullptr, "outside the code"},
      // A string constant's fields lie at 0 (count), 12 (length) and 20 on
      // (length byte, text, 0 byte).
      {"string constant without its zero byte",
       [](ImageParts &parts) {
         AddDamagedStringConstant(parts, 4, [](uint8_t *constant) { constant[24] = '!'; });
       },
       nullptr, "string constant at data offset 4 lacks the zero byte"},
      {"string constant with a shorter length that leaves no zero byte behind it",
       [](ImageParts &parts) {
         AddDamagedStringConstant(parts, 4, [](uint8_t *constant) { constant[12] = 2; });
       },
       nullptr, "lacks the zero byte"},
      {"string constant with a count of 0",
       [](ImageParts &parts) {
         AddDamagedStringConstant(parts, 8, [](uint8_t *constant) { constant[0] = 0; });
       },
       nullptr, "string constant at data offset 8 has a reference count of 0"},
      {"string constant with a negative count",
       [](ImageParts &parts) {
         AddDamagedStringConstant(parts, 0, [](uint8_t *constant) { constant[3] = 0x80; });
       },
       nullptr, "has a reference count of -2147483647"},
      {"string constant off a 4-byte boundary",
       [](ImageParts &parts) { AddDamagedStringConstant(parts, 6, [](uint8_t *) {}); }, nullptr,
       "string constant at data offset 6 does not lie on a 4-byte boundary"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ImageParts parts = valid;
    if (c.damageSections)
      c.damageSections(parts);
    Bytes file = {0x7F, 'E', 'L', 'F', 1, 1, 1, 0};
    Bytes image = TrailerImage(parts);
    file.insert(file.end(), image.begin(), image.end());
    if (c.damageFile)
      c.damageFile(file);
    Write("damaged", file);
    testing::internal::CaptureStderr();
    int status = LoadProgram(Path("damaged").c_str());
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, kImageLoadFailedStatus);
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
  }
}

TEST_F(LoaderTest, RefusedImageGivesItsCodeMemoryBack) {
  constexpr size_t kCodeSize = 1 << 20;
  ImageParts parts;
  parts.code.assign(kCodeSize, 0x90);
  parts.imports = {3, 0xFF, 0xFF, 0xFF, 0x7F}; // a site far past the code
  std::string path = WriteExecutable(parts);
  size_t before = WritableCodeBytes();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i)
    EXPECT_FALSE(LoadImage(path.c_str()));
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("outside the code"), std::string::npos) << said;
  EXPECT_LT(WritableCodeBytes(), before + kCodeSize);
}

TEST_F(LoaderTest, MissingFilesGiveAClearMessage) {
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(mDirectory), 0);
  Write("program", {1, 2, 3});
  testing::internal::CaptureStderr();
  int noImage = LoadProgram(Path("program").c_str());
  int noFile = LoadProgram(Path("absent").c_str());
  std::string said = testing::internal::GetCapturedStderr();
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(noImage, kImageLoadFailedStatus);
  EXPECT_EQ(noFile, kImageLoadFailedStatus);
  EXPECT_NE(said.find("carries no image"), std::string::npos) << said;
  EXPECT_NE(said.find("cannot open"), std::string::npos) << said;
}
