#include <gtk/gtk.h>

#include "runtime/feedback/QVFeedback.h"

namespace QV {

namespace {
int32_t sDoubleClickTicks = -1; // not read yet
// GTK+'s own default, for a process that has no display settings yet.
constexpr gint kDefaultDoubleClickMilliseconds = 250;
} // namespace

int32_t GetDblTime() {
  if (sDoubleClickTicks >= 0)
    return sDoubleClickTicks;
  GtkSettings *settings = gdk_display_get_default() ? gtk_settings_get_default() : nullptr;
  if (!settings) // before gtk_init: answer the default but read the setting later
    return static_cast<int32_t>(kDefaultDoubleClickMilliseconds * 0.06);
  gint milliseconds = kDefaultDoubleClickMilliseconds;
  g_object_get(settings, "gtk-double-click-time", &milliseconds, nullptr);
  sDoubleClickTicks = static_cast<int32_t>(milliseconds * 0.06);
  return sDoubleClickTicks;
}

void SysBeep(int16_t) {
  if (gdk_display_get_default())
    gdk_beep();
}

} // namespace QV
