#include "TavrinImage.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ImageFormat.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/image/ImageFile.h"
#include "runtime/startup/RuntimeStartup.h"
#include "support/AlertRecorder.h"

std::vector<RuntimeImport> ReadRuntimeImports() {
  ImageFileSections sections;
  std::string problem;
  std::vector<RuntimeImport> imports;
  if (ReadImageFile(TEST_IMAGES_DIR "/../tavrin", sections, problem) != ImageSource::kTrailer) {
    ADD_FAILURE() << "bin/tavrin carries no image: " << problem;
    return imports;
  }
  const std::vector<uint8_t> &s = sections.imports;
  auto name = [&](size_t &at) {
    std::string text(reinterpret_cast<const char *>(&s[at + 1]), s[at]);
    at += 1 + s[at] + 1;
    return text;
  };
  for (size_t at = 0; at < s.size();) {
    switch (s[at++]) {
    case kImportRuntimeFunction: {
      bool relative = s[at] == kImportRelativeSites;
      at += 1 + 4;
      imports.push_back({name(at), relative});
      break;
    }
    case kImportLibraryFunction:
      at += 4;
      name(at);
      name(at);
      break;
    case kFixupDataAddress:
    case kFixupCodeAddress:
    case kFixupStringConstant:
      at += 4;
      break;
    default:
      break;
    }
  }
  return imports;
}

const std::vector<std::string> &UnboundImports() {
  static const std::vector<std::string> unbound = [] {
    AlertRecorder recorder;
    RegisterBuiltInClasses();
    std::vector<std::string> names;
    for (const RuntimeImport &import : ReadRuntimeImports())
      if (!FindFirstRelocEntry(import.name.c_str()) &&
          std::find(names.begin(), names.end(), import.name) == names.end())
        names.push_back(import.name);
    return names;
  }();
  return unbound;
}

std::string DescribeUnbound(const std::vector<std::string> &unbound) {
  std::string text = std::to_string(unbound.size()) + " imports not bound yet:";
  for (const std::string &name : unbound)
    text += " " + name;
  return text;
}
