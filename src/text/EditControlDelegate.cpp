#include "text/EditControlDelegate.h"

#include "foundation/TextEncodings.h"

bool EditControlDelegate::EditControlTextChanging(EditControl *, int32_t, int32_t, int32_t,
                                                  const string &, bool) {
  return false;
}
void EditControlDelegate::EditControlTextChange(EditControl *) {}
void EditControlDelegate::EditControlSelChange(EditControl *) {}
bool EditControlDelegate::EditControlTabbedInto(EditControl *) { return false; }
void EditControlDelegate::EditControlGainedFocus(EditControl *) {}
void EditControlDelegate::EditControlLostFocus(EditControl *) {}
bool EditControlDelegate::EditControlHandleKeyPress(EditControl *, uint8_t, uint8_t, int16_t) {
  return false;
}

bool EditControlDelegate::EditControlHandleKeyPress(EditControl *pane, const string &key,
                                                    uint8_t keyCode, int16_t modifiers) {
  string roman = ConvertEncoding(key, kEncodingMacRoman);
  uint8_t ch = roman.Length() > 0 ? static_cast<uint8_t>(roman.CString()[0]) : 0;
  return EditControlHandleKeyPress(pane, ch, keyCode, modifiers);
}

bool EditControlDelegate::EditControlHandleCmdKeyPress(EditControl *, uint8_t, uint8_t, int16_t) {
  return false;
}
void EditControlDelegate::EditControlEnableMenuOptions(EditControl *) {}
bool EditControlDelegate::EditControlHandleMenuCommand(EditControl *, int32_t) { return false; }
bool EditControlDelegate::EditControlHandleRuntimeMenuCommand(EditControl *, void *) {
  return false;
}
bool EditControlDelegate::EditControlHandleAction(EditControl *, int32_t) { return false; }
bool EditControlDelegate::EditControlHandleMouseDown(EditControl *, int32_t, int32_t) {
  return false;
}
bool EditControlDelegate::EditControlHandleMouseUp(EditControl *, int32_t, int32_t) {
  return false;
}
