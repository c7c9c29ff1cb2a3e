#include "desktop/ClipboardPictureBuffer.h"

#include <cstring>

namespace {

uint8_t *sBuffer = nullptr;

ClipboardPictureHeader ReadHeader(const uint8_t *bytes) {
  ClipboardPictureHeader header;
  memcpy(&header, bytes, sizeof header);
  return header;
}

void Replace(uint8_t *buffer) {
  delete[] sBuffer;
  sBuffer = buffer;
}

} // namespace

bool IsWellFormedPictureBuffer(const uint8_t *bytes, int64_t length) {
  if (!bytes || length < kPictureHeaderSize)
    return false;
  ClipboardPictureHeader header = ReadHeader(bytes);
  if (header.totalSize != length || header.width <= 0 || header.height <= 0)
    return false;
  // 64-bit products: no header can overflow them.
  if (static_cast<int64_t>(header.rowStride) < 3 * static_cast<int64_t>(header.width))
    return false;
  return kPictureHeaderSize + static_cast<int64_t>(header.rowStride) * header.height == length;
}

const uint8_t *ClipboardPictureBuffer() { return sBuffer; }

void SetClipboardPictureBuffer(int32_t width, int32_t height, int32_t rowStride,
                               const uint8_t *rows) {
  int64_t total = kPictureHeaderSize + static_cast<int64_t>(rowStride) * height;
  if (width <= 0 || height <= 0 || rowStride < 3 * static_cast<int64_t>(width) ||
      total > INT32_MAX)
    return;
  auto *buffer = new uint8_t[total];
  ClipboardPictureHeader header{static_cast<int32_t>(total), rowStride, height, width};
  memcpy(buffer, &header, sizeof header);
  memcpy(buffer + kPictureHeaderSize, rows, total - kPictureHeaderSize);
  Replace(buffer);
}

bool AdoptClipboardPictureReply(const uint8_t *bytes, int64_t length) {
  if (!IsWellFormedPictureBuffer(bytes, length))
    return false;
  auto *buffer = new uint8_t[length];
  memcpy(buffer, bytes, length);
  Replace(buffer);
  return true;
}

void ClearClipboardPictureBuffer() { Replace(nullptr); }
