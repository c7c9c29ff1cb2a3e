#include "listbox/ListboxRows.h"

CellEntry::~CellEntry() {
  if (mPicture)
    RuntimeUnlockObject(mPicture);
  if (mTag)
    RuntimeUnlockObject(mTag);
}

void DeleteCellChain(CellEntry *first) {
  while (first) {
    CellEntry *next = first->mNext;
    delete first;
    first = next;
  }
}
