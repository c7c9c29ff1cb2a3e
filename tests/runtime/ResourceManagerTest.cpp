#include <gtest/gtest.h>

#include <string>

#include "ImageBuilder.h"
#include "foundation/TextEncodings.h"
#include "runtime/image/ResourceManager.h"
#include "support/AlertRecorder.h"

namespace {

// A manager of its own, so that the loader's registrations do not show.
class TestResourceManager : public ResourceManagerElf {};

const uint8_t kFirst[] = {'o', 'n', 'e'};
const uint8_t kSecond[] = {'t', 'w', 'o', '!'};

} // namespace

TEST(ResourceManager, LookupFindsTheFirstEntryOfATypeAndSixteenBitId) {
  TestResourceManager manager;
  const uint32_t text = FourCharCode("TEXT");
  manager.Add(text, 5, kFirst, 3, 100);
  manager.Add(text, 5, kSecond, 4, 200);
  manager.Add(FourCharCode("WAVE"), 5, kSecond, 4, 300);
  manager.Add(text, int16_t(0x8000), kSecond, 4, 400);

  EXPECT_EQ(manager.GetCount(), 4);
  ResourceEntry found = manager.GetResource(text, 5);
  EXPECT_EQ(found.data, kFirst);
  EXPECT_EQ(found.fileOffset, 100u);
  EXPECT_EQ(manager.GetResource(FourCharCode("WAVE"), 5).fileOffset, 300u);
  // An id above 32767 matches the entry registered with the same 16 bits.
  EXPECT_EQ(manager.GetResource(text, int16_t(uint16_t(32768))).fileOffset, 400u);

  ResourceEntry missing = manager.GetResource(text, 6);
  EXPECT_EQ(missing.data, nullptr);
  EXPECT_EQ(missing.type | missing.length | missing.fileOffset | uint32_t(missing.id), 0u);
  EXPECT_EQ(manager.GetResourceByIndex(1).data, kSecond);
}

TEST(ResourceManager, IndexPastTheEntriesAlertsAndAnswersZeros) {
  TestResourceManager manager;
  manager.Add(FourCharCode("QVPl"), 1, kFirst, 3, 0);
  AlertRecorder recorder;
  EXPECT_EQ(manager.GetResourceByIndex(1).data, nullptr);
  EXPECT_EQ(manager.GetResourceByIndex(-1).data, nullptr);
  ASSERT_EQ(recorder.count(), 2u);
  for (const RecordedAlert &alert : recorder.alerts())
    EXPECT_TRUE(ShownAt(alert, kResourceIndexAlert));
}

TEST(ResourceManager, TextIsTaggedWithTheSystemEncoding) {
  TestResourceManager manager;
  manager.Add(FourCharCode("TEXT"), 1, kSecond, 4, 0);
  manager.Add(FourCharCode("TEXT"), 2, kSecond, 0, 0);
  string text = manager.GetText(1);
  EXPECT_STREQ(text.CString(), "two!");
  EXPECT_EQ(text.Encoding(), GetSystemEncoding());
  EXPECT_TRUE(manager.GetText(2).IsEmpty());
  EXPECT_TRUE(manager.GetText(3).IsEmpty());
  EXPECT_EQ(manager.GetMovie(1), nullptr);
}

TEST(ResourceManager, VersionRecordIsReadOnceInIndexOrder) {
  TestResourceManager manager;
  EXPECT_EQ(manager.GetVersionInfo(), nullptr);
  Bytes record;
  AppendVersionOption(record, {1, 2, 3, 4, 5, 6}, {"Short", "Long \xC3\xA9", ""});
  record.erase(record.begin()); // the option's tag byte
  manager.Add(kVersionResourceType, 0, record.data(), uint32_t(record.size()), 0);

  const VersionInfo *version = manager.GetVersionInfo();
  ASSERT_NE(version, nullptr);
  // Major, minor, bug, then the stage code (stored fifth) before the
  // non-release version (stored fourth), then the region code.
  const int32_t expected[] = {1, 2, 3, 5, 4, 6};
  for (int32_t i = 0; i < 6; ++i)
    EXPECT_EQ(version->Integer(i), expected[i]) << "index " << i;
  EXPECT_EQ(version->Integer(6), -1);
  EXPECT_EQ(version->Integer(-1), -1);
  EXPECT_STREQ(version->Text(0).CString(), "Short");
  EXPECT_STREQ(version->Text(1).CString(), "Long \xC3\xA9");
  EXPECT_EQ(version->Text(1).Encoding(), kEncodingUTF8);
  EXPECT_TRUE(version->Text(2).IsEmpty());
  EXPECT_TRUE(version->Text(3).IsEmpty());
  EXPECT_EQ(manager.GetVersionInfo(), version);
}

TEST(ResourceManager, VersionRecordTooShortForItsStringsCountsAsNone) {
  TestResourceManager manager;
  Bytes record;
  AppendVersionOption(record, {1, 2, 3, 4, 5, 6}, {"Short", "Long", "Info"});
  record.erase(record.begin());
  manager.Add(kVersionResourceType, 0, record.data(), uint32_t(record.size() - 2), 0);
  EXPECT_EQ(manager.GetVersionInfo(), nullptr);
}
