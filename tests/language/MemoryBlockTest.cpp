#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TextFixtures.h"
#include "language/MemoryBlock.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ClassLookup.h"
#include "support/AlertRecorder.h"

namespace {

// A block that is released at the end of the test.
class Block {
public:
  explicit Block(MemoryBlockObject *block) : mBlock(block) {}
  explicit Block(int32_t size) : mBlock(newMemoryBlock(size)) {}
  ~Block() { RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(mBlock)); }
  Block(const Block &) = delete;
  Block &operator=(const Block &) = delete;
  MemoryBlockObject *operator->() const { return mBlock; }
  MemoryBlockObject *get() const { return mBlock; }

  std::vector<int> bytes() const {
    std::vector<int> out;
    for (int32_t i = 0; i < mBlock->size; ++i)
      out.push_back(static_cast<unsigned char>(mBlock->data[i]));
    return out;
  }
  void set(std::initializer_list<int> bytes) {
    int i = 0;
    for (int b : bytes)
      mBlock->data[i++] = static_cast<char>(b);
  }

private:
  MemoryBlockObject *mBlock;
};

using Bytes = std::vector<int>;

// OutOfMemoryException and OutOfBoundsException need their classes built.
class MemoryBlockTest : public testing::Test {
protected:
  void SetUp() override {
    OutOfBoundsExceptionClass();
    OutOfMemoryExceptionClass();
  }
  RaiseRecorder raises;
};

} // namespace

TEST_F(MemoryBlockTest, NewBlocksAreZeroedOwnedAndLittleEndian) {
  Block block(8);
  ASSERT_NE(block.get(), nullptr);
  EXPECT_EQ(memoryBlockGetSize(block.get()), 8);
  EXPECT_EQ(block.bytes(), Bytes(8, 0));
  EXPECT_EQ(block->owns, 1);
  EXPECT_EQ(block->littleEndian, 1);
  EXPECT_EQ(newMemoryBlock(0), nullptr);
  EXPECT_EQ(newMemoryBlock(-4), nullptr);
}

TEST_F(MemoryBlockTest, FixedWidthsInBothByteOrders) {
  Block block(8);
  memorySetLong(block.get(), 0, 0x01020304);
  EXPECT_EQ(block.bytes(), (Bytes{4, 3, 2, 1, 0, 0, 0, 0}));
  block->littleEndian = 0;
  memorySetLong(block.get(), 0, 0x01020304);
  EXPECT_EQ(block.bytes(), (Bytes{1, 2, 3, 4, 0, 0, 0, 0}));
  EXPECT_EQ(memoryGetLong(block.get(), 0), 0x01020304);

  // Unaligned offsets and every width, read back in both orders.
  for (uint8_t little : {0, 1}) {
    block->littleEndian = little;
    memorySetShort(block.get(), 1, -2);
    EXPECT_EQ(memoryGetShort(block.get(), 1), -2);
    EXPECT_EQ(memoryGetUShort(block.get(), 1), 65534);
    memorySetDouble(block.get(), 0, 2.5);
    EXPECT_EQ(memoryGetDouble(block.get(), 0), 2.5);
    memorySetSingle(block.get(), 3, 0.1);
    EXPECT_EQ(memoryGetSingle(block.get(), 3), static_cast<double>(0.1f));
    memorySetLong(block.get(), 3, -123456);
    EXPECT_EQ(memoryGetLong(block.get(), 3), -123456);
  }
  block.set({0xFF, 0xFE});
  block->littleEndian = 0;
  EXPECT_EQ(memoryGetShort(block.get(), 0), -2);
  EXPECT_EQ(memoryGetUShort(block.get(), 0), 65534);
  EXPECT_EQ(memoryGetByte(block.get(), 0), 255);
  memorySetBoolean(block.get(), 7, 42);
  EXPECT_EQ(block.bytes()[7], 1);
  EXPECT_EQ(memoryGetBoolean(block.get(), 7), 1);
  EXPECT_TRUE(raises.raised().empty());
}

TEST_F(MemoryBlockTest, SettersRefuseRangesOutsideASizedBlock) {
  Block block(8);
  struct Case {
    const char *what;
    void (*write)(MemoryBlockObject *);
  } cases[] = {
      {"Long(5)", [](MemoryBlockObject *b) { memorySetLong(b, 5, 1); }},
      {"Long(-1)", [](MemoryBlockObject *b) { memorySetLong(b, -1, 1); }},
      {"Long near INT32_MAX", [](MemoryBlockObject *b) { memorySetLong(b, INT32_MAX - 1, 1); }},
      {"Double(1)", [](MemoryBlockObject *b) { memorySetDouble(b, 1, 1); }},
      {"Byte(8)", [](MemoryBlockObject *b) { memorySetByte(b, 8, 1); }},
      {"StringValue huge", [](MemoryBlockObject *b) { memorySetString(b, 4, INT32_MAX, nullptr); }},
      {"Color 24 at 6", [](MemoryBlockObject *b) { memorySetColor(b, 6, 24, 1); }},
  };
  for (const Case &c : cases) {
    raises.raised().clear();
    c.write(block.get());
    EXPECT_EQ(raises.raised(), std::vector<std::string>{"OutOfBoundsException"}) << c.what;
    EXPECT_EQ(block.bytes(), Bytes(8, 0)) << c.what;
  }
  memorySetLong(block.get(), 4, -1);
  EXPECT_EQ(block.bytes(), (Bytes{0, 0, 0, 0, 255, 255, 255, 255}));
}

TEST_F(MemoryBlockTest, GettersNeverReadOutsideASizedBlock) {
  Block block(4);
  block.set({'a', 'b', 'c', 'd'});
  EXPECT_EQ(memoryGetLong(block.get(), 1), 0);
  EXPECT_EQ(memoryGetLong(block.get(), -1), 0);
  EXPECT_EQ(memoryGetDouble(block.get(), 0), 0);
  EXPECT_EQ(memoryGetShort(block.get(), INT32_MAX), 0);
  EXPECT_EQ(memoryGetPtr(block.get(), 2), nullptr);
  EXPECT_EQ(Text(Owned(memoryGetString(block.get(), 2, 100))), "cd");
  EXPECT_EQ(Text(Owned(memoryGetString(block.get(), 5, 1))), "");
  EXPECT_EQ(Text(Owned(memoryGetString(block.get(), -3, 5))), "");
  EXPECT_EQ(Text(Owned(memoryGetCString(block.get(), 1))), "bcd");
  block.set({200, 'x'});
  EXPECT_EQ(Text(Owned(memoryGetPString(block.get(), 0))), "xcd");
  EXPECT_EQ(Text(Owned(memoryGetPString(block.get(), 4))), "");
  EXPECT_EQ(memoryGetColor(block.get(), 2, 24), 0);
}

TEST_F(MemoryBlockTest, TextAccessors) {
  Block block(4);
  memorySetString(block.get(), 0, 4, Ascii("ab").Storage());
  EXPECT_EQ(block.bytes(), (Bytes{0x61, 0x62, 0, 0}));
  block.set({9, 9, 9, 9});
  memorySetString(block.get(), 0, 1, Ascii("ab").Storage());
  EXPECT_EQ(block.bytes(), (Bytes{0x61, 9, 9, 9}));
  memorySetString(block.get(), 0, 0, Ascii("zz").Storage());
  memorySetString(block.get(), 0, -5, Ascii("zz").Storage());
  EXPECT_EQ(block.bytes(), (Bytes{0x61, 9, 9, 9}));
  string s = Owned(memoryGetString(block.get(), 0, 2));
  EXPECT_EQ(Text(s), "a\x09");
  EXPECT_EQ(s.Encoding(), kEncodingUnknown);

  memorySetPString(block.get(), 0, Ascii("abc").Storage());
  EXPECT_EQ(block.bytes(), (Bytes{3, 0x61, 0x62, 0x63}));
  string p = Owned(memoryGetPString(block.get(), 0));
  EXPECT_EQ(Text(p), "abc");
  EXPECT_EQ(p.Encoding(), kEncodingASCII);
  memorySetCString(block.get(), 0, Ascii("xyz").Storage());
  EXPECT_EQ(block.bytes(), (Bytes{0x78, 0x79, 0x7A, 0}));
  EXPECT_EQ(Text(Owned(memoryGetCString(block.get(), 0))), "xyz");

  Block three(3);
  raises.raised().clear();
  memorySetPString(three.get(), 0, Ascii("abc").Storage());
  EXPECT_EQ(raises.raised(), std::vector<std::string>{"OutOfBoundsException"});
  EXPECT_EQ(three.bytes(), Bytes(3, 0));
}

TEST_F(MemoryBlockTest, PStringStoresAtMost255BytesSoItsLengthReadsBack) {
  Block block(300);
  string text = Ascii(std::string(280, 'q'));
  memorySetPString(block.get(), 0, text.Storage());
  EXPECT_EQ(block.bytes()[0], 255);
  EXPECT_EQ(Text(Owned(memoryGetPString(block.get(), 0))), std::string(255, 'q'));
  EXPECT_EQ(block.bytes()[256], 0);
}

TEST_F(MemoryBlockTest, Colours) {
  Block block(4);
  memorySetColor(block.get(), 0, 16, 0xFFFFFF);
  EXPECT_EQ(memoryGetUShort(block.get(), 0), 0x7FFF);
  EXPECT_EQ(memoryGetColor(block.get(), 0, 16), 0xF8F8F8);
  EXPECT_EQ(memoryGetColor(block.get(), 0, 8), 0);
  block->littleEndian = 0;
  memorySetColor(block.get(), 0, 24, 0x102030);
  EXPECT_EQ((Bytes{block.bytes()[0], block.bytes()[1], block.bytes()[2]}),
            (Bytes{0x10, 0x20, 0x30}));
  EXPECT_EQ(memoryGetColor(block.get(), 0, 24), 0x102030);
  block->littleEndian = 1;
  memorySetColor(block.get(), 0, 24, 0x102030);
  EXPECT_EQ((Bytes{block.bytes()[0], block.bytes()[1], block.bytes()[2]}),
            (Bytes{0x30, 0x20, 0x10}));
  EXPECT_EQ(memoryGetColor(block.get(), 0, 24), 0x102030);
  memorySetColor(block.get(), 0, 32, 0x7F102030);
  EXPECT_EQ(memoryGetColor(block.get(), 0, 32), 0x102030);
}

TEST_F(MemoryBlockTest, SizeKeepsBytesAndRefusesNonPositive) {
  Block block(8);
  memorySetLong(block.get(), 0, 0x04030201);
  memorySetLong(block.get(), 4, 0x08070605);
  memoryBlockSetSize(block.get(), 16);
  EXPECT_EQ(block.bytes(), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0, 0, 0, 0, 0}));
  memoryBlockSetSize(block.get(), 4);
  EXPECT_EQ(block.bytes(), (Bytes{1, 2, 3, 4}));
  memoryBlockSetSize(block.get(), 0);
  EXPECT_EQ(raises.raised(), std::vector<std::string>{"OutOfBoundsException"});
  EXPECT_EQ(memoryBlockGetSize(block.get()), 4);

  // A viewing block that gets a size owns fresh zeroed bytes.
  char outside[4] = {1, 2, 3, 4};
  Block view(PtrToMemoryBlock(outside));
  memoryBlockSetSize(view.get(), 2);
  EXPECT_EQ(view.bytes(), (Bytes{0, 0}));
  EXPECT_EQ(outside[0], 1);
}

TEST_F(MemoryBlockTest, UnsizedBlocksWriteAnywhere) {
  char outside[16] = {};
  Block view(PtrToMemoryBlock(outside));
  EXPECT_EQ(memoryBlockGetSize(view.get()), 0);
  memorySetLong(view.get(), 12, 0x01020304);
  EXPECT_EQ(outside[12], 4);
  EXPECT_EQ(memoryGetLong(view.get(), 12), 0x01020304);
  EXPECT_TRUE(raises.raised().empty());
  EXPECT_EQ(memoryBlockGetPtr(view.get()), outside);
  EXPECT_EQ(MemoryBlockLeftB(view.get(), 4), nullptr);
  EXPECT_EQ(Owned(MemoryBlockToStringOperator(view.get())).Storage(), nullptr);

  // A Ptr stored in a block reads back as a view of the same address.
  Block holder(4);
  memorySetPtr(holder.get(), 0, view.get());
  Block again(memoryGetPtr(holder.get(), 0));
  EXPECT_EQ(again->data, outside);
  EXPECT_EQ(again->owns, 0);
  memorySetPtr(holder.get(), 0, nullptr);
  EXPECT_EQ(memoryGetPtr(holder.get(), 0), nullptr);
}

TEST_F(MemoryBlockTest, ConstructorsAndConversions) {
  Block made(reinterpret_cast<MemoryBlockObject *>(CreateInstance(MemoryBlockClass())));
  EXPECT_EQ(made->littleEndian, 1);
  memoryBlockNewConstructor(made.get(), 6);
  EXPECT_EQ(made.bytes(), Bytes(6, 0));

  Block zero(reinterpret_cast<MemoryBlockObject *>(CreateInstance(MemoryBlockClass())));
  memoryBlockNewConstructor(zero.get(), 0);
  memoryBlockNewConstructor(zero.get(), -3);
  EXPECT_EQ(raises.raised(),
            (std::vector<std::string>{"OutOfMemoryException", "OutOfMemoryException"}));

  Block fromText(reinterpret_cast<MemoryBlockObject *>(CreateInstance(MemoryBlockClass())));
  MemoryBlockFromStringOperator(fromText.get(), Ascii("hi").Storage());
  EXPECT_EQ(fromText.bytes(), (Bytes{'h', 'i'}));
  string back = Owned(MemoryBlockToStringOperator(fromText.get()));
  EXPECT_EQ(Text(back), "hi");
  EXPECT_EQ(back.Encoding(), kEncodingUnknown);

  AlertRecorder alerts;
  ConvertPtrToMemoryBlock(nullptr, fromText->data);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].line, kConvertPtrToNilBlockAlert.line);
  EXPECT_EQ(alerts.alerts()[0].file, kConvertPtrToNilBlockAlert.file);
}

TEST_F(MemoryBlockTest, AddCompareAndSlices) {
  Block ab(reinterpret_cast<MemoryBlockObject *>(CreateInstance(MemoryBlockClass())));
  Block abc(reinterpret_cast<MemoryBlockObject *>(CreateInstance(MemoryBlockClass())));
  MemoryBlockFromStringOperator(ab.get(), Ascii("ab").Storage());
  MemoryBlockFromStringOperator(abc.get(), Ascii("abc").Storage());
  EXPECT_EQ(MemoryBlockCompareOperator(ab.get(), abc.get()), -1);
  EXPECT_EQ(MemoryBlockCompareOperator(abc.get(), ab.get()), 1);
  EXPECT_EQ(MemoryBlockCompareOperator(nullptr, nullptr), 0);
  EXPECT_EQ(MemoryBlockCompareOperator(nullptr, ab.get()), -1);
  Block one(1), ff(1);
  one.set({1});
  ff.set({0xFF});
  EXPECT_EQ(MemoryBlockCompareOperator(one.get(), ff.get()), -254);

  EXPECT_EQ(MemoryBlockAddOperator(nullptr, nullptr), nullptr);
  ab->littleEndian = 0;
  Block sum(MemoryBlockAddOperator(ab.get(), abc.get()));
  EXPECT_EQ(sum.bytes(), (Bytes{'a', 'b', 'a', 'b', 'c'}));
  EXPECT_EQ(sum->littleEndian, 1);
  Block copy(MemoryBlockAddOperator(ab.get(), nullptr));
  EXPECT_EQ(copy.bytes(), (Bytes{'a', 'b'}));

  Block ten(10);
  for (int i = 0; i < 10; ++i)
    ten->data[i] = static_cast<char>(i);
  ten->littleEndian = 0;
  Block mid(MemoryBlockMidB3(ten.get(), -2, 5));
  EXPECT_EQ(mid.bytes(), (Bytes{0, 1, 2}));
  EXPECT_EQ(mid->littleEndian, 0);
  EXPECT_EQ(MemoryBlockMidB2(ten.get(), 10), nullptr);
  EXPECT_EQ(MemoryBlockLeftB(ten.get(), 0), nullptr);
  Block right(MemoryBlockRightB(ten.get(), 20));
  EXPECT_EQ(right->size, 10);
  Block tail(MemoryBlockMidB2(ten.get(), 7));
  EXPECT_EQ(tail.bytes(), (Bytes{7, 8, 9}));
  Block right2(MemoryBlockRightB(ten.get(), 2));
  EXPECT_EQ(right2.bytes(), (Bytes{8, 9}));
  EXPECT_EQ(MemoryBlockMidB3(ten.get(), INT32_MIN, INT32_MAX), nullptr);
}

TEST(MemoryBlockClass, LayoutOfTheDefinition) {
  ObjectDefinition *defn = MemoryBlockClass();
  EXPECT_EQ(Text(defn->className), "MemoryBlock");
  EXPECT_EQ(defn->objectSize, 36);
  EXPECT_EQ(defn->newAllowed, 1);
  ASSERT_NE(defn->properties, nullptr);
  EXPECT_EQ(defn->properties->param, 33);
  std::vector<std::string> names;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    names.push_back(Text(m->name));
  ASSERT_EQ(names.size(), 24u);
  EXPECT_EQ(names[0], "Long");
  EXPECT_EQ(names[12], "ColorValue");
  EXPECT_EQ(names[23], "RightB");
}
