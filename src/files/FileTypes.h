// The file types an application declares: a name, creator and type codes, and
// the file-name extensions that identify such files. Answers which type a
// file name belongs to and which four-character codes a filter stands for.
// Four-character codes hold their text in memory order: the first character
// is the byte at the lowest address.
#pragma once
#include <cstdint>

#include "foundation/FileStreams.h"
#include "foundation/String.h"

struct FileTypeEntry {
  FileTypeEntry() = default;
  // The two codes are kept as their four-byte texts.
  FileTypeEntry(const string &name, const string &extensions, uint32_t type, uint32_t creator,
                FileTypeEntry *next);

  // 2 when one of the extensions ends the file name (letter case ignored),
  // else 0. Empty pieces of the extension list match nothing.
  int32_t testMatch(const string &fileName) const;
  // The creator and type texts as codes: up to four bytes over four blanks,
  // "????" for an empty text.
  void getCreatorType(uint32_t &creator, uint32_t &type) const;

  FileTypeEntry *next = nullptr;
  string name;
  string creator;
  string type;
  string extensions; // separated by ";"
};

// The registered types in registration order; nil while none is registered.
extern FileTypeEntry *gFileTypes;

// Reads an encoded count and that many entries of four encoded strings (name,
// creator, type, extensions), which replace the list. It stops at the first
// read that fails, keeping the entries read whole; a count of 0 or less, or
// no entry read, leaves the list as it was.
void LoadRuntimeFileTypes(InputStream &stream);
// The name of the first registered type whose extensions match; empty when
// none does.
string getFileType(const string &fileName);
// The text in Mac Roman as a code: "????" when empty, else up to four bytes
// over four blanks.
uint32_t StringToMacType(const string &text);
// The distinct type codes that a filter of type names and codes, separated by
// ";", stands for (four bytes each, in order of first appearance); anyType is
// set, and the walk stops, at a type whose code is "????".
void getFileTypeList(const string &filter, string &codes, bool &anyType);
// The item of the filter from position on, up to the next ";" (position moves
// past it); false when the filter is used up.
bool NextFileTypeItem(const string &filter, int32_t &position, string &item);
// Appends the code's four bytes unless codes already holds them as a group.
void AppendUniqueTypeCode(string &codes, uint32_t code);
// Appends every entry's extensions and ";" to text, and counts the entries.
void GetAllFileTypes(string &text, int32_t &count);

// Forgets every entry, for tests.
void ClearFileTypes();

extern "C" void RuntimeRegisterFileType(stringStorage *name, stringStorage *creator,
                                        stringStorage *type, stringStorage *extensions);
