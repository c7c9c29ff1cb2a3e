// The EditField's delegate: turns what its edit pane reports into the
// object's events, and answers the Edit menu's commands for the pane.
#pragma once
#include "text/EditControlDelegate.h"

struct RuntimeObject;

class RuntimeEditRouter : public EditControlDelegate {
public:
  explicit RuntimeEditRouter(RuntimeObject *field) : mField(field) {}

  bool EditControlTextChanging(EditControl *pane, int32_t start, int32_t deletedLength,
                               int32_t insertPosition, const string &inserted,
                               bool selectInserted) override;
  void EditControlTextChange(EditControl *pane) override;
  void EditControlSelChange(EditControl *pane) override;
  bool EditControlTabbedInto(EditControl *pane) override;
  void EditControlGainedFocus(EditControl *pane) override;
  void EditControlLostFocus(EditControl *pane) override;
  bool EditControlHandleKeyPress(EditControl *pane, uint8_t ch, uint8_t key,
                                 int16_t modifiers) override;
  bool EditControlHandleKeyPress(EditControl *pane, const string &key, uint8_t keyCode,
                                 int16_t modifiers) override;
  void EditControlEnableMenuOptions(EditControl *pane) override;
  bool EditControlHandleMenuCommand(EditControl *pane, int32_t command) override;
  bool EditControlHandleRuntimeMenuCommand(EditControl *pane, void *item) override;
  bool EditControlHandleAction(EditControl *pane, int32_t action) override;
  bool EditControlHandleMouseDown(EditControl *pane, int32_t x, int32_t y) override;
  bool EditControlHandleMouseUp(EditControl *pane, int32_t x, int32_t y) override;

  // Enables Cut, Copy, Clear and Paste as the pane's state allows.
  void EnableIntrinsicMenuOptions(EditControl *pane);
  // Shows the text in its display format while the field has a Format and
  // not the focus; the unformatted text is kept in the field.
  void FormatTextForDisplay(EditControl *pane);

  RuntimeObject *Field() const { return mField; }

private:
  RuntimeObject *mField; // not counted: the field owns the router
};

struct RunMenuItem;
// How the router finds an Edit item of the current menu bar by name and
// enables it: the menus' RuntimeMenuReference and RuntimeEnableMenu, or
// what a test stands in with. Nil restores the menus' own.
struct EditMenuAccess {
  RunMenuItem *(*find)(const char *name);
  void (*enable)(RunMenuItem *item);
};
void SetEditMenuAccess(const EditMenuAccess *access);

// What a text refused by the mask sounds when the field has no
// ValidationError handler: the system beep, or what a test records. Nil
// restores the beep.
void SetEditBeep(void (*beep)());

// The field's events, in slot order.
enum class EditEvent {
  kKeyDown,
  kGotFocus,
  kLostFocus,
  kMouseDown,
  kMouseUp,
  kSelChange,
  kTextChange,
  kEnableMenuItems,
  kValidationError
};
