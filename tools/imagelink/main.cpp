// imagelink: links freestanding C objects into an application image.
//
//   imagelink [--entry NAME] [--runtime RUNTIME --output FILE] [--loose FOLDER]
//             [--resource TYPE:ID:FILE]... [--icon FILE.png]...
//             [--version N,N,N,N,N,N [--short-version TEXT] [--long-version TEXT]
//              [--package-info TEXT]]
//             OBJECT.o...
//
// With --runtime and --output the image is appended behind a copy of the
// runtime; with --loose the sections are written as loose files.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ImageLinker.h"
#include "ImageOptions.h"
#include "ImageResources.h"
#include "ImageWriter.h"
#include "LinkError.h"

using namespace imagelink;

namespace {

struct CommandLine {
  std::string entry = kDefaultEntryName;
  std::string runtime, output, loose;
  std::vector<ResourceFile> resources;
  std::vector<std::string> icons;
  std::optional<VersionRecord> version;
  std::vector<std::string> objects;
};

CommandLine parse(int argc, char **argv) {
  CommandLine line;
  VersionRecord version;
  bool versionTextGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc)
        throw LinkError(option + " needs a value");
      return argv[++i];
    };
    if (option == "--entry")
      line.entry = value();
    else if (option == "--runtime")
      line.runtime = value();
    else if (option == "--output")
      line.output = value();
    else if (option == "--loose")
      line.loose = value();
    else if (option == "--resource")
      line.resources.push_back(parseResourceArgument(value()));
    else if (option == "--icon")
      line.icons.push_back(value());
    else if (option == "--version")
      version.numbers = parseVersionNumbers(value()), line.version = version;
    else if (option == "--short-version")
      version.shortVersion = value(), versionTextGiven = true;
    else if (option == "--long-version")
      version.longVersion = value(), versionTextGiven = true;
    else if (option == "--package-info")
      version.packageInfo = value(), versionTextGiven = true;
    else if (option.rfind("--", 0) == 0)
      throw LinkError("unknown option " + option);
    else
      line.objects.push_back(option);
  }
  if (line.version)
    line.version = version;
  else if (versionTextGiven)
    throw LinkError("version texts need --version with the six numbers");
  if (line.objects.empty())
    throw LinkError("no object files given");
  if (line.runtime.empty() != line.output.empty())
    throw LinkError("--runtime and --output go together");
  if (line.output.empty() && line.loose.empty())
    throw LinkError("give --runtime and --output, or --loose");
  return line;
}

} // namespace

int main(int argc, char **argv) {
  try {
    const CommandLine line = parse(argc, argv);
    std::vector<ElfObject> objects;
    for (const std::string &path : line.objects)
      objects.push_back(ElfObject::read(path));
    LinkedImage linked = linkObjects(objects, line.entry);
    ImageSections sections{
        std::move(linked.code),           std::move(linked.data),
        std::move(linked.imports),        std::move(linked.symbols),
        resourcesSection(line.resources), optionsSection(line.icons, line.version)};
    if (!line.output.empty())
      writeAppendedImage(sections, line.runtime, line.output);
    if (!line.loose.empty())
      writeLooseImage(sections, line.loose);
    return 0;
  } catch (const std::exception &error) { // LinkError, and I/O or allocation failures
    std::fprintf(stderr, "imagelink: %s\n", error.what());
  }
  return 1;
}
