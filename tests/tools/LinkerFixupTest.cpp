// What the linker makes of one object that uses every kind of reference.
#include <gtest/gtest.h>

#include <algorithm>

#include "LinkerTestSupport.h"

using namespace linkertest;

namespace {

class LinkedFixups : public ::testing::Test {
protected:
  void SetUp() override {
    image = linkFixtures({"fixups"});
    fixups = parseFixups(image.imports);
    symbols = parseSymbols(image.symbols);
  }
  std::vector<const FixupRecord *> withTag(uint8_t tag) const {
    std::vector<const FixupRecord *> found;
    for (const FixupRecord &record : fixups)
      if (record.tag == tag)
        found.push_back(&record);
    return found;
  }
  const FixupRecord *import(const std::string &name, uint8_t mode) const {
    for (const FixupRecord &record : fixups)
      if (record.tag == 1 && record.name == name && (record.mode == 1) == (mode == 1))
        return &record;
    return nullptr;
  }

  imagelink::LinkedImage image;
  std::vector<FixupRecord> fixups;
  std::map<std::string, uint32_t> symbols;
};

TEST_F(LinkedFixups, EntryFunctionIsAtCodeOffsetZero) {
  EXPECT_EQ(symbols.at("ImageEntry"), 0u);
  EXPECT_EQ(image.code.at(0), 0x55); // push %ebp
}

TEST_F(LinkedFixups, CallsOfOneNameShareOneChainedRecord) {
  const FixupRecord *beep = import("RuntimeBeep", 1);
  ASSERT_NE(beep, nullptr);
  std::vector<uint32_t> sites = chainedSites(image.code, beep->site);
  ASSERT_EQ(sites.size(), 2u);
  for (uint32_t site : sites)
    EXPECT_EQ(image.code.at(site - 1), 0xE8) << "site " << site << " is not a call operand";
  EXPECT_EQ(
      std::count_if(fixups.begin(), fixups.end(),
                    [](auto &r) { return r.tag == 1 && r.name == "RuntimeBeep" && r.mode == 1; }),
      1);
  ASSERT_NE(import("RuntimeTicks", 1), nullptr);
  EXPECT_EQ(chainedSites(image.code, import("RuntimeTicks", 1)->site).size(), 1u);
}

TEST_F(LinkedFixups, AddressOfImportedNameIsAnAbsoluteImport) {
  const FixupRecord *address = import("RuntimeBeep", 0);
  ASSERT_NE(address, nullptr);
  EXPECT_NE(address->mode, 1);
  std::vector<uint32_t> sites = chainedSites(image.code, address->site);
  ASSERT_EQ(sites.size(), 1u);
  EXPECT_NE(image.code.at(sites[0] - 1), 0xE8);
}

TEST_F(LinkedFixups, SharedLibraryCallIsATag4Import) {
  auto library = withTag(4);
  ASSERT_EQ(library.size(), 1u);
  EXPECT_EQ(library[0]->name, "cos");
  EXPECT_EQ(library[0]->library, "libm.so.6");
  std::vector<uint32_t> sites = chainedSites(image.code, library[0]->site);
  ASSERT_EQ(sites.size(), 1u);
  EXPECT_EQ(image.code.at(sites[0] - 1), 0xE8);
  EXPECT_EQ(import("cos", 1), nullptr);
}

TEST_F(LinkedFixups, DataReferencesHoldDataOffsets) {
  int toCounter = 0; // Helper reads sCounter, ImageEntry writes it
  for (auto *record : withTag(2)) {
    const uint32_t offset = le32(image.code, record->site);
    ASSERT_LT(offset + 3, image.data.size());
    if (le32(image.data, offset) == 7)
      ++toCounter; // sCounter's initial value
  }
  EXPECT_EQ(toCounter, 2);
}

TEST_F(LinkedFixups, CodeAddressHoldsTheFunctionsCodeOffset) {
  auto code = withTag(3);
  ASSERT_EQ(code.size(), 1u);
  EXPECT_EQ(le32(image.code, code[0]->site), symbols.at("Helper"));
}

TEST_F(LinkedFixups, StringConstantIsReadyMadeStorageAtFourByteBoundary) {
  auto strings = withTag(5);
  ASSERT_EQ(strings.size(), 1u);
  const uint32_t offset = le32(image.code, strings[0]->site);
  EXPECT_EQ(offset % 4, 0u);
  EXPECT_EQ(le32(image.data, offset), 1u);      // count
  EXPECT_EQ(le32(image.data, offset + 4), 0u);  // buffer: set by the loader
  EXPECT_EQ(le32(image.data, offset + 8), 4u);  // length + 2
  EXPECT_EQ(le32(image.data, offset + 12), 2u); // length
  EXPECT_EQ(le32(image.data, offset + 16), 0x0600u);
  EXPECT_EQ(std::string(image.data.begin() + offset + 20, image.data.begin() + offset + 24),
            std::string("\x02Hi\0", 4));
}

TEST_F(LinkedFixups, CallsWithinTheCodeAreResolvedWithoutFixups) {
  const uint32_t helper = symbols.at("Helper");
  bool found = false;
  for (uint32_t at = 0; at + 5 <= image.code.size(); ++at)
    if (image.code[at] == 0xE8 && at + 5 + le32(image.code, at + 1) == helper)
      found = true;
  EXPECT_TRUE(found) << "no call lands on Helper";
  for (const FixupRecord &record : fixups)
    EXPECT_NE(record.name, "Helper");
}

TEST(LinkerLayout, EntryInsideASharedSectionIsReachedFromOffsetZero) {
  imagelink::LinkedImage image = linkFixtures({"entry_not_first"});
  std::map<std::string, uint32_t> symbols = parseSymbols(image.symbols);
  ASSERT_EQ(image.code.at(0), 0xE9);
  EXPECT_EQ(5 + le32(image.code, 1), symbols.at("ImageEntry"));
  EXPECT_LT(symbols.at("Before"), symbols.at("ImageEntry"));
}

TEST(LinkerLayout, ObjectsLinkedTogetherResolveEachOthersCalls) {
  imagelink::LinkedImage image = linkFixtures({"handlers", "worker"});
  for (const FixupRecord &record : parseFixups(image.imports))
    EXPECT_NE(record.name, "Work");
  std::map<std::string, uint32_t> symbols = parseSymbols(image.symbols);
  EXPECT_EQ(symbols.at("ImageEntry"), 0u);
  ASSERT_TRUE(symbols.count("Work"));
  uint32_t previous = 0;
  for (uint32_t i = 0; i < le32(image.symbols, 0); ++i) {
    EXPECT_GE(le32(image.symbols, 4 + 8 * i), previous) << "symbols out of order";
    previous = le32(image.symbols, 4 + 8 * i);
  }
}

} // namespace
