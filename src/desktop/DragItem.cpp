#include "desktop/DragItem.h"

#include "graphics/PictureObject.h"
#include "runtime/objects/ClassLookup.h"

namespace {

// The first four characters of an entry's string, compared with the data
// type, letter case ignored.
bool HasDataType(const DragEntry *entry, const string &dataType) {
  if (dataType.IsEmpty())
    return true;
  const int length = stringStorage::Length(entry->text);
  string prefix;
  prefix.ConstructFromBuffer(stringStorage::CString(entry->text), length < 4 ? length : 4,
                             string::Borrow(entry->text).Encoding());
  return prefix.Compare(dataType) == 0;
}

void ReleaseEntry(DragEntry *entry) {
  stringStorage::RemoveReference(entry->text);
  RuntimeUnlockObject(entry->picture);
  RuntimeUnlockObject(entry->folder);
  delete entry;
}

int32_t HasEntry(RuntimeObject *item, int32_t type, const string &dataType = string()) {
  return GetDragItemEntry(item, type, false, dataType) ? 1 : 0;
}

RuntimeObject *Locked(RuntimeObject *object) {
  RuntimeLockObject(object);
  return object;
}

} // namespace

void DragItemConstructor(RuntimeObject *object) { AsDragItem(object)->itemCount = 1; }

void DragItemDestructor(RuntimeObject *object) {
  DragItemObject *item = AsDragItem(object);
  RuntimeUnlockObject(item->mouseCursor);
  item->mouseCursor = nullptr;
  RuntimeUnlockObject(item->destination);
  item->destination = nullptr;
  while (DragEntry *entry = item->entries) {
    item->entries = entry->next;
    ReleaseEntry(entry);
  }
  while (DragBoundsRecord *record = item->bounds) {
    item->bounds = record->next;
    delete record;
  }
}

DragEntry *GetDragItemEntry(RuntimeObject *dragItem, int32_t type, bool create,
                            const string &dataType) {
  if (!dragItem)
    return nullptr;
  DragItemObject *item = AsDragItem(dragItem);
  for (DragEntry *entry = item->entries; entry; entry = entry->next)
    if (entry->item == item->currentItem && entry->type == type &&
        (type != kDragMacDataType || HasDataType(entry, dataType)))
      return entry;
  if (!create)
    return nullptr;
  auto *entry = new DragEntry{item->entries, item->currentItem, type, nullptr, nullptr, nullptr};
  item->entries = entry;
  return entry;
}

extern "C" {

RuntimeObject *CreateNewDragItem(int32_t left, int32_t top, int32_t width, int32_t height) {
  RuntimeObject *object = CreateInstance(DragItemClass());
  if (object)
    QV::SetRect(&AsDragItem(object)->lastBounds, int16_t(left), int16_t(top), int16_t(left + width),
                int16_t(top + height));
  return object;
}

RuntimeObject *formNewDragItem(RuntimeObject *, int32_t left, int32_t top, int32_t width,
                               int32_t height) {
  return CreateNewDragItem(left, top, width, height);
}

RuntimeObject *controlNewDragItem(RuntimeObject *, int32_t left, int32_t top, int32_t width,
                                  int32_t height) {
  return CreateNewDragItem(left, top, width, height);
}

int32_t BuildDragReceived(void *) { return 0; }

stringStorage *dragItemTextGetter(RuntimeObject *item) {
  DragEntry *entry = GetDragItemEntry(item, kDragTextType, false, string());
  if (!entry)
    return nullptr;
  stringStorage::AddReference(entry->text);
  return entry->text;
}

void dragItemTextSetter(RuntimeObject *item, int32_t, stringStorage *text) {
  DragEntry *entry = GetDragItemEntry(item, kDragTextType, true, string());
  if (!entry)
    return;
  stringStorage::AddReference(text);
  stringStorage::RemoveReference(entry->text);
  entry->text = text;
}

RuntimeObject *dragItemPictureGetter(RuntimeObject *item) {
  DragEntry *entry = GetDragItemEntry(item, kDragPictureType, false, string());
  return entry ? Locked(entry->picture) : nullptr;
}

// A nil picture, or one without an image, leaves the item as it was.
void dragItemPictureSetter(RuntimeObject *item, int32_t, RuntimeObject *picture) {
  if (!picture || !reinterpret_cast<PictureObject *>(picture)->image)
    return;
  DragEntry *entry = GetDragItemEntry(item, kDragPictureType, true, string());
  if (!entry)
    return;
  RuntimeLockObject(picture);
  RuntimeUnlockObject(entry->picture);
  entry->picture = picture;
}

RuntimeObject *dragItemFolderItemGetter(RuntimeObject *item) {
  DragEntry *entry = GetDragItemEntry(item, kDragFolderType, false, string());
  return entry ? Locked(entry->folder) : nullptr;
}

void dragItemFolderItemSetter(RuntimeObject *item, int32_t, RuntimeObject *folder) {
  DragEntry *entry = GetDragItemEntry(item, kDragFolderType, true, string());
  if (!entry)
    return;
  RuntimeLockObject(folder);
  RuntimeUnlockObject(entry->folder);
  entry->folder = folder;
}

// Drops carry no place on this platform.
int32_t dragItemDropLeft(RuntimeObject *) { return 0; }
int32_t dragItemDropTop(RuntimeObject *) { return 0; }
int32_t dragItemDropWidth(RuntimeObject *) { return 0; }
int32_t dragItemDropHeight(RuntimeObject *) { return 0; }

int32_t DragItemTextAvailable(RuntimeObject *item) { return HasEntry(item, kDragTextType); }
int32_t DragItemPictureAvailable(RuntimeObject *item) { return HasEntry(item, kDragPictureType); }
int32_t DragItemFolderItemAvailable(RuntimeObject *item) { return HasEntry(item, kDragFolderType); }
int32_t DragItemMacDataAvailable(RuntimeObject *item, stringStorage *macType) {
  return HasEntry(item, kDragMacDataType, string::Borrow(macType));
}

stringStorage *DragItemGetMacData(RuntimeObject *item, stringStorage *macType) {
  string dataType = string::Borrow(macType);
  DragEntry *entry = GetDragItemEntry(item, kDragMacDataType, false, dataType);
  const int length = entry ? stringStorage::Length(entry->text) : 0;
  if (!entry || length < 4 || !HasDataType(entry, dataType))
    return nullptr;
  string data;
  data.ConstructFromBuffer(stringStorage::CString(entry->text) + 4, length - 4,
                           string::Borrow(entry->text).Encoding());
  return data.ExtractStringStorage();
}

void DragItemSetMacData(RuntimeObject *item, stringStorage *macType, stringStorage *value) {
  string dataType = string::Borrow(macType);
  DragEntry *entry = GetDragItemEntry(item, kDragMacDataType, true, dataType);
  if (!entry)
    return;
  string text = dataType;
  text += string::Borrow(value);
  stringStorage::RemoveReference(entry->text);
  entry->text = text.ExtractStringStorage();
}

void DragItemSetPrivateMacData(RuntimeObject *item, stringStorage *macType, stringStorage *value) {
  DragItemSetMacData(item, macType, value);
}

int32_t DragItemNextItem(RuntimeObject *object) {
  if (!object)
    return 0;
  DragItemObject *item = AsDragItem(object);
  if (item->currentItem + 1 >= item->itemCount)
    return 0;
  ++item->currentItem;
  return 1;
}

// The new item becomes current, so that the setters that follow fill it.
void DragItemAddItem(RuntimeObject *object, int32_t left, int32_t top, int32_t width,
                     int32_t height) {
  if (!object)
    return;
  DragItemObject *item = AsDragItem(object);
  auto *record = new DragBoundsRecord{nullptr, item->currentItem, item->lastBounds};
  DragBoundsRecord **tail = &item->bounds;
  while (*tail)
    tail = &(*tail)->next;
  *tail = record;
  ++item->currentItem;
  ++item->itemCount;
  QV::SetRect(&item->lastBounds, int16_t(left), int16_t(top), int16_t(left + width),
              int16_t(top + height));
}

} // extern "C"
