// What an edit pane reports to whoever serves it (the EditField's router, the
// list box's cell editor): text changes, selection, focus, keys, menus,
// actions and clicks. Every operation has a default that does nothing or
// answers false; the slot order is fixed.
#pragma once
#include <cstdint>

#include "foundation/String.h"

class EditControl;

class EditControlDelegate {
public:
  // True when the delegate applied the change itself.
  virtual bool EditControlTextChanging(EditControl *pane, int32_t start, int32_t deletedLength,
                                       int32_t insertPosition, const string &inserted,
                                       bool selectInserted);
  virtual void EditControlTextChange(EditControl *pane);
  virtual void EditControlSelChange(EditControl *pane);
  virtual bool EditControlTabbedInto(EditControl *pane);
  virtual void EditControlGainedFocus(EditControl *pane);
  virtual void EditControlLostFocus(EditControl *pane);
  // True when the key is consumed.
  virtual bool EditControlHandleKeyPress(EditControl *pane, uint8_t ch, uint8_t key,
                                         int16_t modifiers);
  // The key as text: its first byte in Mac Roman goes to the byte form.
  virtual bool EditControlHandleKeyPress(EditControl *pane, const string &key, uint8_t keyCode,
                                         int16_t modifiers);
  virtual bool EditControlHandleCmdKeyPress(EditControl *pane, uint8_t ch, uint8_t key,
                                            int16_t modifiers);
  virtual void EditControlEnableMenuOptions(EditControl *pane);
  virtual bool EditControlHandleMenuCommand(EditControl *pane, int32_t command);
  // True when the chosen menu item (a RunMenuItem) was handled.
  virtual bool EditControlHandleRuntimeMenuCommand(EditControl *pane, void *item);
  virtual bool EditControlHandleAction(EditControl *pane, int32_t action);
  // x and y relative to the pane; true keeps the mouse.
  virtual bool EditControlHandleMouseDown(EditControl *pane, int32_t x, int32_t y);
  virtual bool EditControlHandleMouseUp(EditControl *pane, int32_t x, int32_t y);
};
