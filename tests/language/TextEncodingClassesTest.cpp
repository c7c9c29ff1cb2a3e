#include <gtest/gtest.h>

#include <string>

#include "TextFixtures.h"
#include "language/TextEncodingClasses.h"

namespace {

// Holds one reference to a language object for the test's duration.
template <typename T>
class Ref {
public:
  explicit Ref(T *object) : mObject(object) {}
  ~Ref() { RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(mObject)); }
  Ref(const Ref &) = delete;
  Ref &operator=(const Ref &) = delete;
  T *operator->() const { return mObject; }
  T *get() const { return mObject; }

private:
  T *mObject;
};

using Encoding = Ref<TextEncodingObject>;

TextEncodingObject *Named(int32_t index) { return EncodingsGetter(nullptr, index); }

std::string InternetName(TextEncodingObject *e) {
  return Text(Owned(textEncodingInternetName(e, 0)));
}

} // namespace

TEST(TextEncodingClasses, EveryEncodingsPropertyByNumber) {
  // {index, code, base, format, shared}; the rest of the 92 are plain bases.
  struct Special {
    int32_t index;
    uint32_t code;
    int32_t base, format;
  } specials[] = {
      {1, kEncodingUTF8, 0x100, 2},
      {2, kEncodingUTF16, 0x100, 0},
      {3, 0x100, 0x100, 3},
      {4, 0, 0, 0},
      {12, 9, 9, 0},
      {35, 33, 33, 0},
      {43, 0x201, 0x201, 0},
      {53, 0x20D, 0x20D, 0},
      {76, 0x423, 0x423, 0},
      {77, 0x500, 0x500, 0},
      {78, 0x500, 0x500, 0},
      {87, 0x510, 0x510, 0},
      {88, kEncodingASCII, 0x600, 0},
      {89, 0xA01, 0xA01, 0},
      {91, 0xA04, 0xA04, 0},
  };
  for (const Special &s : specials) {
    Encoding e(Named(s.index));
    ASSERT_NE(e.get(), nullptr) << s.index;
    EXPECT_EQ(static_cast<uint32_t>(GetEncodingFromTEObject(e.get())), s.code) << s.index;
    EXPECT_EQ(textEncodingBaseGetter(e.get(), 0), s.base) << s.index;
    EXPECT_EQ(textEncodingFormatGetter(e.get(), 0), s.format) << s.index;
    EXPECT_EQ(e->created, 1);
  }
  // Every property in 1-91 gives an object; 92 (the system font) and those
  // outside the range give nil.
  for (int32_t i = 1; i <= 91; ++i) {
    Encoding e(Named(i));
    EXPECT_NE(e.get(), nullptr) << i;
  }
  EXPECT_EQ(Named(92), nullptr);
  EXPECT_EQ(Named(0), nullptr);
  EXPECT_EQ(Named(93), nullptr);
  ObjectDefinition *defn = EncodingsClass();
  EXPECT_EQ(Text(defn->className), "_Encodings");
  int count = 0;
  for (InstanceVariable *p = defn->properties; p; p = p->next, ++count)
    EXPECT_EQ(p->param, count + 1);
  EXPECT_EQ(count, 92);
}

TEST(TextEncodingClasses, SharedAndFreeStandingObjects) {
  Encoding utf8a(Named(1)), utf8b(Named(1));
  EXPECT_EQ(utf8a.get(), utf8b.get());
  Encoding romanA(Named(4)), romanB(Named(4));
  EXPECT_NE(romanA.get(), romanB.get());
  EXPECT_TRUE(TextEncodingEquals(romanA.get(), romanB.get()));
  Encoding latin1(Named(77)), ansi(Named(78)), ucs4(Named(3)), utf16(Named(2));
  EXPECT_TRUE(TextEncodingEquals(latin1.get(), ansi.get()));
  EXPECT_TRUE(TextEncodingEquals(ucs4.get(), utf16.get()));
  EXPECT_FALSE(TextEncodingEquals(nullptr, utf16.get()));
  EXPECT_TRUE(TextEncodingEquals(nullptr, nullptr));
  EXPECT_EQ(GetEncodingObjectFromCode(static_cast<int32_t>(kEncodingUnknown)), nullptr);
  EXPECT_EQ(static_cast<uint32_t>(GetEncodingFromTEObject(nullptr)), kEncodingUnknown);
  Encoding fromCode(EncodingsGetFromCode(nullptr, static_cast<int32_t>(kEncodingUTF8)));
  EXPECT_EQ(fromCode.get(), utf8a.get());
}

TEST(TextEncodingClasses, GetTextEncodingAndInternetNames) {
  Encoding utf8(getTextEncoding(0x100, 0, 2)), utf16(getTextEncoding(0x100, 0, 0));
  EXPECT_EQ(static_cast<uint32_t>(utf8->code), kEncodingUTF8);
  EXPECT_EQ(InternetName(utf8.get()), "UTF-8");
  EXPECT_EQ(utf16->code, 0x100);
  EXPECT_EQ(InternetName(utf16.get()), "UTF-16");
  Encoding iso(Named(43)), sjis(Named(89)), ascii(Named(88)), roman(Named(4));
  EXPECT_EQ(InternetName(iso.get()), "");
  EXPECT_EQ(InternetName(sjis.get()), "Shift_JIS");
  EXPECT_EQ(InternetName(roman.get()), "macintosh");
  EXPECT_EQ(Owned(textEncodingInternetName(ascii.get(), 0)).Encoding(), kEncodingASCII);
  EXPECT_EQ(getInternetTextEncoding(Ascii("utf-8").Storage()), nullptr);
  EXPECT_EQ(getFontTextEncoding(Ascii("Sans").Storage()), nullptr);
}

TEST(TextEncodingClasses, ChrPerFormat) {
  Encoding utf8(Named(1)), utf16(Named(2)), sjis(Named(89)), ucs4(Named(3));
  string e = Owned(TextEncodingChr(utf8.get(), 233));
  EXPECT_EQ(Text(e), "\xC3\xA9");
  EXPECT_EQ(e.Encoding(), kEncodingUTF8);
  EXPECT_EQ(Text(Owned(TextEncodingChr(utf16.get(), 233))), Text(Utf16(u"\u00E9")));
  EXPECT_EQ(Text(Owned(TextEncodingChr(utf16.get(), 0x1F600))), Text(Utf16(u"\U0001F600")));
  EXPECT_EQ(TextEncodingChr(utf16.get(), 0x110000), nullptr);
  EXPECT_EQ(TextEncodingChr(utf8.get(), -1), nullptr);
  uint32_t four = 0x1F600;
  EXPECT_EQ(Text(Owned(TextEncodingChr(ucs4.get(), 0x1F600))),
            std::string(reinterpret_cast<const char *>(&four), 4));
  EXPECT_EQ(Text(Owned(TextEncodingChr(sjis.get(), 0x8140))), "\x81\x40");
  EXPECT_EQ(Text(Owned(TextEncodingChr(sjis.get(), 65))), "A");
  EXPECT_EQ(Text(Owned(TextEncodingChr(sjis.get(), 0))), std::string(1, '\0'));
  EXPECT_EQ(TextEncodingChr(nullptr, 65), nullptr);
}

TEST(TextEncodingClasses, StringEncodingFunctions) {
  Encoding ascii(StringGetEncoding(nullptr));
  EXPECT_EQ(static_cast<uint32_t>(ascii->code), kEncodingASCII);
  EXPECT_EQ(StringGetEncoding(Tagged("x", kEncodingUnknown).Storage()), nullptr);
  Encoding utf8(StringGetEncoding(Utf8("x").Storage()));
  EXPECT_EQ(static_cast<uint32_t>(utf8->code), kEncodingUTF8);

  // DefineEncoding never retags the caller's storage, held once or shared.
  string once = Tagged("caf\xC3\xA9", kEncodingUnknown);
  string defined = Owned(StringSetEncoding(once.Storage(), utf8.get()));
  EXPECT_EQ(defined.Encoding(), kEncodingUTF8);
  EXPECT_NE(defined.Storage(), once.Storage());
  EXPECT_EQ(once.Encoding(), kEncodingUnknown);
  EXPECT_EQ(Text(defined), Text(once));
  EXPECT_EQ(Owned(StringSetEncoding(defined.Storage(), utf8.get())).Storage(), defined.Storage());
  EXPECT_EQ(Owned(StringSetEncoding(once.Storage(), nullptr)).Storage(), once.Storage());
  EXPECT_EQ(StringSetEncoding(nullptr, utf8.get()), nullptr);

  // ConvertEncoding: the same tag gives the text itself; ASCII bytes retag.
  EXPECT_EQ(Owned(StringConvertEncoding(defined.Storage(), utf8.get())).Storage(),
            defined.Storage());
  string converted = Owned(StringConvertEncoding(Ascii("abc").Storage(), utf8.get()));
  EXPECT_EQ(converted.Encoding(), kEncodingUTF8);
  EXPECT_EQ(Text(converted), "abc");
  EXPECT_EQ(StringConvertEncoding(nullptr, utf8.get()), nullptr);
}

TEST(TextEncodingClasses, GuessJapaneseEncoding) {
  struct Case {
    const char *what;
    std::string bytes;
    int32_t code; // 0 for nil
  } cases[] = {
      {"JIS escape", "\x1B\x24\x42xx", 0x820},
      {"old JIS", "\x1B\x24\x40", 0x820},
      {"NEC JIS", "\x1B\x4B", 0x820},
      {"plain ASCII", "hello", 0},
      {"Shift-JIS lead", "a\x82\xA0", 0xA01},
      {"EUC high pair", "\xB0\xF1", 0x920},
      {"EUC or SJIS", "\xB0\xB0", 0},
      {"EUC by lead", "\xF0\xA1", 0x920},
      {"E0 then SJIS trail", "\xE0\x40", 0xA01},
      {"inner run decides SJIS", "\xB0\xE0\x41\x85", 0xA01},
      {"inner run decides EUC", "\xB0\xE0\xFD", 0x920},
      {"escape at the end", "\x1B", 0},
      {"escape dollar at the end", "\x1B\x24", 0},
      {"lead at the end", "\xB0", 0xA01},
      {"8E at the end", "\x8E", 0},
      {"E0 at the end", "\xE0", 0},
      {"inner run ends the text", "\xB0\xE0", 0},
  };
  for (const Case &c : cases) {
    Encoding guess(guessJapaneseEncoding(Tagged(c.bytes, kEncodingUnknown).Storage()));
    EXPECT_EQ(guess.get() ? guess->code : 0, c.code) << c.what;
  }
  Encoding tagged(guessJapaneseEncoding(Utf8("x").Storage()));
  EXPECT_EQ(static_cast<uint32_t>(tagged->code), kEncodingUTF8);
  EXPECT_EQ(tagged->base, 0x100);
  EXPECT_EQ(tagged->format, 2);
  Encoding none(guessJapaneseEncoding(nullptr));
  EXPECT_EQ(static_cast<uint32_t>(none->code), kEncodingASCII);
}

TEST(TextEncodingClasses, Converters) {
  Encoding sjis(Named(89)), euc(getTextEncoding(0x920, 0, 0)), roman(Named(4)), latin1(Named(77));
  Ref<TextConverterObject> japanese(getTextConverter(sjis.get(), euc.get()));
  ASSERT_NE(japanese.get(), nullptr);
  EXPECT_EQ(japanese->source, 0xA01);
  EXPECT_EQ(japanese->destination, 0x920);
  EXPECT_EQ(getTextConverter(roman.get(), latin1.get()), nullptr);
  EXPECT_EQ(getTextConverter(nullptr, latin1.get()), nullptr);
  // Between two codes the converter gives what ConvertEncoding gives.
  EXPECT_EQ(Text(Owned(textConverterConvert(japanese.get(), Ascii("ab").Storage()))), "ab");
  EXPECT_EQ(Owned(textConverterConvert(japanese.get(), Ascii("ab").Storage())).Encoding(), 0x920u);
  // Shift-JIS hiragana a is EUC-JP A4 A2.
  EXPECT_EQ(Text(Owned(textConverterConvert(japanese.get(), Tagged("\x82\xA0", 0xA01).Storage()))),
            "\xA4\xA2");
  // Untagged text is read as the source encoding.
  EXPECT_EQ(Text(Owned(textConverterConvert(japanese.get(),
                                            Tagged("\x82\xA0", kEncodingUnknown).Storage()))),
            "\xA4\xA2");

  // UTF-8 and UTF-16 share a base: the converter keeps their codes and
  // converts, rather than stamping UTF-8 bytes as UTF-16.
  Encoding utf8(Named(1)), utf16(Named(2));
  Ref<TextConverterObject> unicode(getTextConverter(utf8.get(), utf16.get()));
  ASSERT_NE(unicode.get(), nullptr);
  EXPECT_EQ(unicode->source, int32_t(kEncodingUTF8));
  EXPECT_EQ(unicode->destination, int32_t(kEncodingUTF16));
  string wide = Owned(textConverterConvert(unicode.get(), Utf8("\xC3\xA9t\xC3\xA9").Storage()));
  EXPECT_EQ(Text(wide), std::string("\xE9\0t\0\xE9\0", 6));
  EXPECT_EQ(wide.Encoding(), kEncodingUTF16);

  Encoding sjis2(Named(89));
  Ref<TextConverterObject> same(getTextConverter(sjis.get(), sjis2.get()));
  string text = Tagged("\x82\xA0", 0xA01);
  EXPECT_EQ(Owned(textConverterConvert(same.get(), text.Storage())).Storage(), text.Storage());
  string other =
      Owned(textConverterConvert(same.get(), Tagged("\x82\xA0", kEncodingUnknown).Storage()));
  EXPECT_EQ(other.Encoding(), 0xA01u);
  EXPECT_EQ(Text(other), "\x82\xA0");
}
