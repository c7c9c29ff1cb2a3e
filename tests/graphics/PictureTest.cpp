// The Picture class: pixel and vector pictures, their properties, the packer
// and what a picture leaves behind when it goes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ShapeFixtures.h"
#include "graphics/PictureFiles.h"
#include "graphics/PictureObject.h"
#include "graphics/PictureServices.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/exports/ExportTable.h"
#include "support/AlertRecorder.h"
#include "support/OffscreenPixels.h"

void InitPictureClass();

extern "C" {
RuntimeObject *newPicture(int32_t width, int32_t height, int32_t depth);
int32_t pictureWidthGetter(RuntimeObject *, int32_t);
int32_t pictureHeightGetter(RuntimeObject *, int32_t);
RuntimeObject *pictureGraphicsGetter(RuntimeObject *, int32_t);
RuntimeObject *pictureGroup2DGetter(RuntimeObject *, int32_t);
void pictureGroup2DSetter(RuntimeObject *, int32_t, RuntimeObject *);
int32_t pictureTransparentGetter(RuntimeObject *, int32_t);
RuntimeObject *pictureRGBSurfaceGetter(RuntimeObject *, int32_t);
int32_t pictureImageCountGetter(RuntimeObject *, int32_t);
RuntimeObject *pictureIndexedImage(RuntimeObject *, int32_t);
RuntimeObject *pictureMaskGetter(RuntimeObject *, int32_t);
int32_t PictureDepthGetter(RuntimeObject *, int32_t);
int32_t PictureHResGetter(RuntimeObject *, int32_t);
int32_t PictureVResGetter(RuntimeObject *, int32_t);
int32_t exportPicture(RuntimeObject *);
stringStorage *PicturePacker(RuntimeObject *);
void RuntimeGraphicsFillRect(RuntimeObject *, int32_t, int32_t, int32_t, int32_t);
void graphicsForeColorSetter(RuntimeObject *, int32_t, int32_t);
}

namespace {

class Pictures : public testing::Test {
protected:
  void SetUp() override { SKIP_WITHOUT_DISPLAY(); }
};

DrawablePane *PaneOf(RuntimeObject *picture) {
  return static_cast<DrawablePane *>(reinterpret_cast<PictureObject *>(picture)->image);
}

std::vector<uint8_t> Bytes(stringStorage *s) {
  std::vector<uint8_t> bytes;
  if (s) {
    const char *p = stringStorage::CString(s);
    bytes.assign(p, p + s->mLength);
    stringStorage::RemoveReference(s);
  }
  return bytes;
}

TEST_F(Pictures, PixelAndVectorPicturesAnswerTheirProperties) {
  struct Case {
    int32_t depth;
    int32_t depthRead, imageCount;
    bool hasObjects, hasGraphics;
  } cases[] = {{32, 32, 1, false, true}, {0, 0, 0, true, false}, {-4, 0, 0, true, false}};
  for (const Case &c : cases) {
    RuntimeObject *p = newPicture(100, 50, c.depth);
    ASSERT_NE(p, nullptr) << c.depth;
    EXPECT_EQ(pictureWidthGetter(p, 0), 100);
    EXPECT_EQ(pictureHeightGetter(p, 0), 50);
    EXPECT_EQ(PictureDepthGetter(p, 0), c.depthRead);
    EXPECT_EQ(pictureImageCountGetter(p, 0), c.imageCount);
    EXPECT_EQ(pictureTransparentGetter(p, 0), 0);
    EXPECT_EQ(PictureHResGetter(p, 0), 72);
    EXPECT_EQ(PictureVResGetter(p, 0), 72);
    EXPECT_EQ(pictureRGBSurfaceGetter(p, 0), nullptr) << "no pixel surface here";
    RuntimeObject *objects = pictureGroup2DGetter(p, 0);
    EXPECT_EQ(objects != nullptr, c.hasObjects);
    if (objects) {
      EXPECT_EQ(AsShape(objects)->kind, kGroupKind);
      EXPECT_EQ(Group2DCount(objects), 0);
      EXPECT_EQ(objects->refCount, 2);
    }
    RuntimeUnlockObject(objects);
    RuntimeObject *g1 = pictureGraphicsGetter(p, 0), *g2 = pictureGraphicsGetter(p, 0);
    EXPECT_EQ(g1 != nullptr, c.hasGraphics);
    EXPECT_EQ(g1, g2) << "made once and kept";
    RuntimeObject *m1 = pictureMaskGetter(p, 0), *m2 = pictureMaskGetter(p, 0);
    EXPECT_EQ(m1 != nullptr, c.hasGraphics);
    EXPECT_EQ(m1, m2);
    if (m1) {
      EXPECT_EQ(pictureWidthGetter(m1, 0), 100);
      EXPECT_EQ(pictureHeightGetter(m1, 0), 50);
      EXPECT_EQ(InkCount(PaneOf(m1)), 100 * 50) << "the first mask is black";
      RuntimeObject *page = pictureIndexedImage(p, 0);
      ASSERT_NE(page, nullptr);
      EXPECT_EQ(PaneOf(page), PaneOf(p));
      RuntimeUnlockObject(page);
    } else {
      EXPECT_EQ(pictureIndexedImage(p, 0), nullptr);
    }
    for (RuntimeObject *o : {g1, g2, m1, m2})
      RuntimeUnlockObject(o);
    EXPECT_EQ(exportPicture(p), 0);
    RuntimeUnlockObject(p);
  }
}

TEST_F(Pictures, ImpossiblePixelSizesGiveNil) {
  for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-1, 5}, {40000, 1}, {1, 32768}})
    EXPECT_EQ(newPicture(w, h, 32), nullptr) << w << "x" << h;
  RuntimeObject *edge = newPicture(32767, 1, 32);
  EXPECT_NE(edge, nullptr);
  RuntimeUnlockObject(edge);
}

TEST_F(Pictures, PackedPicturesCarryTheirSizeAndPixels) {
  RuntimeObject *p = newPicture(2, 1, 32);
  Graphics *g = PaneOf(p)->getGraphics();
  QV::RGBColor red{65535, 0, 0}, blue{0, 0, 65535};
  g->setPixel(0, 0, red);
  g->setPixel(1, 0, blue);
  Graphics::Release(g);
  EXPECT_EQ(Bytes(PicturePacker(p)), (std::vector<uint8_t>{2, 0, 0, 0, 1, 0, 0, 0, 0x00, 0x00,
                                                           0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00}));
  RuntimeUnlockObject(p);
  EXPECT_EQ(PicturePacker(nullptr), nullptr);

  // Vector contents are drawn first.
  RuntimeObject *vector = newPicture(3, 2, 0);
  RuntimeObject *group = pictureGroup2DGetter(vector, 0);
  auto *rect = NewShape<RectShape>(RectShapeClass);
  rect->fillColor = 0x00FF00;
  Group2DAppend(group, Obj(rect));
  std::vector<uint8_t> packed = Bytes(PicturePacker(vector));
  ASSERT_EQ(packed.size(), 8u + 4 * 6);
  uint32_t first;
  std::memcpy(&first, &packed[8], 4);
  EXPECT_EQ(first, 0x00FF00u);
  Release(rect);
  RuntimeUnlockObject(group);
  RuntimeUnlockObject(vector);

  RuntimeObject *empty = newPicture(0, 0, 0);
  EXPECT_EQ(Bytes(PicturePacker(empty)).size(), 8u);
  RuntimeUnlockObject(empty);
  RuntimeObject *huge = newPicture(100000, 100000, 0);
  EXPECT_EQ(PicturePacker(huge), nullptr) << "too large to pack";
  RuntimeUnlockObject(huge);
  RuntimeObject *negative = newPicture(-3, 2, 0);
  EXPECT_EQ(PicturePacker(negative), nullptr);
  RuntimeUnlockObject(negative);
}

TEST_F(Pictures, AGraphicsKeptPastItsPictureDrawsNothing) {
  RuntimeObject *p = newPicture(20, 20, 32);
  RuntimeObject *g = pictureGraphicsGetter(p, 0);
  RuntimeObject *page = pictureIndexedImage(p, 0); // keeps the image alive
  RuntimeUnlockObject(p);
  ASSERT_EQ(g->refCount, 1);
  EXPECT_EQ(reinterpret_cast<RuntimeGraphics *>(g)->context->GetPane(), nullptr);
  graphicsForeColorSetter(g, 0, 0);
  RuntimeGraphicsFillRect(g, 0, 0, 20, 20);
  EXPECT_EQ(InkCount(PaneOf(page)), 0);
  RuntimeUnlockObject(g);
  RuntimeUnlockObject(page);
}

TEST_F(Pictures, ResourcesAndShapesTakePictures) {
  QV::Rect bounds = Rect(0, 0, 64, 32);
  RuntimeObject *p = NewPictureFromDrawable(new DrawablePane(bounds, 32, 1));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(pictureWidthGetter(p, 0), 64);
  EXPECT_EQ(pictureHeightGetter(p, 0), 32);

  auto *pixmap = NewShape<PixmapShape>(PixmapShapeClass);
  PixmapShapeImageCtor(Obj(pixmap), p);
  EXPECT_EQ(pixmap->image, p);
  EXPECT_EQ(p->refCount, 2);
  EXPECT_EQ(pixmap->width, 64);
  EXPECT_EQ(pixmap->height, 32);
  EXPECT_EQ(pixmap->sourceWidth, 64);
  EXPECT_EQ(pixmap->sourceHeight, 32);
  EXPECT_EQ(pixmap->sourceLeft, 0);
  Release(pixmap);
  EXPECT_EQ(p->refCount, 1);

  RuntimeObject *vector = newPicture(10, 10, 0);
  auto *empty = NewShape<PixmapShape>(PixmapShapeClass);
  PixmapShapeImageCtor(Obj(empty), vector);
  EXPECT_EQ(empty->image, nullptr);
  EXPECT_EQ(empty->width, 0);
  Release(empty);
  RuntimeUnlockObject(vector);
  RuntimeUnlockObject(p);
}

TEST(PictureFiles, GiveTheirFixedAnswers) {
  AlertRecorder alerts;
  const string spec("/tmp/picture.jpg");
  int32_t w = 7, h = 9;
  struct Case {
    const char *what;
    bool answer;
  } cases[] = {
      {"IsQT25Installed", IsQT25Installed()},
      {"IsQT30Installed", IsQT30Installed()},
      {"LoadJPEGFromSpec", LoadJPEGFromSpec(spec) != nullptr},
      {"LoadPictureFromSpec", LoadPictureFromSpec(spec, 0) != nullptr},
      {"LoadVectorPictureFromSpec", LoadVectorPictureFromSpec(spec, &w, &h) != nullptr},
      {"ConvertFileToBMP", ConvertFileToBMP(nullptr, nullptr)},
  };
  for (const Case &c : cases)
    EXPECT_FALSE(c.answer) << c.what;
  EXPECT_EQ(w, 7) << "the outputs are not written";
  EXPECT_EQ(h, 9);
  ASSERT_EQ(alerts.count(), 2u) << "one alert for each missing argument";
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], {"Common/pictutil", 472, "folderItem"}));
  EXPECT_TRUE(ShownAt(alerts.alerts()[1], {"Common/pictutil", 473, "tempFile"}));

  QT4DrawablePageProvider pages(spec, 3);
  EXPECT_EQ(pages.getPageCount(), 3);
  EXPECT_EQ(pages.getPage(1), nullptr);

  // Each instance keeps a new empty group in place of the last one.
  RuntimeObject *first = (MakeGroup2DWhenDrawing(), MakeGroup2DWhenDrawing::mGroup);
  ASSERT_NE(first, nullptr);
  RuntimeLockObject(first);
  MakeGroup2DWhenDrawing second;
  EXPECT_NE(MakeGroup2DWhenDrawing::mGroup, first);
  EXPECT_EQ(first->refCount, 1) << "the replaced group is released";
  EXPECT_EQ(Group2DCount(MakeGroup2DWhenDrawing::mGroup), 0);
  RuntimeUnlockObject(first);
}

TEST_F(Pictures, StartUpExportsThePacker) {
  InitPictureClass();
  const RelocEntry *entry = resolveRelocEntry("PicturePacker");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->address, reinterpret_cast<void *>(PicturePacker));
}

} // namespace
