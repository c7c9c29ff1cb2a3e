#include "text/RuntimeEditRouter.h"

#include "desktop/ClipboardClass.h"
#include "foundation/TextEncodings.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "text/EditControl.h"
#include "text/EditFieldClass.h"
#include "text/EditFieldObject.h"
#include "windows/menus/MenuDispatch.h"
#include "windows/menus/MenuItemClasses.h"


namespace {

void *Handler(RuntimeObject *field, EditEvent event) {
  return FindObjectCode(field, EditEventHook(event));
}

void Fire(RuntimeObject *field, EditEvent event) {
  if (auto handler = reinterpret_cast<void (*)(RuntimeObject *)>(Handler(field, event)))
    handler(field);
}

RunMenuItem *FindInMenuBar(const char *name) {
  string itemName(name);
  return RuntimeMenuReference(itemName.Storage());
}

void EnableInMenuBar(RunMenuItem *item) { RuntimeEnableMenu(item); }

constexpr EditMenuAccess kMenuBarAccess{FindInMenuBar, EnableInMenuBar};
EditMenuAccess sMenuAccess = kMenuBarAccess;

RunMenuItem *MenuItemNamed(const char *name) { return sMenuAccess.find(name); }

void Enable(const char *name) {
  if (RunMenuItem *item = MenuItemNamed(name))
    sMenuAccess.enable(item);
}

bool Is(void *item, const char *name) {
  return item && static_cast<RunMenuItem *>(item) == MenuItemNamed(name);
}

} // namespace

void SetEditMenuAccess(const EditMenuAccess *access) {
  sMenuAccess = access ? *access : kMenuBarAccess;
}

bool RuntimeEditRouter::EditControlTextChanging(EditControl *, int32_t, int32_t, int32_t,
                                                const string &, bool) {
  // Input masks would apply the change themselves; there are none yet.
  return false;
}

void RuntimeEditRouter::EditControlTextChange(EditControl *pane) {
  EditControlObject *field = AsEditField(mField);
  if (field->inTextChange)
    return;
  field->inTextChange = 1;
  // The handler may drop the last other reference to the field.
  RuntimeLockObject(mField);
  Fire(mField, EditEvent::kTextChange);
  if (field->boundSource && field->liveUpdate)
    editCommit(mField);
  FormatTextForDisplay(pane);
  field->inTextChange = 0;
  RuntimeUnlockObject(mField);
}

void RuntimeEditRouter::EditControlSelChange(EditControl *pane) {
  EditControlObject *field = AsEditField(mField);
  if (field->inSelectionChange)
    return;
  field->inSelectionChange = 1;
  RuntimeLockObject(mField);
  Fire(mField, EditEvent::kSelChange);
  EnableIntrinsicMenuOptions(pane);
  field->inSelectionChange = 0;
  RuntimeUnlockObject(mField);
}

bool RuntimeEditRouter::EditControlTabbedInto(EditControl *) { return false; }

void RuntimeEditRouter::EditControlGainedFocus(EditControl *) {
  Fire(mField, EditEvent::kGotFocus);
}

void RuntimeEditRouter::EditControlLostFocus(EditControl *pane) {
  RuntimeLockObject(mField);
  Fire(mField, EditEvent::kLostFocus);
  if (AsEditField(mField)->boundSource)
    editCommit(mField);
  FormatTextForDisplay(pane);
  RuntimeUnlockObject(mField);
}

bool RuntimeEditRouter::EditControlHandleKeyPress(EditControl *pane, uint8_t ch, uint8_t key,
                                                  int16_t modifiers) {
  string text;
  char byte = static_cast<char>(ch);
  text.ConstructFromBuffer(&byte, 1);
  text.SetEncoding(ch < 0x80 ? kEncodingASCII : kEncodingUnknown);
  return EditControlHandleKeyPress(pane, text, key, modifiers);
}

bool RuntimeEditRouter::EditControlHandleKeyPress(EditControl *, const string &key, uint8_t,
                                                  int16_t) {
  auto handler =
      reinterpret_cast<int32_t (*)(RuntimeObject *, stringStorage *)>(Handler(mField,
                                                                             EditEvent::kKeyDown));
  return handler && handler(mField, key.Storage()) != 0;
}

void RuntimeEditRouter::EditControlEnableMenuOptions(EditControl *pane) {
  EnableIntrinsicMenuOptions(pane);
  Fire(mField, EditEvent::kEnableMenuItems);
}

bool RuntimeEditRouter::EditControlHandleMenuCommand(EditControl *, int32_t) { return false; }

bool RuntimeEditRouter::EditControlHandleAction(EditControl *, int32_t action) {
  if (action == 52)
    Fire(mField, EditEvent::kGotFocus);
  else if (action == 53)
    Fire(mField, EditEvent::kLostFocus);
  return false;
}

bool RuntimeEditRouter::EditControlHandleMouseDown(EditControl *, int32_t x, int32_t y) {
  auto handler = reinterpret_cast<int32_t (*)(RuntimeObject *, int32_t, int32_t)>(
      Handler(mField, EditEvent::kMouseDown));
  return handler && handler(mField, x, y) != 0;
}

bool RuntimeEditRouter::EditControlHandleMouseUp(EditControl *, int32_t x, int32_t y) {
  if (auto handler = reinterpret_cast<void (*)(RuntimeObject *, int32_t, int32_t)>(
          Handler(mField, EditEvent::kMouseUp)))
    handler(mField, x, y);
  return false;
}

void RuntimeEditRouter::EnableIntrinsicMenuOptions(EditControl *pane) {
  bool readOnly = pane->IsReadOnly();
  if (pane->HasSelection()) {
    if (!AsEditField(mField)->password) {
      if (!readOnly)
        Enable("EditCut");
      Enable("EditCopy");
    }
    if (!readOnly)
      Enable("EditClear");
  }
  // Asking the clipboard runs a nested main loop that can take the next
  // input before this one is done: ask only when there is a Paste item to
  // enable, and inside a key or button event keep the last answer.
  static bool sTextOnClipboard = false;
  if (!readOnly && MenuItemNamed("EditPaste")) {
    if (!EditControl::TellingFromInput())
      sTextOnClipboard = IsTextOnClipboard();
    if (sTextOnClipboard)
      Enable("EditPaste");
  }
}

bool RuntimeEditRouter::EditControlHandleRuntimeMenuCommand(EditControl *pane, void *item) {
  bool readOnly = pane->IsReadOnly();
  bool password = AsEditField(mField)->password;
  if (pane->HasSelection()) {
    if (Is(item, "EditCut") && !readOnly && !password) {
      pane->EditCut();
      return true;
    }
    if (Is(item, "EditCopy") && !password) {
      pane->EditCopy();
      return true;
    }
    if (Is(item, "EditClear") && !readOnly) {
      pane->EditClear();
      return true;
    }
  }
  if (readOnly)
    return false;
  if (Is(item, "EditPaste") && IsTextOnClipboard()) {
    pane->EditPaste();
    return true;
  }
  return false;
}

void RuntimeEditRouter::FormatTextForDisplay(EditControl *) {}
