// The fixed answers of the picture-file functions.
#include "graphics/PictureFiles.h"

#include "foundation/AssertionAlert.h"
#include "graphics/Shapes2D.h"
#include "runtime/objects/ClassLookup.h"

namespace {

constexpr char kPictureFilesSource[] = "Common/pictutil";
constexpr AlertSite kFolderItemAlert{kPictureFilesSource, 472, "folderItem"};
constexpr AlertSite kTempFileAlert{kPictureFilesSource, 473, "tempFile"};

} // namespace

RuntimeObject *MakeGroup2DWhenDrawing::mGroup = nullptr;

bool IsQT25Installed() { return false; }
bool IsQT30Installed() { return false; }

Drawable *LoadJPEGFromSpec(const string &) { return nullptr; }
Drawable *LoadPictureFromSpec(const string &, int32_t) { return nullptr; }

RuntimeObject *LoadVectorPictureFromSpec(const string &, int32_t *, int32_t *) { return nullptr; }

bool ConvertFileToBMP(FolderItemImp *item, FolderItemImp **tempFile) {
  if (!item)
    ShowAlert(kFolderItemAlert);
  if (!tempFile)
    ShowAlert(kTempFileAlert);
  return false;
}

MakeGroup2DWhenDrawing::MakeGroup2DWhenDrawing() {
  RuntimeObject *old = mGroup;
  mGroup = CreateInstance(Group2DClass());
  RuntimeUnlockObject(old);
}
