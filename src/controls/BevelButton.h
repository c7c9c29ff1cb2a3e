// The bevel button: a header cell drawn with the theme's box style, with a
// centred title (cut with "..." when it does not fit) and, while it is the
// sort column, a sort arrow. It has no language class: list boxes build
// their column headers from it, and it reports to one delegate.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "windows/SubPane.h"

class BevelButton;

// What a bevel button reports. Every default does nothing; BevelUpdate
// answers true when the delegate drew the button itself.
class BevelButtonDelegate {
public:
  virtual void BevelChangeCursor(BevelButton *button, int32_t x, int32_t y);
  virtual void BevelButtonClicked(BevelButton *button);
  virtual void BevelButtonDown(BevelButton *button);
  virtual void BevelMouseDrag(BevelButton *button, int32_t x, int32_t y);
  virtual void BevelMouseOver(BevelButton *button, int32_t x, int32_t y);
  virtual bool BevelUpdate(BevelButton *button);

protected:
  ~BevelButtonDelegate() = default;
};

// Kept for the header logic; drawing does not depend on it.
using BevelButtonType = int32_t;

class BevelButton : public SubPane {
public:
  BevelButton(BevelButtonDelegate *delegate, const FontStructure &font, SubPane *parent,
              int32_t tabPanelIndex, const QV::Rect &bounds, const string &title,
              BevelButtonType type);

  virtual void DrawGTKThemedHeaders(Graphics *g);

  void EstablishDrawingSurface() override;
  void ResetDrawingSurface() override;
  void Redraw(Graphics *g) override;
  void Update() override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseMove(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void HandleMouseEnter() override;
  void HandleMouseExit() override;
  void HandleAction(int32_t action) override;
  void EnablePane(bool enable, bool redraw) override;
  void DrawIntoOffscreen(Graphics *g) override;

  void setTitle(const string &title);
  void setFont(const FontStructure &font);
  int32_t getValue() const { return mValue; }
  // A new value is stored; 1 again on a button whose value is 1 reverses
  // the sort direction; any other repeat does nothing.
  void setValue(int32_t value);
  int32_t SortDirection() const { return mSortDirection; }
  void SetSortDirection(int32_t direction) { mSortDirection = direction; }
  bool IsPressed() const { return mPressed; }
  bool IsHover() const { return mHover; }
  const string &Title() const { return mTitle; }
  void setDelegate(BevelButtonDelegate *delegate) { mBevelDelegate = delegate; }

private:
  void DrawContent(Graphics *g);
  void DrawSortArrow(Graphics *g);
  void InvalidateIfShowing();
  bool Inside(int32_t x, int32_t y) const;

  BevelButtonDelegate *mBevelDelegate;
  string mTitle;
  int32_t mValue = 0;
  uint8_t mPressed = 0;
  uint8_t mHover = 0;
  BevelButtonType mType;
  int32_t mSortDirection = 1;
};
