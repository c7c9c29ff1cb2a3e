// What the image format cannot carry stops the link with a message that says
// what and where.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "LinkerTestSupport.h"

using namespace linkertest;

namespace {

struct Refusal {
  const char* fixture;
  std::vector<std::string> phrases;  // all must appear in the message
};

class LinkerRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(LinkerRefuses, WithAClearMessage) {
  const std::string message = linkFailure({GetParam().fixture});
  ASSERT_FALSE(message.empty()) << GetParam().fixture << " linked";
  for (const std::string& phrase : GetParam().phrases) EXPECT_NE(message.find(phrase), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Objects, LinkerRefuses,
    ::testing::Values(Refusal{"address_in_data", {"address_in_data.c.o", "stores an address", "ImageEntry"}},
                      Refusal{"constructor", {".init_array", "constructors"}},
                      Refusal{"unknown_relocation", {"unknown relocation type 20", "SomeRuntimeName"}},
                      Refusal{"unknown_addend", {"unknown addend 8", "RuntimeSomeTable"}}),
    [](const auto& info) { return std::string(info.param.fixture); });

TEST(LinkerRefusesEntry, WhenTheEntryFunctionIsMissing) {
  std::vector<imagelink::ElfObject> objects{imagelink::ElfObject::read(fixturePath("worker"))};
  try {
    imagelink::linkObjects(objects);
    FAIL() << "linked without an entry function";
  } catch (const imagelink::LinkError& error) {
    EXPECT_NE(std::string(error.what()).find("entry function 'ImageEntry'"), std::string::npos) << error.what();
  }
}

TEST(LinkerRefusesEntry, WhenTwoObjectsDefineTheSameFunction) {
  EXPECT_NE(linkFailure({"handlers", "false_end"}).find("'ImageEntry' is defined in both"), std::string::npos);
}

TEST(LinkerRefusesInput, WhatIsNotAnI386Object) {
  const std::vector<std::pair<std::vector<uint8_t>, std::string>> inputs = {
      {{'n', 'o', 't', ' ', 'E', 'L', 'F'}, "truncated"},
      {std::vector<uint8_t>(64, 0), "is not ELF"},
  };
  for (const auto& [bytes, phrase] : inputs) {
    try {
      imagelink::ElfObject::parse("input.o", bytes);
      ADD_FAILURE() << "parsed " << phrase;
    } catch (const imagelink::LinkError& error) {
      EXPECT_NE(std::string(error.what()).find(phrase), std::string::npos) << error.what();
    }
  }
}

TEST(LinkerRefusesInput, SectionsThatPointBeyondTheFile) {
  std::ifstream in(fixturePath("worker"), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bytes.resize(bytes.size() / 2);  // cut: section headers and tables now lie outside
  EXPECT_THROW(imagelink::ElfObject::parse("cut.o", bytes), imagelink::LinkError);
}

}  // namespace
