#include "files/FileTypes.h"

#include <cstring>

#include "foundation/NumberText.h"
#include "foundation/SplitString.h"
#include "foundation/TextEncodings.h"
#include "runtime/application/CommonRuntimeFunctions.h"

FileTypeEntry *gFileTypes = nullptr;

namespace {

constexpr uint32_t kFourBlanks = 0x20202020;
constexpr uint32_t kAnyType = 0x3F3F3F3F; // "????"

// Up to four bytes of the text over four blanks, in memory order.
uint32_t CodeOverBlanks(const string &text) {
  uint32_t code = kFourBlanks;
  const int count = text.Length() < 4 ? text.Length() : 4;
  std::memcpy(&code, text.CString(), size_t(count));
  return code;
}

uint32_t CodeOfEntryText(const string &text) { return text.IsEmpty() ? kAnyType : CodeOverBlanks(text); }

// The four bytes of a code as text, tagged ASCII.
string CodeText(uint32_t code) {
  string text;
  text.ConstructFromBuffer(reinterpret_cast<const char *>(&code), 4);
  text.SetEncoding(kEncodingASCII);
  return text;
}

void Append(FileTypeEntry *entry) {
  FileTypeEntry **tail = &gFileTypes;
  while (*tail)
    tail = &(*tail)->next;
  *tail = entry;
}

} // namespace

FileTypeEntry::FileTypeEntry(const string &name, const string &extensions, uint32_t type,
                             uint32_t creator, FileTypeEntry *next)
    : next(next), name(name), creator(FourCharCodeToString(creator)),
      type(FourCharCodeToString(type)), extensions(extensions) {}

int32_t FileTypeEntry::testMatch(const string &fileName) const {
  if (extensions.IsEmpty())
    return 0;
  SimpleVector<string> pieces;
  SplitString(extensions, ';', pieces);
  for (int32_t i = 0; i < pieces.count(); ++i) {
    const string &piece = pieces[i];
    // An empty piece would end every name: it names no extension.
    if (piece.IsEmpty() || fileName.Length() < piece.Length())
      continue;
    if (right(fileName, piece.Length()).Compare(piece) == 0)
      return 2;
  }
  return 0;
}

void FileTypeEntry::getCreatorType(uint32_t &creatorCode, uint32_t &typeCode) const {
  creatorCode = CodeOfEntryText(creator);
  typeCode = CodeOfEntryText(type);
}

void LoadRuntimeFileTypes(InputStream &stream) {
  int count = 0;
  if (!stream.ReadEncodedInt(count) || count <= 0)
    return;
  FileTypeEntry *head = nullptr;
  FileTypeEntry **tail = &head;
  for (int i = 0; i < count; ++i) {
    string fields[4];
    bool whole = true;
    for (string &field : fields)
      if (!(whole = stream.ReadEncodedString(field)))
        break;
    if (!whole)
      break;
    auto *entry = new FileTypeEntry;
    entry->name = fields[0];
    entry->creator = fields[1];
    entry->type = fields[2];
    entry->extensions = fields[3];
    *tail = entry;
    tail = &entry->next;
  }
  // Entries live until the process ends: a replaced list is let go, as
  // callers may still hold its entries.
  if (head)
    gFileTypes = head;
}

string getFileType(const string &fileName) {
  const FileTypeEntry *best = nullptr;
  int32_t bestScore = 0;
  for (const FileTypeEntry *entry = gFileTypes; entry; entry = entry->next) {
    const int32_t score = entry->testMatch(fileName);
    if (score > bestScore) {
      best = entry;
      bestScore = score;
    }
  }
  if (best)
    return best->name;
  string empty;
  empty.SetEncoding(kEncodingASCII);
  return empty;
}

uint32_t StringToMacType(const string &text) {
  const string roman = ConvertEncoding(text, kEncodingMacRoman);
  return roman.IsEmpty() ? kAnyType : CodeOverBlanks(roman);
}

bool NextFileTypeItem(const string &filter, int32_t &position, string &item) {
  const int32_t length = filter.Length();
  if (position >= length)
    return false;
  const char *bytes = filter.CString();
  int32_t end = position;
  while (end < length && bytes[end] != ';')
    ++end;
  item = mid(filter, position, end - position);
  position = end + 1;
  return true;
}

void AppendUniqueTypeCode(string &codes, uint32_t code) {
  const string text = CodeText(code);
  for (int32_t at = 0; at + 4 <= codes.Length(); at += 4)
    if (mid(codes, at, 4).CompareWithCase(text) == 0)
      return;
  codes += text;
}

void getFileTypeList(const string &filter, string &codes, bool &anyType) {
  codes = string();
  anyType = false;
  int32_t position = 0;
  string item;
  while (NextFileTypeItem(filter, position, item)) {
    const FileTypeEntry *found = nullptr;
    for (const FileTypeEntry *entry = gFileTypes; entry && !found; entry = entry->next)
      if (entry->name.Compare(item) == 0)
        found = entry;
    uint32_t code = 0;
    if (found) {
      uint32_t creator = 0;
      found->getCreatorType(creator, code);
    } else if (item.Length() == 4) {
      code = item.Compare(string("????")) == 0 ? kAnyType : StringToMacType(item);
    } else {
      continue;
    }
    if (code == kAnyType) {
      anyType = true;
      return;
    }
    AppendUniqueTypeCode(codes, code);
  }
}

void GetAllFileTypes(string &text, int32_t &count) {
  count = 0;
  for (const FileTypeEntry *entry = gFileTypes; entry; entry = entry->next) {
    text += entry->extensions;
    text += ";";
    ++count;
  }
}

void ClearFileTypes() { gFileTypes = nullptr; }

extern "C" void RuntimeRegisterFileType(stringStorage *name, stringStorage *creator,
                                        stringStorage *type, stringStorage *extensions) {
  auto *entry = new FileTypeEntry;
  entry->name = string::Borrow(name);
  entry->creator = string::Borrow(creator);
  entry->type = string::Borrow(type);
  entry->extensions = string::Borrow(extensions);
  Append(entry);
}
