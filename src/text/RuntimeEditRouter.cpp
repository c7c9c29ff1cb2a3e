#include "text/RuntimeEditRouter.h"

#include "desktop/ClipboardClass.h"
#include "foundation/TextEncodings.h"
#include "language/NumberToString.h"
#include "language/StringSlices.h"
#include "language/StringToNumber.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/feedback/QVFeedback.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "text/EditControl.h"
#include "text/InputMask.h"
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

void SystemBeep() { QV::SysBeep(3); }
void (*sBeep)() = SystemBeep;

int32_t CharCount(const string &text) { return StringDBCSLen(text.Storage()); }

// The text with length characters at start (counted from 0) taken out.
string Without(const string &text, int32_t start, int32_t length) {
  string before = string::Adopt(StringDBCSLeft(text.Storage(), start));
  string after = string::Adopt(StringDBCSMid2(text.Storage(), start + length + 1));
  return ConvertEncoding(before, kEncodingUTF8) + ConvertEncoding(after, kEncodingUTF8);
}

string With(const string &text, int32_t at, const string &inserted) {
  string before = string::Adopt(StringDBCSLeft(text.Storage(), at));
  string after = string::Adopt(StringDBCSMid2(text.Storage(), at + 1));
  return ConvertEncoding(before, kEncodingUTF8) + ConvertEncoding(inserted, kEncodingUTF8) +
         ConvertEncoding(after, kEncodingUTF8);
}

// Sets the field's in-text-change flag for the life of the value and puts
// back what it was.
class QuietText {
public:
  explicit QuietText(RuntimeObject *field)
      : mField(AsEditField(field)), mWas(mField->inTextChange) {
    mField->inTextChange = 1;
  }
  ~QuietText() { mField->inTextChange = mWas; }
  QuietText(const QuietText &) = delete;
  QuietText &operator=(const QuietText &) = delete;

private:
  EditControlObject *mField;
  uint8_t mWas;
};

} // namespace

void SetEditBeep(void (*beep)()) { sBeep = beep ? beep : SystemBeep; }

void SetEditMenuAccess(const EditMenuAccess *access) {
  sMenuAccess = access ? *access : kMenuBarAccess;
}

bool RuntimeEditRouter::EditControlTextChanging(EditControl *pane, int32_t start,
                                                int32_t deleted, int32_t insertAt,
                                                const string &inserted, bool selectInserted) {
  EditControlObject *field = AsEditField(mField);
  string mask = string::Borrow(field->mask);
  if (mask.Length() == 0)
    return false;
  string text = pane->GetText(kEncodingUTF8);
  if (deleted > 0)
    text = Without(text, start, deleted);
  if (inserted.Length() > 0)
    text = With(text, insertAt, inserted);
  MaskCheck check = CheckInputMask(text, mask);
  if (check.reservedCharacter) {
    // The change stops here: the text stays as it was and nothing else runs
    // before the program takes the exception.
    RaiseExceptionClassWMessage(UnsupportedFormatExceptionClass(), string(kReservedMaskMessage),
                                0);
    return true;
  }
  bool pureDeletion = deleted > 0 && inserted.Length() == 0;
  string result = check.text;
  int32_t added = 0;
  if (!pureDeletion) {
    result = result + check.suffix;
    added = CharCount(inserted) + CharCount(check.suffix);
  }
  RuntimeLockObject(mField); // a handler may drop the last other reference
  pane->SetText(result);
  if (selectInserted) {
    pane->SetSelStart(insertAt);
    pane->SetSelLength(added);
  } else {
    pane->SetSelStart(insertAt + added);
    pane->SetSelLength(0);
  }
  if (!check.accepted) {
    using Validation = void (*)(RuntimeObject *, stringStorage *, int32_t);
    if (auto handler =
            reinterpret_cast<Validation>(Handler(mField, EditEvent::kValidationError)))
      handler(mField, text.Storage(), CharCount(check.text) + 1);
    else
      sBeep();
  }
  RuntimeUnlockObject(mField);
  return true;
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

bool RuntimeEditRouter::EditControlTabbedInto(EditControl *) {
  EditControlObject *field = AsEditField(mField);
  if (string::Borrow(field->format).Length() == 0)
    return false;
  field->savedSelStart = 0;
  field->savedSelEnd = CharCount(string::Borrow(field->text));
  return true;
}

// A field with a display format shows its unformatted text while it has the
// focus.
void RuntimeEditRouter::EditControlGainedFocus(EditControl *pane) {
  EditControlObject *field = AsEditField(mField);
  if (string::Borrow(field->format).Length() != 0) {
    {
      QuietText quiet(mField);
      pane->SetText(string::Borrow(field->text));
    }
    pane->SetSelection(field->savedSelStart, field->savedSelEnd);
  }
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

void RuntimeEditRouter::FormatTextForDisplay(EditControl *pane) {
  EditControlObject *field = AsEditField(mField);
  string format = string::Borrow(field->format);
  if (format.Length() == 0)
    return;
  QuietText quiet(mField);
  if (GetFocusPane() == pane)
    return;
  field->savedSelStart = pane->GetSelStart();
  field->savedSelEnd = pane->GetSelEnd();
  string text = pane->GetText(kEncodingUTF8);
  string formatted =
      string::Adopt(StringFormat(StringVal(text.Storage()), format.Storage()));
  RuntimeUnlockString(field->formattedText);
  field->formattedText = formatted.ExtractStringStorage();
  pane->SetText(formatted);
  RuntimeLockString(text.Storage());
  RuntimeUnlockString(field->text);
  field->text = text.Storage();
}
