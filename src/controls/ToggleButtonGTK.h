// What check boxes and radio buttons share on GTK+: the mouse handling of a
// toggle widget (the press is the user's unless MouseDown takes it) and the
// offscreen drawing of an indicator and its caption.
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/SubPane.h"

class Graphics;

namespace ToggleButtonGTK {

// A press reaches MouseDown only on an enabled pane with a delegate; when
// MouseDown answers true the pane takes the mouse and GTK+ does not toggle.
template <typename Report> bool HandleClick(SubPane *pane, bool hasDelegate, Report mouseDown,
                                            int32_t x, int32_t y);

// Paints the check (or, for option, the radio) indicator 18 pixels wide at
// the pane's left, in or out as the widget is active, and the caption
// without its "&" markers in black 20 pixels right of the pane's left edge.
void DrawIntoOffscreen(SubPane *pane, Graphics *g, bool option, const FontStructure &font,
                       const string &title);

// The toggle widget's label, which takes the caption and the font.
GtkWidget *Label(SubPane *pane);

} // namespace ToggleButtonGTK

template <typename Report>
bool ToggleButtonGTK::HandleClick(SubPane *pane, bool hasDelegate, Report mouseDown, int32_t x,
                                  int32_t y) {
  if (!pane->IsEnabled() || !hasDelegate)
    return false;
  if (!mouseDown(x - pane->Bounds().left, y - pane->Bounds().top))
    return false;
  CaptureMouse(pane);
  return true;
}
