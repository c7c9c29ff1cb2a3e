// The heading row of a list box: a chain of records, each driving one bevel
// button, in the form left filler, one heading per column, right filler.
// Calls are made on the first record, which walks the chain.
#pragma once
#include <cstdint>

#include "controls/BevelButton.h"

class CommonListbox;

class CommonListboxHeader : public BevelButtonDelegate {
public:
  CommonListboxHeader(CommonListbox *list, BevelButton *button, bool filler)
      : mButton(button), mList(list), mFiller(filler) {}
  virtual ~CommonListboxHeader() = default;

  void BevelChangeCursor(BevelButton *button, int32_t x, int32_t y) override;
  void BevelButtonClicked(BevelButton *button) override;
  void BevelMouseOver(BevelButton *button, int32_t x, int32_t y) override;

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers);
  void HandleMouseDrag(int32_t x, int32_t y);
  void HandleMouseMove(int32_t x, int32_t y);
  void HandleMouseExit();
  bool ChangeCursor(int32_t x, int32_t y);
  // The column of the heading under the point, or -1; the record and
  // whether the point lies on the resizable border after that column.
  int32_t FindHeader(int32_t x, int32_t y, CommonListboxHeader **header, bool *onBorder);

  BevelButton *Button() const { return mButton; }
  CommonListboxHeader *Next() const { return mNext; }
  bool IsFiller() const { return mFiller; }
  CommonListboxHeader *ResizeTarget() const { return mResizeTarget; }
  // The column of a heading record of this chain, -1 for a filler.
  int32_t ColumnOf(const CommonListboxHeader *record) const;

private:
  friend class CommonListbox;
  CommonListboxHeader *mResizeTarget = nullptr;
  BevelButton *mButton;
  CommonListboxHeader *mNext = nullptr;
  CommonListbox *mList;
  uint8_t mFiller;
};
