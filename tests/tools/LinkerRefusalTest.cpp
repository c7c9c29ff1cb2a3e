// What the image format cannot carry stops the link with a message that says
// what and where.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "LinkerTestSupport.h"

using namespace linkertest;

namespace {

struct Refusal {
  const char *fixture;
  std::vector<std::string> phrases; // all must appear in the message
};

class LinkerRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(LinkerRefuses, WithAClearMessage) {
  const std::string message = linkFailure({GetParam().fixture});
  ASSERT_FALSE(message.empty()) << GetParam().fixture << " linked";
  for (const std::string &phrase : GetParam().phrases)
    EXPECT_NE(message.find(phrase), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Objects, LinkerRefuses,
    ::testing::Values(
        Refusal{"address_in_data", {"address_in_data.c.o", "stores an address", "ImageEntry"}},
        Refusal{"constructor", {".init_array", "constructors"}},
        Refusal{"unknown_relocation", {"unknown relocation type 20", "SomeRuntimeName"}},
        Refusal{"unknown_addend", {"unknown addend 8", "RuntimeSomeTable"}}),
    [](const auto &info) { return std::string(info.param.fixture); });

TEST(LinkerRefusesEntry, WhenTheEntryFunctionIsMissing) {
  std::vector<imagelink::ElfObject> objects{imagelink::ElfObject::read(fixturePath("worker"))};
  try {
    imagelink::linkObjects(objects);
    FAIL() << "linked without an entry function";
  } catch (const imagelink::LinkError &error) {
    EXPECT_NE(std::string(error.what()).find("entry function 'ImageEntry'"), std::string::npos)
        << error.what();
  }
}

TEST(LinkerRefusesEntry, WhenTwoObjectsDefineTheSameFunction) {
  EXPECT_NE(linkFailure({"handlers", "false_end"}).find("'ImageEntry' is defined in both"),
            std::string::npos);
}

TEST(LinkerRefusesInput, WhatIsNotAnI386Object) {
  const std::vector<std::pair<std::vector<uint8_t>, std::string>> inputs = {
      {{'n', 'o', 't', ' ', 'E', 'L', 'F'}, "truncated"},
      {std::vector<uint8_t>(64, 0), "is not ELF"},
  };
  for (const auto &[bytes, phrase] : inputs) {
    try {
      imagelink::ElfObject::parse("input.o", bytes);
      ADD_FAILURE() << "parsed " << phrase;
    } catch (const imagelink::LinkError &error) {
      EXPECT_NE(std::string(error.what()).find(phrase), std::string::npos) << error.what();
    }
  }
}

TEST(LinkerRefusesInput, SectionsThatPointBeyondTheFile) {
  std::ifstream in(fixturePath("worker"), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  bytes.resize(bytes.size() / 2); // cut: section headers and tables now lie outside
  EXPECT_THROW(imagelink::ElfObject::parse("cut.o", bytes), imagelink::LinkError);
}

// A fixture object with fields rewritten into what no compiler writes.
class DamagedObject {
public:
  explicit DamagedObject(const std::string &fixture) {
    std::ifstream in(fixturePath(fixture), std::ios::binary);
    mBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  template <typename T>
  void change(size_t offset, const std::function<void(T &)> &edit) {
    T value = get<T>(offset); // checks the range
    edit(value);
    std::memcpy(mBytes.data() + offset, &value, sizeof value);
  }
  void changeSection(const std::string &name, const std::function<void(Elf32_Shdr &)> &edit) {
    change<Elf32_Shdr>(sectionHeader(name), edit);
  }
  void changeSymbol(const std::string &name, const std::function<void(Elf32_Sym &)> &edit) {
    change<Elf32_Sym>(symbolEntry(name), edit);
  }
  void changeRelocation(const std::string &table, size_t index,
                        const std::function<void(Elf32_Rel &)> &edit) {
    change<Elf32_Rel>(get<Elf32_Shdr>(sectionHeader(table)).sh_offset + index * sizeof(Elf32_Rel),
                      edit);
  }
  void changeWord(const std::string &section, size_t offset, uint32_t value) {
    change<uint32_t>(get<Elf32_Shdr>(sectionHeader(section)).sh_offset + offset,
                     [value](uint32_t &word) { word = value; });
  }
  Elf32_Rel relocation(const std::string &table, size_t index) const {
    return get<Elf32_Rel>(get<Elf32_Shdr>(sectionHeader(table)).sh_offset +
                          index * sizeof(Elf32_Rel));
  }

  // The message with which the object is refused, or "" when it links.
  std::string linkFailure() const {
    try {
      imagelink::linkObjects({imagelink::ElfObject::parse("damaged.o", mBytes)});
    } catch (const imagelink::LinkError &error) {
      return error.what();
    }
    return "";
  }

private:
  template <typename T>
  T get(size_t offset) const {
    T value;
    if (offset + sizeof value > mBytes.size())
      throw std::out_of_range("beyond the fixture's end");
    std::memcpy(&value, mBytes.data() + offset, sizeof value);
    return value;
  }
  std::string stringAt(size_t offset) const {
    return reinterpret_cast<const char *>(&mBytes.at(offset));
  }
  Elf32_Shdr headerAt(size_t index) const {
    const auto file = get<Elf32_Ehdr>(0);
    return get<Elf32_Shdr>(file.e_shoff + index * sizeof(Elf32_Shdr));
  }
  size_t sectionHeader(const std::string &name) const {
    const auto file = get<Elf32_Ehdr>(0);
    const Elf32_Shdr names = headerAt(file.e_shstrndx);
    for (size_t i = 0; i < file.e_shnum; ++i)
      if (stringAt(names.sh_offset + headerAt(i).sh_name) == name)
        return file.e_shoff + i * sizeof(Elf32_Shdr);
    throw std::runtime_error("the fixture has no section " + name);
  }
  size_t symbolEntry(const std::string &name) const {
    const Elf32_Shdr table = get<Elf32_Shdr>(sectionHeader(".symtab"));
    const Elf32_Shdr names = headerAt(table.sh_link);
    for (size_t at = table.sh_offset; at < table.sh_offset + table.sh_size; at += sizeof(Elf32_Sym))
      if (stringAt(names.sh_offset + get<Elf32_Sym>(at).st_name) == name)
        return at;
    throw std::runtime_error("the fixture has no symbol " + name);
  }

  std::vector<uint8_t> mBytes;
};

struct Damage {
  const char *what;
  const char *fixture;
  std::function<void(DamagedObject &)> apply;
  const char *phrase;
};

// Unchecked, each of these would make the linker read or write outside its
// buffers, or write an image that the loader misreads.
TEST(LinkerRefusesInput, FieldsThatNoCompilerWrites) {
  const std::vector<Damage> damages = {
      {"a function longer than its section", "handlers",
       [](DamagedObject &o) {
         o.changeSymbol("Protected", [](Elf32_Sym &s) { s.st_size = 0x10000; });
       },
       "places symbol 'Protected' beyond the end of .text.Protected"},
      {"a common symbol aligned to 3 bytes", "fixups",
       [](DamagedObject &o) {
         o.changeSymbol("sCounter", [](Elf32_Sym &s) { s.st_shndx = SHN_COMMON, s.st_value = 3; });
       },
       "aligns common symbol 'sCounter' to 3 bytes"},
      {"a zeroed section of nearly 4 GiB", "fixups",
       [](DamagedObject &o) {
         o.changeSection(".bss", [](Elf32_Shdr &h) { h.sh_size = 0xFFFFFFF0; });
       },
       ".bss makes the image larger than"},
      {"a relocation far past the end of a zeroed code section", "fixups",
       [](DamagedObject &o) {
         o.changeSection(".text.ImageEntry", [](Elf32_Shdr &h) { h.sh_type = SHT_NOBITS; });
         o.changeRelocation(".rel.text.ImageEntry", 0,
                            [](Elf32_Rel &r) { r.r_offset = 0x7FFFFFF0; });
       },
       "relocates beyond the end of .text.ImageEntry"},
      {"a string constant whose buffer size wraps to 0", "fixups",
       [](DamagedObject &o) {
         o.changeWord(".kit.strings", 8, 0);           // buffer size
         o.changeWord(".kit.strings", 12, 0xFFFFFFFE); // length
       },
       "is not a ready-made string storage"},
      {"handler-record notes without bytes", "handlers",
       [](DamagedObject &o) {
         o.changeSection(".kit.handlers", [](Elf32_Shdr &h) { h.sh_type = SHT_NOBITS; });
       },
       "malformed handler-record note"},
      {"two relocations of one call operand", "fixups",
       [](DamagedObject &o) {
         const Elf32_Addr first = o.relocation(".rel.text.ImageEntry", 0).r_offset;
         o.changeRelocation(".rel.text.ImageEntry", 1,
                            [first](Elf32_Rel &r) { r.r_offset = first; });
       },
       "relocations overlap"},
  };
  for (const Damage &damage : damages) {
    DamagedObject object(damage.fixture);
    damage.apply(object);
    const std::string message = object.linkFailure();
    EXPECT_NE(message.find(damage.phrase), std::string::npos) << damage.what << ": " << message;
  }
}

} // namespace
