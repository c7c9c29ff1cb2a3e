// The one picture buffer of the process behind the Clipboard class: the
// picture the program put on the CLIPBOARD selection, or the last well-formed
// picture another copy of the program offered. Its bytes are also what is
// exchanged on the selection's PIXMAP target:
//   int32 total size (16 + rowstride * height), int32 rowstride,
//   int32 height, int32 width, then the RGB rows, top row first,
// the four integers in native byte order.
#pragma once
#include <cstdint>

constexpr int32_t kPictureHeaderSize = 16;

struct ClipboardPictureHeader {
  int32_t totalSize;
  int32_t rowStride;
  int32_t height;
  int32_t width;
};
static_assert(sizeof(ClipboardPictureHeader) == kPictureHeaderSize);

// True when the bytes are a picture buffer whose header tells the truth: at
// least the header, the total size equal to the length, positive width and
// height, rows wide enough for three bytes a pixel, and exactly the rows the
// header promises.
bool IsWellFormedPictureBuffer(const uint8_t *bytes, int64_t length);

// The buffer, or nil when there is none; its header gives its size.
const uint8_t *ClipboardPictureBuffer();
// Replaces the buffer by a copy of a picture's rows (rowStride bytes each).
void SetClipboardPictureBuffer(int32_t width, int32_t height, int32_t rowStride,
                               const uint8_t *rows);
// Keeps a copy of the bytes when they are well formed; answers whether it did.
bool AdoptClipboardPictureReply(const uint8_t *bytes, int64_t length);
void ClearClipboardPictureBuffer();
