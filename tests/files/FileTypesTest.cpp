// The file-type registry: matching names to types, filters to codes, texts
// to four-character codes, and loading a list from a stream.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "files/FileTypes.h"
#include "foundation/DataFile.h"
#include "foundation/FileStreams.h"

namespace {

uint32_t Code(const char (&text)[5]) {
  uint32_t code;
  std::memcpy(&code, text, 4);
  return code;
}

std::string Text(const string &s) { return std::string(s.CString(), size_t(s.Length())); }

class FileTypesTest : public testing::Test {
protected:
  FileTypesTest() { ClearFileTypes(); }
  ~FileTypesTest() override { ClearFileTypes(); }
  static void Register(const char *name, const char *creator, const char *type,
                       const char *extensions) {
    RuntimeRegisterFileType(string(name).Storage(), string(creator).Storage(),
                            string(type).Storage(), string(extensions).Storage());
  }
};

TEST_F(FileTypesTest, FourCharacterCodesAreInMemoryOrder) {
  EXPECT_EQ(StringToMacType(string("TEXT")), 0x54584554u);
  struct Case {
    const char *text;
    const char *bytes;
  } cases[] = {{"", "????"}, {"ab", "ab  "}, {"TEXTS", "TEXT"}, {"a", "a   "}};
  for (const Case &c : cases) {
    const uint32_t code = StringToMacType(string(c.text));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&code), 4), c.bytes) << c.text;
  }
}

TEST_F(FileTypesTest, FileNameMatchesTheFirstRegisteredTypeOfItsExtension) {
  EXPECT_EQ(Text(getFileType(string("a.txt"))), "");
  Register("Own", "Tavr", "TEXT", ""); // no extensions: matches nothing
  Register("text", "ttxt", "TEXT", ".txt;.text");
  Register("other text", "ttxt", "TEXT", ".txt");
  Register("bare", "????", "BARE", "md");
  Register("trailing", "????", "TRAL", ".log;");
  struct Case {
    const char *file, *type;
  } cases[] = {
      {"a.txt", "text"},   {"NOTES.TXT", "text"}, {"b.text", "text"}, {"notestxt", ""},
      {"readme.md", "bare"}, {"readmemd", "bare"}, {"a.jpg", ""},      {"x.log", "trailing"},
      {"txt", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Text(getFileType(string(c.file))), c.type) << c.file;
}

TEST_F(FileTypesTest, CreatorAndTypeCodesOfAnEntry) {
  FileTypeEntry entry;
  entry.creator = string("ab");
  entry.type = string();
  uint32_t creator = 0, type = 0;
  entry.getCreatorType(creator, type);
  EXPECT_EQ(creator, Code("ab  "));
  EXPECT_EQ(type, Code("????"));
  FileTypeEntry made(string("n"), string(".n"), Code("TYPE"), Code("CRE8"), nullptr);
  made.getCreatorType(creator, type);
  EXPECT_EQ(creator, Code("CRE8"));
  EXPECT_EQ(type, Code("TYPE"));
}

TEST_F(FileTypesTest, FilterTextsGiveDistinctCodes) {
  struct Case {
    const char *filter;
    std::string codes;
    bool anyType;
  } withoutTypes[] = {{"TEXT", "TEXT", false}, {"", "", false}};
  for (const Case &c : withoutTypes) {
    string codes;
    bool any = true;
    getFileTypeList(string(c.filter), codes, any);
    EXPECT_EQ(Text(codes), c.codes) << c.filter;
    EXPECT_EQ(any, c.anyType) << c.filter;
  }
  Register("text", "ttxt", "TEXT", ".txt");
  Register("anything", "ttxt", "", "");
  Case cases[] = {
      {"text;TEXT", "TEXT", false},         {"text;????;PICT", "TEXT", true},
      {"TEXT;;PICT;text;toolong", "TEXTPICT", false}, {"anything;PICT", "", true},
      {"PICT;pict", "PICTpict", false},
  };
  for (const Case &c : cases) {
    string codes;
    bool any = false;
    getFileTypeList(string(c.filter), codes, any);
    EXPECT_EQ(Text(codes), c.codes) << c.filter;
    EXPECT_EQ(any, c.anyType) << c.filter;
  }
}

TEST_F(FileTypesTest, AllExtensionsAreAppendedWithTheCount) {
  Register("a", "????", "AAAA", ".a");
  Register("b", "????", "BBBB", "");
  string text("x:");
  int32_t count = 0;
  GetAllFileTypes(text, count);
  EXPECT_EQ(Text(text), "x:.a;;");
  EXPECT_EQ(count, 2);
}

// A temporary stream holding what write put there, positioned at its start.
std::unique_ptr<DataFile> StreamOf(void (*write)(OutputStream &)) {
  std::unique_ptr<DataFile> file(DataFile::New());
  EXPECT_TRUE(file->CreateTemporaryFile(string()));
  OutputStream out(file.get());
  write(out);
  file->SeekFromStart(0);
  return file;
}

TEST_F(FileTypesTest, LoadingReplacesTheListAndStopsWhereTheStreamEnds) {
  Register("old", "????", "OLD ", ".old");
  auto file = StreamOf([](OutputStream &out) {
    out.WriteEncodedInt(2);
    for (const char *field : {"text", "ttxt", "TEXT", ".txt", "pict", "ttxt", "PICT", ".pct"})
      out.WriteEncodedString(string(field));
  });
  InputStream in(file.get());
  LoadRuntimeFileTypes(in);
  EXPECT_EQ(Text(getFileType(string("a.txt"))), "text");
  EXPECT_EQ(Text(getFileType(string("a.pct"))), "pict");
  EXPECT_EQ(Text(getFileType(string("a.old"))), "");

  // A count far beyond the data ends at the first failed read.
  auto lying = StreamOf([](OutputStream &out) {
    out.WriteEncodedInt(0x7FFFFFFF);
    for (const char *field : {"one", "????", "ONE ", ".one", "half"})
      out.WriteEncodedString(string(field));
  });
  InputStream short_(lying.get());
  LoadRuntimeFileTypes(short_);
  EXPECT_EQ(Text(getFileType(string("a.one"))), "one");
  EXPECT_EQ(Text(getFileType(string("a.txt"))), "");

  auto none = StreamOf([](OutputStream &out) { out.WriteEncodedInt(0); });
  InputStream empty(none.get());
  LoadRuntimeFileTypes(empty);
  EXPECT_EQ(Text(getFileType(string("a.one"))), "one");
}

} // namespace
