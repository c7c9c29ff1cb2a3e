#include "controls/ToggleButtonGTK.h"

#include "graphics/Graphics.h"
#include "language/TextEscapes.h"
#include "windows/GTKHelper.h"

GtkWidget *ToggleButtonGTK::Label(SubPane *pane) {
  return gtk_bin_get_child(GTK_BIN(pane->GetWidget()));
}

void ToggleButtonGTK::DrawIntoOffscreen(SubPane *pane, Graphics *g, bool option,
                                        const FontStructure &font, const string &title) {
  const QV::Rect &b = pane->Bounds();
  GtkWidget *widget = pane->GetWidget();
  GdkDrawable *drawable = g->GetPane() ? g->GetPane()->GetGdkDrawable() : nullptr;
  // The theme paints only into drawables of its own depth.
  if (drawable && widget->style->depth == gdk_drawable_get_depth(drawable)) {
    QV::Rect r = GTKHelper::TranslateRect(g, b);
    GtkStateType state = pane->IsEnabled() ? GTK_STATE_NORMAL : GTK_STATE_INSENSITIVE;
    GtkShadowType shadow =
        gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)) ? GTK_SHADOW_IN : GTK_SHADOW_OUT;
    GdkRectangle area{r.left, r.top, 18, b.bottom - b.top};
    (option ? gtk_paint_option : gtk_paint_check)(widget->style, drawable, state, shadow, &area,
                                                  widget, "checkbox", area.x, area.y, area.width,
                                                  area.height);
  }
  QV::RGBColor saved = g->GetForeColor();
  g->TextFont(font.name);
  g->TextFace(font.Style());
  g->TextSize(font.size);
  const QV::RGBColor black{0, 0, 0};
  g->RGBForeColor(&black);
  const int32_t height = b.bottom - b.top;
  int32_t y = (height - g->FontHeight()) / 2 + g->FontAscent() + b.top;
  g->DrawString(StripAmpersand(title, nullptr), b.left + 20, y);
  g->RGBForeColor(&saved);
}
