// The MoviePlayer's pane. Without a movie engine it draws nothing on screen;
// offscreen drawing (printing, DrawInto) shows a framed cross where the
// movie would be. It takes the focus on a click while shown and enabled.
#pragma once
#include <cstdint>

#include "windows/SubPane.h"

struct MoviePlayerObject;

// What the pane invalidates: its bounds, grown by one pixel on every side
// when the player has a border.
QV::Rect MediaInvalidationRect(const QV::Rect &bounds, bool border);

class RuntimeMedia final : public SubPane {
public:
  RuntimeMedia(MoviePlayerObject *player, ContainerPane *container, int32_t tabPanelIndex,
               const QV::Rect &bounds);

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  bool AcceptFocus() override;
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  bool ChangeCursor(int32_t x, int32_t y) override;
  // 7 shows and 8 hides the movie; either invalidates the pane.
  void HandleAction(int32_t action) override;
  // With Border set, one pixel more on every side.
  void InvalidatePane(bool erase) override;
  void Redraw(Graphics *g) override;
  void DrawIntoOffscreen(Graphics *g) override;
  void MovePane(const QV::Rect &r, bool redraw) override;
  // A closing pane is forgotten by its player.
  void Close() override;

  bool Shown() const { return mShown; }
  void ForgetPlayer() { mPlayer = nullptr; }

private:
  // The drawing-area widget that places the pane in its window and takes
  // its clicks and focus.
  void MakeWidget();

  MoviePlayerObject *mPlayer; // not counted
  bool mShown;
};
