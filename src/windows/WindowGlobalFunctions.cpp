// The language's global functions that the window layer answers.
#include "windows/GTKHelper.h"
#include "windows/RunLoopRegisters.h"

extern "C" int32_t getFontCount() { return static_cast<int32_t>(GTKHelper::GetFontCount()); }

extern "C" stringStorage *getFontName(int32_t index) {
  return GTKHelper::GetFontName(index).ExtractStringStorage();
}

// No pane has the keyboard focus afterwards.
extern "C" void clearFocus() { SetFocusPane(nullptr); }
