#include "foundation/FileStreams.h"

#include <vector>

namespace {

bool HasMechanism(const RandomAccessMechanism *mechanism, const AlertSite &site) {
  return mechanism || ShowAlert(site);
}

// Bytes of a string are read this much at a time, so that a length taken
// from the data cannot make us allocate more than the data holds.
constexpr long kStringChunk = 64 * 1024;

} // namespace

int OutputStream::SetEncryption(int on) {
  return HasMechanism(mMechanism, kOutputSetEncryptionAlert) ? mMechanism->SetEncryption(on) : 0;
}

bool OutputStream::WriteData(const void *buffer, long count) {
  return HasMechanism(mMechanism, kOutputWriteDataAlert) && mMechanism->WriteData(buffer, count);
}

bool OutputStream::WriteByte(int value) {
  return HasMechanism(mMechanism, kOutputWriteByteAlert) && mMechanism->WriteByte(value);
}

bool OutputStream::WriteShort(int value) {
  return HasMechanism(mMechanism, kOutputWriteShortAlert) && mMechanism->WriteShort(value);
}

bool OutputStream::WriteLong(int value) {
  return HasMechanism(mMechanism, kOutputWriteLongAlert) && mMechanism->WriteLong(value);
}

bool OutputStream::WriteLine(const string &text) {
  return HasMechanism(mMechanism, kOutputWriteLineAlert) &&
         mMechanism->WriteLine(ConvertEncoding(text, mEncoding));
}

bool OutputStream::WriteEncodedInt(int value) {
  return HasMechanism(mMechanism, kOutputWriteDataAlert) && mMechanism->WriteEncodedInt(value);
}

bool OutputStream::WriteEncodedString(const string &text) {
  return WriteEncodedInt(text.Length()) &&
         (text.IsEmpty() || WriteData(text.CString(), text.Length()));
}

int InputStream::SetEncryption(int on) {
  return HasMechanism(mMechanism, kInputSetEncryptionAlert) ? mMechanism->SetEncryption(on) : 0;
}

bool InputStream::ReadData(void *buffer, long count, long &got) {
  got = 0;
  return HasMechanism(mMechanism, kInputReadDataAlert) && mMechanism->ReadData(buffer, count, got);
}

bool InputStream::ReadByte(unsigned char &value) {
  return HasMechanism(mMechanism, kInputReadByteAlert) && mMechanism->ReadByte(value);
}

bool InputStream::ReadShort(short &value) {
  return HasMechanism(mMechanism, kInputReadShortAlert) && mMechanism->ReadShort(value);
}

bool InputStream::ReadLong(int &value) {
  return HasMechanism(mMechanism, kInputReadLongAlert) && mMechanism->ReadLong(value);
}

bool InputStream::ReadEncodedInt(int &value) {
  return HasMechanism(mMechanism, kInputReadDataAlert) && mMechanism->ReadEncodedInt(value);
}

bool InputStream::ReadEncodedShort(short &value) {
  int wide;
  if (!ReadEncodedInt(wide))
    return false;
  value = static_cast<short>(wide);
  return true;
}

bool InputStream::ReadEncodedString(string &text) {
  int length;
  if (!ReadEncodedInt(length))
    return false;
  if (length <= 0) {
    text = string();
    return true;
  }
  std::vector<char> bytes;
  while (static_cast<long>(bytes.size()) < length) {
    long chunk = length - static_cast<long>(bytes.size());
    if (chunk > kStringChunk)
      chunk = kStringChunk;
    size_t start = bytes.size();
    bytes.resize(start + static_cast<size_t>(chunk));
    long got = 0;
    if (!ReadData(bytes.data() + start, chunk, got) || got != chunk)
      return false;
  }
  text.ConstructFromBuffer(bytes.data(), length);
  return true;
}
