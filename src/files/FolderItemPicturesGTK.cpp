// Picture and sound files of folder items on POSIX paths: BMP files read by
// the drawing library's decoder and written here, XPM files read by the
// reader beside this file, and sound files handed to the sound subsystem by
// their path.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <vector>

#include <gdk/gdk.h>

#include "files/FolderItemImpUnix.h"
#include "files/XPMReader.h"
#include "foundation/ByteOrder.h"
#include "graphics/DrawablePaneGTK.h"
#include "graphics/PictureObject.h"
#include "graphics/PicturePixels.h"
#include "graphics/PictureServices.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/exceptions/ExceptionClasses.h"

namespace {

constexpr int32_t kBMPFormat = 350;
constexpr int32_t kXPMFormat = 400;
constexpr int32_t kDefaultRasterFormat = 4;
constexpr int kBMPHeaderSize = 54;
constexpr int kBMPResolution = 96;
// A picture file larger than this is not read into memory.
constexpr off_t kLargestPictureFile = 256L * 1024 * 1024;

void RaiseUnsupported(const char *member, int32_t format, const char *ending) {
  string message(member);
  message += " doesn't support format ";
  message += string(std::to_string(uint32_t(format)).c_str());
  message += ending;
  RaiseExceptionClassWMessage(UnsupportedFormatExceptionClass(), message, 0);
}

// The first bytes of the file; fewer (or none) when it is shorter or cannot
// be read.
std::string FirstBytes(const string &path, size_t count) {
  std::string bytes(count, '\0');
  const int file = open(path.CString(), O_RDONLY | O_CLOEXEC);
  if (file < 0)
    return std::string();
  const ssize_t got = read(file, bytes.data(), count);
  close(file);
  bytes.resize(got > 0 ? size_t(got) : 0);
  return bytes;
}

// The whole of a regular file, or nothing: a file that is not regular, whose
// length is unknown or too large, or that reads short is refused.
bool ReadWholeFile(const string &path, std::vector<char> &bytes) {
  const int file = open(path.CString(), O_RDONLY | O_CLOEXEC);
  if (file < 0)
    return false;
  struct stat info;
  bool ok = fstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
            info.st_size <= kLargestPictureFile;
  if (ok) {
    bytes.resize(size_t(info.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = read(file, bytes.data() + got, bytes.size() - got);
      if (n <= 0)
        break;
      got += size_t(n);
    }
    ok = got == bytes.size();
  }
  close(file);
  return ok;
}

DrawablePane *NewPane(int32_t width, int32_t height) {
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, int16_t(width), int16_t(height));
  auto *pane = new DrawablePane(bounds, 24, 0);
  if (!pane->GetPixmap()) {
    pane->removeReference();
    return nullptr;
  }
  return pane;
}

RuntimeObject *OpenBMP(const string &path) {
  std::vector<char> bytes;
  if (!ReadWholeFile(path, bytes))
    return nullptr;
  DrawablePane *pane = GetBitmapFromMemory(bytes.data(), bytes.size());
  return pane ? NewPictureFromDrawable(pane) : nullptr;
}

// An XPM file, read whole and decoded here (the system's picture loaders no
// longer read XPM), drawn into a depth-24 offscreen image.
RuntimeObject *OpenXPM(const string &path) {
  std::vector<char> bytes;
  XPMImage image;
  if (!ReadWholeFile(path, bytes) || !DecodeXPM(std::string(bytes.begin(), bytes.end()), image))
    return nullptr;
  DrawablePane *pane = NewPane(image.width, image.height);
  if (!pane)
    return nullptr;
  gdk_draw_rgb_image(pane->GetPixmap(), pane->GetGC(), 0, 0, image.width, image.height,
                     GDK_RGB_DITHER_NONE, image.rgb.data(), image.width * 3);
  return NewPictureFromDrawable(pane);
}

void PutLittle32(unsigned char *at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    at[i] = uint8_t(value >> (8 * i));
}

void PutLittle16(unsigned char *at, uint16_t value) {
  at[0] = uint8_t(value);
  at[1] = uint8_t(value >> 8);
}

} // namespace

int32_t FolderItemImpUnix::GetPictureFormat() {
  const int length = mPath.Length();
  if (length >= 4 && right(mPath, 4).EqualsIgnoringCase(string(".xpm")))
    return kXPMFormat;
  return FirstBytes(mPath, 2) == "BM" ? kBMPFormat : 0;
}

bool FolderItemImpUnix::IsValidSoundFormat() {
  const std::string start = FirstBytes(mPath, 4);
  return start == "RIFF" || start == "FORM";
}

RuntimeObject *FolderItemImpUnix::OpenAsImage(eOpenPictureFormat format) {
  if (format != kOpenPictureRaster) {
    RaiseUnsupported("OpenAsPicture", format, " in Linux");
    return nullptr;
  }
  switch (GetPictureFormat()) {
  case kBMPFormat:
    return OpenBMP(mPath);
  case kXPMFormat:
    return OpenXPM(mPath);
  default:
    return nullptr;
  }
}

bool FolderItemImpUnix::SaveAsPicture(RuntimeObject *picture, ePictureFormat format) {
  if (format != kSaveAsMostCompatible && format != kDefaultRasterFormat && format != kBMPFormat) {
    RaiseUnsupported("SaveAsPicture", format, " in Linux.");
    return false;
  }
  Drawable *image = picture ? reinterpret_cast<PictureObject *>(picture)->image : nullptr;
  if (!image)
    return false;
  // The pixels first: a picture that has none leaves the file alone.
  int32_t width = 0, height = 0;
  image->getSize(&width, &height);
  if (width <= 0 || height <= 0)
    return false;
  std::vector<uint32_t> pixels(size_t(width) * size_t(height));
  if (!ReadDrawablePixels(image, width, height, pixels.data()))
    return false;

  const uint32_t rowLength = (uint32_t(width) * 3 + 3) & ~3u;
  unsigned char header[kBMPHeaderSize] = {'B', 'M'};
  PutLittle32(header + 2, rowLength * uint32_t(height) + kBMPHeaderSize);
  PutLittle32(header + 10, kBMPHeaderSize);
  PutLittle32(header + 14, 40);
  PutLittle32(header + 18, uint32_t(width));
  PutLittle32(header + 22, uint32_t(height));
  PutLittle16(header + 26, 1);
  PutLittle16(header + 28, 24);
  PutLittle32(header + 38, kBMPResolution);
  PutLittle32(header + 42, kBMPResolution);

  std::unique_ptr<RandomAccessMechanism> file(CreateFile(string("image/bitmap")));
  if (!file)
    return false;
  bool ok = file->WriteData(header, sizeof header);
  std::vector<unsigned char> row(rowLength, 0);
  for (int32_t y = height - 1; ok && y >= 0; --y) {
    const uint32_t *source = pixels.data() + size_t(y) * size_t(width);
    for (int32_t x = 0; x < width; ++x) {
      row[size_t(x) * 3] = uint8_t(source[x]);
      row[size_t(x) * 3 + 1] = uint8_t(source[x] >> 8);
      row[size_t(x) * 3 + 2] = uint8_t(source[x] >> 16);
    }
    ok = file->WriteData(row.data(), long(rowLength));
  }
  // Buffered writes fail late: the close reports them too.
  const bool closed = file->Close();
  if (!(ok && closed))
    mLastError = file->mLastError;
  return ok && closed;
}

RuntimeObject *FolderItemImpUnix::OpenAsSound() {
  return IsValidSoundFormat() ? NewSoundForFile(mPath, 0) : nullptr;
}
