// Picture files of formats and media frameworks this platform does not have:
// each function gives its fixed answer (no picture, false), so callers take
// their "cannot read it" paths.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "graphics/Drawable.h"

class FolderItemImp;
struct RuntimeObject;

bool IsQT25Installed();
bool IsQT30Installed();
// No picture: nil.
Drawable *LoadJPEGFromSpec(const string &spec);
Drawable *LoadPictureFromSpec(const string &spec, int32_t page);
// No picture: nil, and width and height are left as they were.
RuntimeObject *LoadVectorPictureFromSpec(const string &spec, int32_t *width, int32_t *height);
// False; an assertion alert for a missing argument.
bool ConvertFileToBMP(FolderItemImp *item, FolderItemImp **tempFile);

// While drawn into, vector drawing collects into one class-wide empty group:
// each new instance replaces it.
class MakeGroup2DWhenDrawing {
public:
  MakeGroup2DWhenDrawing();
  ~MakeGroup2DWhenDrawing() = default;
  MakeGroup2DWhenDrawing(const MakeGroup2DWhenDrawing &) = delete;
  MakeGroup2DWhenDrawing &operator=(const MakeGroup2DWhenDrawing &) = delete;

  static RuntimeObject *mGroup;
};

// The pages of a multi-page picture file: the count it was made with, and
// no page for any index.
class QT4DrawablePageProvider : public DrawablePageProvider {
public:
  QT4DrawablePageProvider(const string &spec, int32_t pageCount)
      : mSpec(spec), mPageCount(pageCount) {}
  int32_t getPageCount() override { return mPageCount; }
  Drawable *getPage(int32_t index) override { return LoadPictureFromSpec(mSpec, index); }

private:
  string mSpec;
  int32_t mPageCount;
};
