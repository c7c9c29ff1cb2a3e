// Builds application images byte by byte for the loader's tests: a little
// x86 assembler for the code, the fix-up stream, resource and option records,
// and the trailer form.
#pragma once
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "ImageFormat.h"

using Bytes = std::vector<uint8_t>;

inline void AppendInt32(Bytes &bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes.push_back(uint8_t(value >> (8 * i)));
}

inline void AppendCounted(Bytes &bytes, const std::string &text) {
  bytes.push_back(uint8_t(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
}

inline uint32_t ReadInt32At(const uint8_t *bytes) {
  uint32_t value;
  std::memcpy(&value, bytes, 4);
  return value;
}

// Emits i386 instructions; the operand of each patchable instruction is a
// site whose offset is returned.
class CodeAssembler {
public:
  int32_t PushImmediate(uint32_t value) { return Operand(0x68, value); }
  int32_t CallRelative(uint32_t chainValue = 0) { return Operand(0xE8, chainValue); }
  int32_t MoveToEax(uint32_t value) { return Operand(0xB8, value); }
  void CallEax() { Emit({0xFF, 0xD0}); }
  void PushEax() { Emit({0x50}); }
  void DropArguments(uint8_t bytes) { Emit({0x83, 0xC4, bytes}); }
  void Return() { Emit({0xC3}); }
  void Emit(std::initializer_list<uint8_t> bytes) {
    for (uint8_t byte : bytes)
      mCode.push_back(byte);
  }

  // Links the sites into an import chain: each holds the next, the last 0.
  void Chain(const std::vector<int32_t> &sites) {
    for (size_t i = 0; i < sites.size(); ++i)
      Set(sites[i], i + 1 < sites.size() ? uint32_t(sites[i + 1]) : 0);
  }
  void Set(int32_t site, uint32_t value) { std::memcpy(&mCode[size_t(site)], &value, 4); }

  const Bytes &Code() const { return mCode; }

private:
  int32_t Operand(uint8_t opcode, uint32_t value) {
    mCode.push_back(opcode);
    auto site = int32_t(mCode.size());
    AppendInt32(mCode, value);
    return site;
  }
  Bytes mCode;
};

class FixupStream {
public:
  void RuntimeImport(uint8_t mode, int32_t firstSite, const std::string &name) {
    mBytes.push_back(kImportRuntimeFunction);
    mBytes.push_back(mode);
    AppendInt32(mBytes, uint32_t(firstSite));
    AppendName(name);
  }
  void DataAddress(int32_t site) { Site(kFixupDataAddress, site); }
  void CodeAddress(int32_t site) { Site(kFixupCodeAddress, site); }
  void StringConstant(int32_t site) { Site(kFixupStringConstant, site); }
  void LibraryImport(int32_t firstSite, const std::string &symbol, const std::string &library) {
    mBytes.push_back(kImportLibraryFunction);
    AppendInt32(mBytes, uint32_t(firstSite));
    AppendName(symbol);
    AppendName(library);
  }
  void Tag(uint8_t tag) { mBytes.push_back(tag); }
  const Bytes &Stream() const { return mBytes; }

private:
  void Site(uint8_t tag, int32_t site) {
    mBytes.push_back(tag);
    AppendInt32(mBytes, uint32_t(site));
  }
  void AppendName(const std::string &name) {
    AppendCounted(mBytes, name);
    mBytes.push_back(0);
  }
  Bytes mBytes;
};

// A string constant as the producer lays it out: count 1, the given buffer
// field, buffer size, length, encoding, then the counted, terminated text.
// Answers its data offset (4-byte aligned).
inline uint32_t AppendStringConstant(Bytes &data, const std::string &text,
                                     uint32_t bufferField = 0) {
  while (data.size() % IMAGE_STRING_ALIGNMENT)
    data.push_back(0);
  auto offset = uint32_t(data.size());
  data.resize(offset + IMAGE_STRING_STORAGE_SIZE);
  auto field = [&](uint32_t at, uint32_t value) { std::memcpy(&data[offset + at], &value, 4); };
  field(IMAGE_STRING_REFERENCE_COUNT_OFFSET, 1);
  field(IMAGE_STRING_BUFFER_OFFSET, bufferField);
  field(IMAGE_STRING_BUFFER_SIZE_OFFSET, uint32_t(text.size() + 2));
  field(IMAGE_STRING_LENGTH_OFFSET, uint32_t(text.size()));
  field(IMAGE_STRING_ENCODING_OFFSET, IMAGE_ENCODING_ASCII);
  AppendCounted(data, text);
  data.push_back(0);
  return offset;
}

inline void AppendResource(Bytes &section, const char (&type)[5], uint16_t id, const Bytes &body) {
  AppendInt32(section, uint32_t(uint8_t(type[0])) << 24 | uint32_t(uint8_t(type[1])) << 16 |
                           uint32_t(uint8_t(type[2])) << 8 | uint8_t(type[3]));
  section.push_back(uint8_t(id));
  section.push_back(uint8_t(id >> 8));
  AppendInt32(section, 0);
  AppendInt32(section, uint32_t(body.size()));
  section.insert(section.end(), body.begin(), body.end());
}

// One square icon whose every pixel is the given RGBA value.
inline void AppendIconOption(Bytes &options, uint8_t size, uint32_t rgba) {
  options.push_back(1);
  options.push_back(size);
  options.push_back(size);
  for (int i = 0; i < size * size; ++i)
    for (int shift : {24, 16, 8, 0})
      options.push_back(uint8_t(rgba >> shift));
}

inline void AppendVersionOption(Bytes &options, std::initializer_list<int32_t> integers,
                                std::initializer_list<std::string> texts) {
  options.push_back(2);
  for (int32_t value : integers)
    AppendInt32(options, uint32_t(value));
  for (const std::string &text : texts)
    AppendCounted(options, text);
}

// One member per section, named as IMAGE_SECTIONS names them.
struct ImageParts {
  Bytes code, data, imports, symbols, resources, options;
};

// The sections with their sizes, the back distance and the trailer, to be
// appended behind an executable's bytes.
inline Bytes TrailerImage(const ImageParts &parts) {
  Bytes image;
#define APPEND_SECTION(Name, member, description, looseFile)                                       \
  AppendInt32(image, uint32_t(parts.member.size()));                                               \
  image.insert(image.end(), parts.member.begin(), parts.member.end());
  IMAGE_SECTIONS(APPEND_SECTION)
#undef APPEND_SECTION
  AppendInt32(image, uint32_t(image.size()));
  for (char c : std::string(IMAGE_TRAILER_TEXT))
    image.push_back(uint8_t(c));
  return image;
}
