// Handler records: their slots are filled from the kit's notes, and the
// unwinder's scan from every call reaches the record that guards the call.
#include <gtest/gtest.h>

#include <set>

#include "HandlerRecords.h"
#include "LinkerTestSupport.h"

using namespace linkertest;
using imagelink::scanForHandler;

namespace {

const std::vector<uint8_t> kRecord = {0xE9, 0x0E, 0,    0,    0,    0x11, 0x04, 0,    0,   0,
                                      0,    0xF4, 0xFF, 0x8B, 0xA5, 0xF0, 0xFF, 0xFF, 0xFF};
const std::vector<uint8_t> kRegionStart = {0xE9, 0x04, 0, 0, 0, 0x12, 0x04, 0, 0};
const std::vector<uint8_t> kRegionEnd = {0xE9, 0x04, 0, 0, 0, 0x13, 0x04, 0, 0};

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto &part : parts)
    out.insert(out.end(), part.begin(), part.end());
  return out;
}

std::vector<uint32_t> handlerRecordsIn(const std::vector<uint8_t> &code) {
  std::vector<uint32_t> records;
  for (uint32_t at = 0; at + 13 <= code.size(); ++at)
    if (std::equal(kRecord.begin(), kRecord.begin() + 11, code.begin() + at))
      records.push_back(at);
  return records;
}

TEST(UnwinderScan, FollowsTheRuntimesByteRules) {
  struct Case {
    const char *what;
    std::vector<uint8_t> code;
    int64_t expected;
  };
  const std::vector<Case> cases = {
      {"plain code before a record", join({{0x90, 0x90}, kRecord}), 2},
      {"pop-return ends the scan", join({{0x90, 0x5D, 0xC3}, kRecord}), -1},
      {"leave-return ends the scan", join({{0xC9, 0xC3}, kRecord}), -1},
      {"a nested region's handler is passed over",
       join({kRegionStart, {0x90}, kRecord, {0x90}, kRegionEnd, kRecord}), 9 + 1 + 19 + 1 + 9},
      {"a jump's operand is skipped, end bytes inside it too",
       join({{0xE9, 0x5D, 0xC3, 0, 0}, kRecord}), 5},
      {"a short jump skips two bytes", join({{0xEB, 0x00, 0x5D, 0xC3, 0, 0, 0}, kRecord}), -1},
      {"a region end without a start changes nothing", join({kRegionEnd, kRecord}), 9},
      {"no end and no record", {0x90, 0x90, 0x90}, -1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(scanForHandler(c.code, 0), c.expected) << c.what;
}

TEST(HandlerSlots, AreWrittenFromTheKitsNotes) {
  std::vector<uint8_t> code = join({{0x90}, kRecord});
  code[12] = code[13] = 0; // as the kit emits it
  imagelink::fillHandlerSlots(code, {{1, "-12(%ebp)"}}, {{"f", 0, uint32_t(code.size())}});
  EXPECT_EQ(code[12], 0xF4);
  EXPECT_EQ(code[13], 0xFF);
}

TEST(HandlerSlots, RejectNotesThatAreNotFrameSlotsOrRecords) {
  const std::vector<std::pair<imagelink::HandlerSlotNote, std::string>> bad = {
      {{1, "%eax"}, "not a frame slot"},
      {{1, "0(%ebp)"}, "not a frame slot"},
      {{1, "-40000(%ebp)"}, "not a frame slot"},
      {{0, "-12(%ebp)"}, "not a handler record"},
  };
  for (const auto &[note, phrase] : bad) {
    std::vector<uint8_t> code = join({{0x90}, kRecord});
    code[12] = code[13] = 0;
    try {
      imagelink::fillHandlerSlots(code, {note}, {{"f", 0, uint32_t(code.size())}});
      ADD_FAILURE() << note.slot << " accepted";
    } catch (const imagelink::LinkError &error) {
      EXPECT_NE(std::string(error.what()).find(phrase), std::string::npos) << error.what();
    }
  }
}

TEST(HandlerSlots, RejectARecordWithoutItsStackReset) {
  std::vector<uint8_t> code = join({{0x90}, kRecord});
  code[12] = code[13] = 0;
  code[14] = 0x90; // no `mov disp32(%ebp), %esp` after the record
  EXPECT_THROW(
      imagelink::fillHandlerSlots(code, {{1, "-12(%ebp)"}}, {{"f", 0, uint32_t(code.size())}}),
      imagelink::LinkError);
}

TEST(HandlerRecordsOfTheKit, EachRecordGetsItsOwnSlotAndTheSavedStack) {
  imagelink::LinkedImage image = linkFixtures({"handlers", "worker"});
  std::vector<uint32_t> records = handlerRecordsIn(image.code);
  ASSERT_EQ(records.size(), 3u); // inner, outer, catch-all
  std::set<int16_t> slots;
  std::set<uint32_t> stackSlots;
  for (uint32_t at : records) {
    const int16_t slot = int16_t(image.code[at + 11] | image.code[at + 12] << 8);
    EXPECT_LT(slot, 0);
    slots.insert(slot);
    ASSERT_EQ(image.code[at + 13], 0x8B);
    ASSERT_EQ(image.code[at + 14], 0xA5);
    stackSlots.insert(le32(image.code, at + 15));
  }
  EXPECT_EQ(slots.size(), 3u) << "inner, outer and catch-all share a slot";
  ASSERT_EQ(stackSlots.size(), 1u);
  EXPECT_FALSE(slots.count(int16_t(*stackSlots.begin())));
}

TEST(HandlerRecordsOfTheKit, NestedRegionsAreBracketed) {
  imagelink::LinkedImage image = linkFixtures({"handlers", "worker"});
  int starts = 0, ends = 0;
  for (uint32_t at = 0; at + 9 <= image.code.size(); ++at) {
    if (std::equal(kRegionStart.begin(), kRegionStart.end(), image.code.begin() + at))
      ++starts;
    if (std::equal(kRegionEnd.begin(), kRegionEnd.end(), image.code.begin() + at))
      ++ends;
  }
  EXPECT_EQ(starts, 2);
  EXPECT_EQ(ends, 2);
}

TEST(HandlerRecordsOfTheKit, AFalseFunctionEndStopsTheLinkNamingTheFunction) {
  const std::string message = linkFailure({"false_end"});
  EXPECT_NE(message.find("Unlucky"), std::string::npos) << message;
  EXPECT_NE(message.find("false function end"), std::string::npos) << message;
}

TEST(HandlerRecordsOfTheKit, BytesTheLoaderRewritesAreNotTakenForAnEnd) {
  // call; mov $imm32, %eax whose operand is a relocated site holding 5D C3
  // before the loader patches it; the record; leave; ret.
  std::vector<uint8_t> code =
      join({{0x55, 0x89, 0xE5, 0xE8, 0, 0, 0, 0, 0xB8, 0x5D, 0xC3, 0, 0}, kRecord, {0xC9, 0xC3}});
  const std::vector<imagelink::CodeFunction> functions = {{"f", 0, uint32_t(code.size())}};
  EXPECT_NO_THROW(imagelink::checkHandlerScans(code, functions, {9}));
  EXPECT_THROW(imagelink::checkHandlerScans(code, functions, {}), imagelink::LinkError);
}

} // namespace
