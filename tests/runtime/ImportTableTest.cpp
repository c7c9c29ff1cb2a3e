#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ImageBuilder.h"
#include "foundation/String.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/image/ImportTable.h"
#include "support/AlertRecorder.h"

namespace {

extern "C" int32_t ImportTableTestTarget(int32_t value) { return value + 1; }

void RegisterTarget() {
  AddRelocEntry("ImportTableTestTarget", reinterpret_cast<void *>(&ImportTableTestTarget));
}

// Sections that a test patches in place.
struct Image {
  Bytes code;
  Bytes data;
  LoadedSections Sections() {
    return LoadedSections{code.data(), uint32_t(code.size()), data.data(), uint32_t(data.size())};
  }
  uint32_t At(int32_t site) const { return ReadInt32At(&code[size_t(site)]); }
  // Where a call whose operand lies at the site lands.
  uint32_t CallTarget(int32_t site) const {
    return At(site) + reinterpret_cast<uint32_t>(&code[size_t(site)]) + 4;
  }
};

bool Apply(Image &image, const FixupStream &fixups, std::string &problem) {
  return ApplyImportTable(fixups.Stream().data(), uint32_t(fixups.Stream().size()),
                          image.Sections(), problem);
}

const uint32_t kTarget = reinterpret_cast<uint32_t>(&ImportTableTestTarget);

} // namespace

TEST(ImportTable, RuntimeImportsBindWholeChainsRelativeOrAbsolute) {
  RegisterTarget();
  CodeAssembler code;
  std::vector<int32_t> calls = {code.CallRelative(), code.CallRelative(), code.CallRelative()};
  std::vector<int32_t> loads = {code.MoveToEax(0), code.MoveToEax(0)};
  code.Chain(calls);
  code.Chain(loads);
  FixupStream fixups;
  fixups.RuntimeImport(kImportRelativeSites, calls[0], "importtabletesttarget"); // case ignored
  fixups.RuntimeImport(0, loads[0], "ImportTableTestTarget");
  fixups.RuntimeImport(kImportRelativeSites, 0, "ImportTableTestTarget"); // no sites
  Image image{code.Code(), {}};
  AlertRecorder recorder;
  std::string problem;

  ASSERT_TRUE(Apply(image, fixups, problem)) << problem;
  for (int32_t site : calls)
    EXPECT_EQ(image.CallTarget(site), kTarget) << "call at " << site;
  for (int32_t site : loads)
    EXPECT_EQ(image.At(site), kTarget) << "address at " << site;
  EXPECT_EQ(recorder.count(), 0u);
}

TEST(ImportTable, SectionAddressesAndStringConstantsArePatched) {
  Bytes data(12, 0);
  uint32_t unset = AppendStringConstant(data, "abc");
  uint32_t preset = AppendStringConstant(data, "xyz", 0x1234);
  CodeAssembler code;
  int32_t dataSite = code.PushImmediate(8);
  int32_t codeSite = code.PushImmediate(2);
  int32_t unsetSite = code.PushImmediate(unset);
  int32_t presetSite = code.PushImmediate(preset);
  FixupStream fixups;
  fixups.DataAddress(dataSite);
  fixups.Tag(0);
  fixups.CodeAddress(codeSite);
  fixups.Tag(6);
  fixups.StringConstant(unsetSite);
  fixups.Tag(255);
  fixups.StringConstant(presetSite);
  Image image{code.Code(), data};
  std::string problem;

  ASSERT_TRUE(Apply(image, fixups, problem)) << problem;
  EXPECT_EQ(image.At(dataSite), reinterpret_cast<uint32_t>(image.data.data() + 8));
  EXPECT_EQ(image.At(codeSite), reinterpret_cast<uint32_t>(image.code.data() + 2));
  auto *unsetStorage = reinterpret_cast<stringStorage *>(image.data.data() + unset);
  auto *presetStorage = reinterpret_cast<stringStorage *>(image.data.data() + preset);
  EXPECT_EQ(image.At(unsetSite), reinterpret_cast<uint32_t>(unsetStorage));
  EXPECT_EQ(image.At(presetSite), reinterpret_cast<uint32_t>(presetStorage));
  EXPECT_EQ(unsetStorage->mBuffer, reinterpret_cast<char *>(unsetStorage) + 20);
  EXPECT_STREQ(stringStorage::CString(unsetStorage), "abc");
  EXPECT_EQ(presetStorage->mBuffer, reinterpret_cast<char *>(0x1234));
}

TEST(ImportTable, LibraryImportsBindAndRetryWithSoAppended) {
  // A library name without ".so" that does not open is tried once more with
  // ".so" appended.
  char directory[] = "/tmp/importtableXXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  std::string retried = std::string(directory) + "/libretry";
  void *libm = dlopen("libm.so.6", RTLD_LAZY);
  ASSERT_NE(libm, nullptr);
  Dl_info info;
  ASSERT_NE(dladdr(dlsym(libm, "ilogbf"), &info), 0);
  ASSERT_EQ(symlink(info.dli_fname, (retried + ".so").c_str()), 0);

  CodeAssembler code;
  int32_t direct = code.CallRelative();
  int32_t viaRetry = code.CallRelative();
  FixupStream fixups;
  fixups.LibraryImport(direct, "ilogbf", "libm.so.6");
  fixups.LibraryImport(viaRetry, "lrintf", retried);
  Image image{code.Code(), {}};
  AlertRecorder recorder;
  std::string problem;

  ASSERT_TRUE(Apply(image, fixups, problem)) << problem;
  EXPECT_EQ(image.CallTarget(direct), reinterpret_cast<uint32_t>(dlsym(libm, "ilogbf")));
  EXPECT_EQ(image.CallTarget(viaRetry), reinterpret_cast<uint32_t>(dlsym(libm, "lrintf")));
  EXPECT_EQ(recorder.count(), 0u);
  unlink((retried + ".so").c_str());
  rmdir(directory);
}

TEST(ImportTable, UnboundImportsAreReportedAndTrapTheirCalls) {
  struct Case {
    const char *what;
    void (*add)(FixupStream &, int32_t site);
    const char *condition;
    const char *message;
    const char *function;
  };
  const Case cases[] = {
      {"unknown name",
       [](FixupStream &f, int32_t site) {
         f.RuntimeImport(kImportRelativeSites, site, "NoSuchEntryPoint");
       },
       "foundFunction", "Function 'NoSuchEntryPoint' was not exported", "NoSuchEntryPoint"},
      {"missing library",
       [](FixupStream &f, int32_t site) { f.LibraryImport(site, "cos", "libnosuchlibrary.so.9"); },
       "lib->mLibraryHandle", "Missing shared library libnosuchlibrary.so.9", "cos"},
      {"missing symbol",
       [](FixupStream &f, int32_t site) { f.LibraryImport(site, "no_such_symbol", "libm.so.6"); },
       "functionEntry", "Could not resolve function 'no_such_symbol' in libm.so.6",
       "no_such_symbol"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    CodeAssembler code;
    std::vector<int32_t> sites = {code.CallRelative(), code.CallRelative()};
    code.Chain(sites);
    FixupStream fixups;
    c.add(fixups, sites[0]);
    Image image{code.Code(), {}};
    AlertRecorder recorder;
    std::string problem;

    ASSERT_TRUE(Apply(image, fixups, problem)) << problem;
    ASSERT_EQ(recorder.count(), 1u);
    EXPECT_EQ(recorder.alerts()[0].condition, c.condition);
    EXPECT_EQ(recorder.alerts()[0].message, c.message);

    // Both sites reach the trap, which reports the call and answers 0.
    EXPECT_EQ(image.CallTarget(sites[0]), image.CallTarget(sites[1]));
    auto trap = reinterpret_cast<uint64_t (*)(int32_t)>(image.CallTarget(sites[0]));
    recorder.clear();
    EXPECT_EQ(trap(99), 0u);
    ASSERT_EQ(recorder.count(), 1u);
    EXPECT_NE(recorder.alerts()[0].message.find(std::string("'") + c.function + "'"),
              std::string::npos);
  }
}

TEST(ImportTable, MissingNameWithoutSitesIsStillReported) {
  FixupStream fixups;
  fixups.RuntimeImport(kImportRelativeSites, 0, "NoSuchEntryPoint");
  Image image{Bytes(8, 0x90), {}};
  AlertRecorder recorder;
  std::string problem;
  ASSERT_TRUE(Apply(image, fixups, problem));
  EXPECT_TRUE(recorder.saw("Function 'NoSuchEntryPoint' was not exported"));
  EXPECT_EQ(image.code, Bytes(8, 0x90));
}

TEST(ImportTable, DamagedStreamsAreRefused) {
  RegisterTarget();
  Bytes data;
  uint32_t constant = AppendStringConstant(data, "abc");
  struct Case {
    const char *what;
    void (*build)(CodeAssembler &, FixupStream &, uint32_t constant);
  };
  const Case cases[] = {
      {"site before the code",
       [](CodeAssembler &, FixupStream &f, uint32_t) { f.CodeAddress(-1); }},
      {"site without room for 4 bytes",
       [](CodeAssembler &c, FixupStream &f, uint32_t) {
         f.DataAddress(int32_t(c.Code().size()) - 3);
       }},
      {"chain leaving the code",
       [](CodeAssembler &c, FixupStream &f, uint32_t) {
         int32_t site = c.CallRelative(5000);
         f.RuntimeImport(kImportRelativeSites, site, "ImportTableTestTarget");
       }},
      {"chain looping",
       [](CodeAssembler &c, FixupStream &f, uint32_t) {
         int32_t first = c.CallRelative();
         int32_t second = c.CallRelative();
         c.Set(first, uint32_t(second));
         c.Set(second, uint32_t(first));
         f.RuntimeImport(kImportRelativeSites, first, "ImportTableTestTarget");
       }},
      {"chain looping on an unbound import",
       [](CodeAssembler &c, FixupStream &f, uint32_t) {
         int32_t site = c.CallRelative();
         c.Set(site, uint32_t(site));
         f.RuntimeImport(kImportRelativeSites, site, "NoSuchEntryPoint");
       }},
      {"site patched twice",
       [](CodeAssembler &c, FixupStream &f, uint32_t) {
         int32_t site = c.PushImmediate(0);
         f.CodeAddress(site);
         f.DataAddress(site);
       }},
      {"string constant past the data",
       [](CodeAssembler &c, FixupStream &f, uint32_t constant) {
         f.StringConstant(c.PushImmediate(constant + 8));
       }},
      {"string constant at a negative offset",
       [](CodeAssembler &c, FixupStream &f, uint32_t) { f.StringConstant(c.PushImmediate(~0u)); }},
      {"record cut short", [](CodeAssembler &, FixupStream &f, uint32_t) { f.Tag(2), f.Tag(0); }},
      {"name cut short",
       [](CodeAssembler &, FixupStream &f, uint32_t) {
         f.Tag(1), f.Tag(1), f.Tag(0), f.Tag(0), f.Tag(0), f.Tag(0), f.Tag(9), f.Tag('a');
       }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    CodeAssembler code;
    code.Emit({0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90});
    FixupStream fixups;
    c.build(code, fixups, constant);
    Image image{code.Code(), data};
    AlertRecorder recorder;
    std::string problem;
    EXPECT_FALSE(Apply(image, fixups, problem));
    EXPECT_FALSE(problem.empty());
  }
}

TEST(ImportTable, StringConstantsThatDoNotFitTheirBufferAreRefused) {
  // The length field lies 12 bytes into the constant.
  const struct {
    const char *what;
    size_t cutFromData;
    int32_t length;
  } cases[] = {
      {"buffer cut by the data's end", 4, 6},
      {"length past the buffer", 0, 7},
      {"negative length", 0, -1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    Bytes data;
    uint32_t constant = AppendStringConstant(data, "abcdef");
    std::memcpy(data.data() + constant + 12, &c.length, 4);
    data.resize(data.size() - c.cutFromData);
    CodeAssembler code;
    FixupStream fixups;
    fixups.StringConstant(code.PushImmediate(constant));
    Image image{code.Code(), data};
    std::string problem;
    EXPECT_FALSE(Apply(image, fixups, problem));
    EXPECT_NE(problem.find("buffer"), std::string::npos) << problem;
  }
}
