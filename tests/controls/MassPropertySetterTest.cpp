// The design-time property stream of compiled windows: one record per type
// letter through the generic and the control's own setters, and streams cut
// short, with bad indices, read-only or untyped properties.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>

#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "foundation/TextEncodings.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "support/GuardedBytes.h"

namespace {

// A control class as an image would make one, with a property of each kind
// the stream carries that RectControl lacks.
struct Probe {
  RuntimeControl control;
  int32_t colour;
  float ratio;
  double scale;
  stringStorage *label;
  int32_t fixed;
};

void *const kGeneric = reinterpret_cast<void *>(1);

// clang-format off
ObjectInstanceTemplate sProbeProperties[] = {
    {0, "Colour", &colourType.type, nullptr, nullptr, kGeneric, nullptr, offsetof(Probe, colour), 0},
    {0, "Ratio", &singleType.type, nullptr, nullptr, kGeneric, nullptr, offsetof(Probe, ratio), 0},
    {0, "Scale", &doubleType.type, nullptr, nullptr, kGeneric, nullptr, offsetof(Probe, scale), 0},
    {0, "Label", &stringType.type, nullptr, nullptr, kGeneric, nullptr, offsetof(Probe, label), 0},
    {0, "Fixed", &integerType.type, reinterpret_cast<void *>(intGetter), "intGetter", nullptr,
     nullptr, offsetof(Probe, fixed), 0},
};
// clang-format on

enum : uint16_t {
  kName = 0,
  kMouseCursor = 10, // an object: no stream encoding
  kVisible = 11,
  kLeft = 12,
  kWidth = 14,
  kColour = 25,
  kRatio,
  kScale,
  kLabel,
  kFixed,
  kPropertyCount
};

ObjectDefinition *ProbeClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("StreamProbe");
    defn.super = RectControlClass();
    defn.objectSize = sizeof(Probe);
    defn.staticTables = 1;
    defn.SetPropertyListHead(FillInstances(sProbeProperties, std::size(sProbeProperties)));
  }
  return &defn;
}

// The stream as the compiler writes it.
class Stream {
public:
  Stream &Index(uint16_t i) { return Bytes({static_cast<char>(i >> 8), static_cast<char>(i)}); }
  Stream &Long(uint32_t v) {
    return Bytes({static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                  static_cast<char>(v)});
  }
  Stream &Bytes(std::initializer_list<char> bytes) {
    mBytes.append(bytes.begin(), bytes.end());
    return *this;
  }
  Stream &Text(const std::string &s) {
    Long(static_cast<uint32_t>(s.size()));
    mBytes += s;
    return *this;
  }
  Stream &Single(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return Long(bits);
  }
  Stream &Double(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return Long(static_cast<uint32_t>(bits >> 32)).Long(static_cast<uint32_t>(bits));
  }
  const std::string &bytes() const { return mBytes; }

private:
  std::string mBytes;
};

// A string storage whose bytes end at an inaccessible page: a read past the
// stream's length faults.
class GuardedStream {
public:
  explicit GuardedStream(const std::string &bytes)
      : mGuard(std::string(1, static_cast<char>(bytes.size() < 255 ? bytes.size() : 255)) + bytes) {
    mStorage.mRefCount = 1;
    mStorage.mBuffer = const_cast<char *>(reinterpret_cast<const char *>(mGuard.begin()));
    mStorage.mBufferSize = static_cast<int32_t>(mGuard.size());
    mStorage.mLength = static_cast<int32_t>(bytes.size());
    mStorage.mEncoding = kEncodingUnknown;
  }
  stringStorage *storage() { return &mStorage; }

private:
  GuardedBytes mGuard;
  stringStorage mStorage{};
};

class MassProperties : public testing::Test {
protected:
  void SetUp() override {
    object = CreateInstance(ProbeClass());
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->classPtr->propertyCount, kPropertyCount);
    probe = reinterpret_cast<Probe *>(object);
  }
  void TearDown() override {
    RuntimeUnlockString(probe->label);
    RuntimeUnlockObject(object);
  }
  void Apply(const Stream &s) {
    GuardedStream stream(s.bytes());
    RuntimeMassPropertySetter(object, stream.storage());
  }
  std::string Name() { return stringStorage::CString(probe->control.name); }

  RuntimeObject *object = nullptr;
  Probe *probe = nullptr;
};

TEST_F(MassProperties, EachTypeLetterReachesItsSetter) {
  AlertRecorder recorder;
  Apply(Stream()
            .Index(kVisible).Bytes({2})
            .Index(kLeft).Long(static_cast<uint32_t>(-40))
            .Index(kWidth).Long(static_cast<uint32_t>(-5))
            .Index(kColour).Bytes({0x12, 0x34, 0x56})
            .Index(kRatio).Single(1.5f)
            .Index(kScale).Double(-2.25)
            .Index(kLabel).Text("d\xC3\xA9j\xC3\xA0")
            .Index(kName).Text("Field1"));
  EXPECT_EQ(recorder.count(), 0u);
  EXPECT_EQ(probe->control.visible, 1); // a non-zero byte is True, stored as 1
  EXPECT_EQ(ctlPosGetter(object, 0), -40);
  EXPECT_EQ(ctlPosGetter(object, 2), 0); // through the Width setter: not negative
  EXPECT_EQ(probe->colour, 0x123456);
  EXPECT_EQ(probe->ratio, 1.5f);
  EXPECT_EQ(probe->scale, -2.25);
  ASSERT_NE(probe->label, nullptr);
  EXPECT_STREQ(stringStorage::CString(probe->label), "d\xC3\xA9j\xC3\xA0");
  EXPECT_EQ(probe->label->mEncoding, kEncodingUTF8);
  EXPECT_EQ(probe->label->mRefCount, 1); // the stream's own copy was released
  EXPECT_EQ(Name(), "Field1");
  EXPECT_EQ(probe->control.name->mEncoding, kEncodingUTF8);
}

TEST_F(MassProperties, LaterRecordsSeeEarlierOnesAndAnEmptyTextClears) {
  Apply(Stream().Index(kVisible).Bytes({1}).Index(kVisible).Bytes({0}).Index(kName).Text("A"));
  EXPECT_EQ(probe->control.visible, 0);
  Apply(Stream().Index(kName).Text(""));
  EXPECT_EQ(probe->control.name, nullptr); // the empty string
}

TEST_F(MassProperties, NothingHappensForNilOrEmpty) {
  AlertRecorder recorder;
  RuntimeMassPropertySetter(object, nullptr);
  RuntimeMassPropertySetter(nullptr, string("\x00\x0b\x01").Storage());
  Apply(Stream());
  EXPECT_EQ(recorder.count(), 0u);
  EXPECT_EQ(probe->control.visible, 0);
}

// Each stream ends inside its last record; the complete records before it
// apply and nothing is read past the end.
TEST_F(MassProperties, ATruncatedRecordStopsWithoutReadingPastTheEnd) {
  const Stream cases[] = {
      Stream().Index(kLeft).Long(7).Bytes({0}),
      Stream().Index(kLeft).Long(7).Index(kLeft).Bytes({0, 0, 9}),
      Stream().Index(kLeft).Long(7).Index(kColour).Bytes({1, 2}),
      Stream().Index(kLeft).Long(7).Index(kScale).Long(1),
      Stream().Index(kLeft).Long(7).Index(kLabel).Bytes({0, 0}),
      Stream().Index(kLeft).Long(7).Index(kLabel).Long(10).Bytes({'a', 'b', 'c'}),
      Stream().Index(kLeft).Long(7).Index(kLabel).Long(0xFFFFFFFF).Bytes({'a'}),
      Stream().Index(kLeft).Long(7).Index(kFixed).Bytes({1}),
  };
  for (const Stream &s : cases) {
    AlertRecorder recorder;
    QV::SetRect(&probe->control.bounds, 0, 0, 0, 0);
    Apply(s);
    EXPECT_EQ(ctlPosGetter(object, 0), 7) << s.bytes().size();
    EXPECT_EQ(probe->label, nullptr);
    ASSERT_EQ(recorder.count(), 1u) << s.bytes().size();
    EXPECT_EQ(recorder.alerts()[0].condition, "offset + size <= length");
  }
}

TEST_F(MassProperties, ABadIndexStopsTheStream) {
  AlertRecorder recorder;
  Apply(Stream().Index(kLeft).Long(3).Index(kPropertyCount).Long(5).Index(kVisible).Bytes({1}));
  EXPECT_EQ(ctlPosGetter(object, 0), 3);
  EXPECT_EQ(probe->control.visible, 0);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].condition, "destIndex < propTableCount");
  EXPECT_EQ(recorder.alerts()[0].file, "../Common/runctl");
}

TEST_F(MassProperties, AReadOnlyValueIsSkippedAndTheStreamGoesOn) {
  AlertRecorder recorder;
  Apply(Stream().Index(kFixed).Long(99).Index(kVisible).Bytes({1}));
  EXPECT_EQ(probe->fixed, 0);
  EXPECT_EQ(probe->control.visible, 1);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].condition, "destProperty->setter");
  EXPECT_EQ(recorder.alerts()[0].message, "Assignment to a read-only property.");
}

TEST_F(MassProperties, AnUnencodableTypeConsumesNoValueBytes) {
  AlertRecorder recorder;
  // The next record follows the index at once.
  Apply(Stream().Index(kMouseCursor).Index(kVisible).Bytes({1}));
  EXPECT_EQ(probe->control.visible, 1);
  EXPECT_EQ(probe->control.mouseCursor, nullptr);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].message, "Illegal type in mass property input.");
}

} // namespace
