// What the virtual-volume tests share: a byte stream in memory that can be
// made to stop writing after a given number of writes (the first half of the
// last one landing, if asked), a builder of volume files byte by byte for any
// format version, and a checker that opens a volume and walks all of it.
#pragma once
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "foundation/ByteOrder.h"
#include "foundation/RandomAccessMechanism.h"
#include "foundation/VFSVolume.h"
#include "foundation/VFile.h"
#include "foundation/VHFSVolume.h"

class MemoryStream final : public RandomAccessMechanism {
public:
  explicit MemoryStream(std::string bytes = std::string()) : mBytes(std::move(bytes)) {}

  // Lets `writes` more writes (and length changes) through; with half, the
  // last of them writes only its first half. Every later one fails, as if the
  // writer had been killed there.
  void StopAfter(int64_t writes, bool half) {
    mWritesLeft = writes;
    mHalf = half;
  }
  bool Stopped() const { return mWritesLeft == 0; }
  void Resume() { mWritesLeft = -1; }
  int64_t WriteCount() const { return mWriteCount; }
  const std::string &Bytes() const { return mBytes; }

  bool ReadData(void *buffer, long count, long &got) override {
    got = 0;
    if (count < 0 || mPosition >= static_cast<int64_t>(mBytes.size()))
      return false;
    const int64_t available = static_cast<int64_t>(mBytes.size()) - mPosition;
    got = static_cast<long>(count < available ? count : available);
    std::memcpy(buffer, mBytes.data() + mPosition, got);
    mPosition += got;
    return got > 0 || count == 0;
  }
  bool WriteData(const void *buffer, long count) override {
    if (count < 0 || !TakeWrite())
      return false;
    long written = count;
    const bool last = mWritesLeft == 0;
    if (last && mHalf)
      written = count / 2;
    if (mPosition + written > static_cast<int64_t>(mBytes.size()))
      mBytes.resize(mPosition + written);
    std::memcpy(&mBytes[mPosition], buffer, written);
    mPosition += written;
    return !(last && mHalf);
  }
  bool Close() override { return true; }
  bool IsEOF() override { return mPosition >= static_cast<int64_t>(mBytes.size()); }
  bool SeekFromStart(long offset) override {
    if (offset < 0)
      return false;
    mPosition = offset;
    return true;
  }
  long GetLength() override { return static_cast<long>(mBytes.size()); }
  bool SetLength(long length) override {
    if (length < 0 || !TakeWrite() || (mWritesLeft == 0 && mHalf))
      return false;
    mBytes.resize(length);
    return true;
  }
  long GetPosition() override { return static_cast<long>(mPosition); }

private:
  bool TakeWrite() {
    if (mWritesLeft == 0)
      return false;
    ++mWriteCount;
    if (mWritesLeft > 0)
      --mWritesLeft;
    return true;
  }

  std::string mBytes;
  int64_t mPosition = 0;
  int64_t mWritesLeft = -1; // unlimited
  bool mHalf = false;
  int64_t mWriteCount = 0;
};

// Volume files built byte by byte, for versions the code no longer writes and
// for damage no code would write.
class VolumeBuilder {
public:
  explicit VolumeBuilder(uint32_t version) : mVersion(version) {
    PutBE(0x56465376);
    PutBE(version);
  }
  // Appends a block; answers its start. Data is padded to dataSize.
  uint32_t Block(uint32_t idnum, uint32_t sequence, const std::string &data, double next = 0,
                 int32_t dataSize = -1) {
    const uint32_t start = static_cast<uint32_t>(mBytes.size());
    const int32_t size = dataSize < 0 ? static_cast<int32_t>(data.size()) : dataSize;
    PutBE(0x426C6B53);
    PutBE(idnum);
    PutBE(sequence);
    PutHeaderDouble(size + 32.0);
    PutHeaderDouble(next);
    std::string padded = data;
    padded.resize(size, '\0');
    mBytes += padded;
    PutBE(0x426C6B45);
    return start;
  }
  // The 256-byte object header (and a folder's child list) in this version's
  // order for typed values.
  std::string Object(double dataLength, uint32_t type, uint32_t parent, const std::string &name,
                     const std::vector<uint32_t> &children = {}, bool folder = false) const {
    std::string out;
    PutTypedDouble(out, dataLength);
    PutTyped(out, type);
    PutTyped(out, parent);
    PutTypedDouble(out, 0);
    PutTypedDouble(out, 0);
    std::string field = name;
    field.resize(224, '\0');
    out += field;
    if (folder) {
      PutTyped(out, static_cast<uint32_t>(children.size()));
      for (uint32_t child : children)
        PutTyped(out, child);
    }
    return out;
  }
  static std::string Metadata(uint32_t nextIdnum, const std::string &mapRecord = std::string()) {
    std::string out;
    AppendBE(out, nextIdnum);
    AppendBE(out, static_cast<uint32_t>(mapRecord.size()));
    return out + mapRecord;
  }
  static std::string MapRecord(const std::vector<std::vector<uint32_t>> &entries) {
    std::string out;
    AppendBE(out, 0x424D6170);
    AppendBE(out, static_cast<uint32_t>(entries.size()));
    for (const auto &entry : entries)
      for (uint32_t value : entry)
        AppendBE(out, value);
    return out;
  }
  std::string Bytes() const { return mBytes; }
  // Where the next block will start.
  uint32_t End() const { return static_cast<uint32_t>(mBytes.size()); }

  static void AppendBE(std::string &out, uint32_t value) {
    char bytes[4];
    nstorelong(bytes, value);
    out.append(bytes, 4);
  }

private:
  void PutBE(uint32_t value) { AppendBE(mBytes, value); }
  void PutHeaderDouble(double value) {
    char bytes[8];
    std::memcpy(bytes, &value, 8);
    if (mVersion >= 2)
      swapBytes(bytes, 8);
    mBytes.append(bytes, 8);
  }
  template <typename Value>
  void PutTypedValue(std::string &out, Value value) const {
    char bytes[sizeof(Value)];
    std::memcpy(bytes, &value, sizeof bytes);
    if (mVersion >= 3)
      swapBytes(bytes, sizeof bytes);
    out.append(bytes, sizeof bytes);
  }
  void PutTyped(std::string &out, uint32_t value) const { PutTypedValue(out, value); }
  void PutTypedDouble(std::string &out, double value) const { PutTypedValue(out, value); }

  uint32_t mVersion;
  std::string mBytes;
};

// The contents of a file object as a string ("" when it cannot be opened).
// Read in pieces, so that a damaged length costs no more than the data.
inline std::string ReadAll(VHFSVolume &volume, const VFileRef &ref, bool *ok = nullptr) {
  VFile *file = volume.OpenFile(ref);
  if (ok)
    *ok = file != nullptr;
  if (!file)
    return std::string();
  std::string out;
  char piece[65536];
  long got = 0;
  bool read = true;
  while (read && static_cast<long>(out.size()) < file->GetLength()) {
    read = file->ReadData(piece, sizeof piece, got) && got > 0;
    out.append(piece, read ? got : 0);
  }
  if (ok)
    *ok = read && static_cast<long>(out.size()) == file->GetLength();
  delete file;
  return out;
}

inline bool WriteAll(VHFSVolume &volume, const VFileRef &ref, const std::string &bytes) {
  VFile *file = volume.OpenFile(ref);
  if (!file)
    return false;
  const bool ok = file->WriteData(bytes.data(), bytes.size());
  delete file;
  return ok;
}

// What one volume holds, path by path: "d/" for a folder, "f=<bytes>" for a
// file; found by walking from the root.
struct VolumeListing {
  std::vector<std::pair<std::string, std::string>> entries;
  bool Has(const std::string &path) const {
    for (const auto &entry : entries)
      if (entry.first == path)
        return true;
    return false;
  }
  std::string Contents(const std::string &path) const {
    for (const auto &entry : entries)
      if (entry.first == path)
        return entry.second;
    return "<missing>";
  }
};

// Opens the bytes as a volume and checks what must hold after any crash:
// the volume is valid; every walk ends; no object is listed twice; no block
// belongs to two objects; each file reads to its length; and a new file can
// be written and read back. Answers "" or the first problem found.
std::string CheckVolume(const std::string &bytes, VolumeListing *listing = nullptr);
