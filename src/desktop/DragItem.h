// The DragItem class of the language: one or more items, each with bounds
// and typed entries (text, picture, folder item, typed raw data), which a
// control or window drags and a drop handler receives.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"
#include "windows/DesktopServices.h" // DragItemClass, formNewDragItem, controlNewDragItem

// Entry types, four-character codes stored big-endian.
constexpr int32_t kDragTextType = 0x54455854;   // 'TEXT': the string value
constexpr int32_t kDragPictureType = 0x50494354; // 'PICT': the picture
constexpr int32_t kDragFolderType = 0x464F4C44;  // 'FOLD': the folder item
constexpr int32_t kDragMacDataType = 0x4D414344; // 'MACD': data type + raw data

// The bounds of an item before the last one.
struct DragBoundsRecord {
  DragBoundsRecord *next;
  int32_t item;
  QV::Rect bounds;
};

struct DragEntry {
  DragEntry *next;
  int32_t item;
  int32_t type;
  stringStorage *text;     // 'TEXT' and 'MACD'
  RuntimeObject *picture;  // 'PICT'
  RuntimeObject *folder;   // 'FOLD'
};

struct DragItemObject {
  RuntimeObject header;
  RuntimeObject *mouseCursor;
  int32_t currentItem;
  int32_t itemCount;
  DragBoundsRecord *bounds; // every item but the last, in item order
  DragEntry *entries;       // newest first
  QV::Rect lastBounds;
  int32_t reserved[8];
  RuntimeObject *destination; // nothing sets it on this platform
};
static_assert(sizeof(DragItemObject) == 88);
static_assert(offsetof(DragItemObject, mouseCursor) == 24);
static_assert(offsetof(DragItemObject, currentItem) == 28);
static_assert(offsetof(DragItemObject, itemCount) == 32);
static_assert(offsetof(DragItemObject, bounds) == 36);
static_assert(offsetof(DragItemObject, entries) == 40);
static_assert(offsetof(DragItemObject, lastBounds) == 44);
static_assert(offsetof(DragItemObject, destination) == 84);

inline DragItemObject *AsDragItem(RuntimeObject *object) {
  return reinterpret_cast<DragItemObject *>(object);
}

// The class's constructor (one item) and destructor (releases the cursor and
// every entry's value, frees the records).
void DragItemConstructor(RuntimeObject *object);
void DragItemDestructor(RuntimeObject *object);

// The current item's entry of the type (for 'MACD', the one whose data type
// equals dataType, letter case ignored; an empty dataType takes the first);
// with create, a new empty entry when there is none. Nil for a nil item.
DragEntry *GetDragItemEntry(RuntimeObject *dragItem, int32_t type, bool create,
                            const string &dataType);
// Calls visit with each item's bounds in item order (the earlier items, then
// the last); visit may change them.
template <typename Visit>
void ForEachDragBounds(DragItemObject *item, Visit visit) {
  for (DragBoundsRecord *r = item->bounds; r; r = r->next)
    visit(r->bounds);
  visit(item->lastBounds);
}

extern "C" {
// A new DragItem (one reference) of one item with those bounds.
RuntimeObject *CreateNewDragItem(int32_t left, int32_t top, int32_t width, int32_t height);
int32_t BuildDragReceived(void *pane);

stringStorage *dragItemTextGetter(RuntimeObject *item);
void dragItemTextSetter(RuntimeObject *item, int32_t, stringStorage *text);
RuntimeObject *dragItemPictureGetter(RuntimeObject *item);
void dragItemPictureSetter(RuntimeObject *item, int32_t, RuntimeObject *picture);
RuntimeObject *dragItemFolderItemGetter(RuntimeObject *item);
void dragItemFolderItemSetter(RuntimeObject *item, int32_t, RuntimeObject *folder);
int32_t dragItemDropLeft(RuntimeObject *item);
int32_t dragItemDropTop(RuntimeObject *item);
int32_t dragItemDropWidth(RuntimeObject *item);
int32_t dragItemDropHeight(RuntimeObject *item);

int32_t DragItemTextAvailable(RuntimeObject *item);
int32_t DragItemPictureAvailable(RuntimeObject *item);
int32_t DragItemFolderItemAvailable(RuntimeObject *item);
int32_t DragItemMacDataAvailable(RuntimeObject *item, stringStorage *macType);
stringStorage *DragItemGetMacData(RuntimeObject *item, stringStorage *macType);
void DragItemSetMacData(RuntimeObject *item, stringStorage *macType, stringStorage *value);
void DragItemSetPrivateMacData(RuntimeObject *item, stringStorage *macType, stringStorage *value);
int32_t DragItemNextItem(RuntimeObject *item);
void DragItemAddItem(RuntimeObject *item, int32_t left, int32_t top, int32_t width, int32_t height);
void DragItemDrag(RuntimeObject *item);
}
