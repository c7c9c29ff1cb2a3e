// What a list box row holds: its folder state, its indent and a chain of
// cells, one per column that has ever been given a value.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

struct CellEntry {
  CellEntry() = default;
  ~CellEntry(); // releases the picture, the tag and the text
  CellEntry(const CellEntry &) = delete;
  CellEntry &operator=(const CellEntry &) = delete;

  CellEntry *mNext = nullptr;
  uint8_t mStyle = 0; // 1 bold, 2 italic, 4 underline
  string mText;
  RuntimeObject *mPicture = nullptr; // counted
  uint8_t mColumn = 0;
  uint8_t mType = 0;      // 0: the column's type
  uint8_t mChecked = 0;
  uint8_t mAlignment = 0; // 0: the column's alignment
  int32_t mAlignmentOffset = 0;
  int16_t mFontSize = 0; // 0: the pane's size
  RuntimeObject *mTag = nullptr; // counted
  int32_t mBorderTop = 0;
  int32_t mBorderLeft = 0;
  int32_t mBorderBottom = 0;
  int32_t mBorderRight = 0;
};

// Destroys every cell of a chain.
void DeleteCellChain(CellEntry *first);

struct RowEntry {
  explicit RowEntry(CellEntry *cells, int16_t indent = 0, int16_t folderState = -1)
      : mFolderState(folderState), mIndent(indent), mCells(cells) {}
  ~RowEntry() { DeleteCellChain(mCells); }
  RowEntry(const RowEntry &) = delete;
  RowEntry &operator=(const RowEntry &) = delete;

  int16_t mFolderState; // -1 plain, 0 collapsed folder, 1 expanded folder
  int16_t mIndent;      // 0 at the top level
  CellEntry *mCells;
};
