#include "text/EditFieldClass.h"

#include <iterator>

#include "foundation/TextEncodings.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "controls/DataBinders.h"
#include "graphics/GraphicsServices.h"
#include "text/EditControlGTK.h"
#include "text/EditFieldObject.h"
#include "text/StyledTextEntryPoints.h"
#include "text/StyledTextObjects.h"

namespace {

// clang-format off
ObjectHookTemplate EditHooks[] = {
    {0, "KeyDown", "Key As String", "Boolean", nullptr, 0},
    {0, "GotFocus", "", "", nullptr, 0},
    {0, "LostFocus", "", "", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "SelChange", "", "", nullptr, 0},
    {0, "TextChange", "", "", nullptr, 0},
    {0x20, "EnableMenuItems", "", "", nullptr, 0},
    {0, "ValidationError", "InvalidText As String, StartPosition As Integer", "", nullptr, 0},
};

ObjectConstantTemplate EditConstants[] = {
    {0, "AlignDefault", 1, "0"},
    {0, "AlignLeft", 1, "1"},
    {0, "AlignCenter", 1, "2"},
    {0, "AlignRight", 1, "3"},
};
// clang-format on

QV::RGBColor ColorOf(uint32_t rrggbb) {
  return QV::RGBColor{static_cast<uint16_t>(((rrggbb >> 16) & 0xFF) * 257),
                      static_cast<uint16_t>(((rrggbb >> 8) & 0xFF) * 257),
                      static_cast<uint16_t>((rrggbb & 0xFF) * 257)};
}

FontStructure FontOf(const EditControlObject *field) { return field->font.getFont(); }

void PushFont(RuntimeObject *object) {
  if (EditControl *pane = EditPaneOf(object))
    pane->setFont(FontOf(AsEditField(object)));
}

void Keep(stringStorage *&slot, stringStorage *value) {
  RuntimeLockString(value);
  RuntimeUnlockString(slot);
  slot = value;
}

stringStorage *Give(const string &text) { return text.ExtractStringStorage(); }

} // namespace

EditControl *EditPaneOf(RuntimeObject *object) {
  return object ? static_cast<EditControl *>(AsEditField(object)->control.pane) : nullptr;
}

// The field's StyledText object borrows the pane as its body: a closing
// pane takes it away, and the object then answers without calling it.
void DetachEditFieldStyledText(RuntimeObject *object) {
  if (RuntimeObject *styled = object ? AsEditField(object)->styledText : nullptr)
    AsStyledText(styled)->body = nullptr;
}

namespace {

// A StyledText object whose body is the pane (none without one), not owned:
// the run list its constructor made is freed.
RuntimeObject *NewPaneStyledText(EditControl *pane) {
  RuntimeObject *styled = CreateInstance(StyledTextClass());
  if (!styled)
    return nullptr;
  StyledTextObject *st = AsStyledText(styled);
  if (st->ownsBody)
    delete st->body;
  st->body = pane;
  st->ownsBody = 0;
  return styled;
}

} // namespace

const ObjectHook *EditEventHook(EditEvent event) {
  EditClass();
  return EditHooks[static_cast<int>(event)].hook;
}

void EditCreatePane(RuntimeObject *object) {
  EditControlObject *field = AsEditField(object);
  QV::RGBColor back = ColorOf(field->backColor);
  QV::RGBColor textColor = ColorOf(field->textColor);
  delete field->router;
  field->router = new RuntimeEditRouter(object);

  RuntimeControl &control = field->control;
  FontStructure font = FontOf(field);
  EditControl *pane;
  if (field->multiLine)
    pane = field->styled ? newMultiLineStyledEditControl(
                               field->router, control.container, control.tabPanelIndex,
                               control.bounds, field->border, font, field->scrollBarVertical,
                               field->scrollBarHorizontal)
                         : newMultiLineEditControl(field->router, control.container,
                                                   control.tabPanelIndex, control.bounds,
                                                   field->border, font, field->scrollBarVertical,
                                                   field->scrollBarHorizontal);
  else
    pane = field->styled ? newStyledEditControl(field->router, control.container,
                                                control.tabPanelIndex, control.bounds,
                                                field->border, font)
                         : newEditControl(field->router, control.container, control.tabPanelIndex,
                                          control.bounds, field->border, font);
  control.pane = pane;
  if (control.initialParent && control.initialParent->pane)
    pane->ReassignParent(control.initialParent->pane);
  RuntimeUnlockObject(field->styledText);
  field->styledText = nullptr;
  if (field->styled)
    field->styledText = NewPaneStyledText(pane);
  pane->SetOwner(object);

  pane->SetAlignment(field->alignment);
  pane->SetReadOnly(field->readOnly);
  pane->setBackgroundColor(&back);
  pane->setTextColor(&textColor);
  pane->SetUseFocusRing(field->useFocusRing);

  // The initial text fires neither TextChange nor SelChange.
  field->inTextChange = field->inSelectionChange = 1;
  pane->SetText(string::Borrow(field->text));
  pane->setLimitText(field->limitText);
  field->inTextChange = field->inSelectionChange = 0;

  pane->setPasswordMode(field->password);
  pane->setAcceptTabs(field->acceptTabs);
  if (!control.enabled)
    pane->HandleAction(6);
  if (!control.visible)
    pane->HandleAction(8);

  pane->SetDataSourceName(string::Borrow(field->dataSource));
  pane->ClearBoundDataControl();
  pane->InitializeBinding();
  field->router->FormatTextForDisplay(pane);
}

void RuntimeEditDestructor(RuntimeObject *object) {
  EditControlObject *field = AsEditField(object);
  field->font.Release();
  for (stringStorage **text : {&field->text, &field->dataSource,
                               &field->dataField, &field->format, &field->formattedText,
                               &field->mask}) {
    RuntimeUnlockString(*text);
    *text = nullptr;
  }
  RuntimeUnlockObject(field->styledText);
  field->styledText = nullptr;
  delete field->router;
  field->router = nullptr;
}

stringStorage *editTextGetter(RuntimeObject *object, int32_t) {
  if (EditControl *pane = EditPaneOf(object))
    return Give(pane->GetText(kEncodingUTF8));
  return RuntimeLockString(AsEditField(object)->text);
}

void editTextSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  if (EditControl *pane = EditPaneOf(object))
    pane->SetText(string::Borrow(text));
  Keep(AsEditField(object)->text, text);
}

void editSetString(RuntimeObject *object, stringStorage *text) { editTextSetter(object, 0, text); }

stringStorage *editTextStyleDataGetter(RuntimeObject *object, int32_t) {
  EditControl *pane = EditPaneOf(object);
  return pane ? Give(pane->GetTextStyle()) : nullptr;
}

#define STORED_BOOL(getter, setter, member, push)                                                  \
  int32_t getter(RuntimeObject *object, int32_t) { return AsEditField(object)->member ? 1 : 0; }    \
  void setter(RuntimeObject *object, int32_t, int32_t value) {                                     \
    AsEditField(object)->member = value ? 1 : 0;                                                   \
    if (EditControl *pane = EditPaneOf(object)) {                                                        \
      push;                                                                                        \
    }                                                                                              \
  }

STORED_BOOL(editBorderGetter, editBorderSetter, border, (void)pane)
STORED_BOOL(editMultiLineGetter, editMultiLineSetter, multiLine, (void)pane)
STORED_BOOL(editReadOnlyGetter, editReadOnlySetter, readOnly, pane->SetReadOnly(value != 0))
STORED_BOOL(editPasswordGetter, editPasswordSetter, password, pane->setPasswordMode(value != 0))
STORED_BOOL(editScrollBarGetter, editScrollBarSetter, scrollBarVertical, (void)pane)
STORED_BOOL(editBoldGetter, editBoldSetter, font.bold, PushFont(object))
STORED_BOOL(editItalicGetter, editItalicSetter, font.italic, PushFont(object))
STORED_BOOL(editUnderlineGetter, editUnderlineSetter, font.underline, PushFont(object))

void editTextColorSetter(RuntimeObject *object, int32_t, int32_t color) {
  AsEditField(object)->textColor = color;
  QV::RGBColor c = ColorOf(color);
  if (EditControl *pane = EditPaneOf(object))
    pane->setTextColor(&c);
}

void editBackColorSetter(RuntimeObject *object, int32_t, int32_t color) {
  AsEditField(object)->backColor = color;
  QV::RGBColor c = ColorOf(color);
  if (EditControl *pane = EditPaneOf(object))
    pane->setBackgroundColor(&c);
}

stringStorage *editTextFontGetter(RuntimeObject *object, int32_t) {
  return RuntimeLockString(AsEditField(object)->font.name);
}

void editTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  AsEditField(object)->font.SetName(name);
  PushFont(object);
}

int32_t editTextSizeGetter(RuntimeObject *object, int32_t) { return AsEditField(object)->font.size; }

void editTextSizeSetter(RuntimeObject *object, int32_t, int32_t size) {
  AsEditField(object)->font.size = static_cast<int16_t>(size);
  PushFont(object);
}

int32_t editLimitTextGetter(RuntimeObject *object, int32_t) {
  return AsEditField(object)->limitText;
}

void editLimitTextSetter(RuntimeObject *object, int32_t, int32_t value) {
  AsEditField(object)->limitText = value;
  if (EditControl *pane = EditPaneOf(object))
    pane->setLimitText(value);
}

// Properties that live only in the pane: 0, False or nil without one, and
// assignments then change nothing.
#define PANE_INT(getter, setter, read, write)                                                      \
  int32_t getter(RuntimeObject *object, int32_t) {                                                 \
    EditControl *pane = EditPaneOf(object);                                                              \
    return pane ? static_cast<int32_t>(pane->read) : 0;                                            \
  }                                                                                                \
  void setter(RuntimeObject *object, int32_t, int32_t value) {                                     \
    if (EditControl *pane = EditPaneOf(object))                                                          \
      pane->write;                                                                                 \
  }

PANE_INT(editSelStartGetter, editSelStartSetter, GetSelStart(), SetSelStart(value))
PANE_INT(editSelLengthGetter, editSelLengthSetter, GetSelLength(), SetSelLength(value))
PANE_INT(editSelBoldGetter, editSelBoldSetter, getSelectionBold(), setSelectionBold(value != 0))
PANE_INT(editSelUnderlineGetter, editSelUnderlineSetter, getSelectionUnderline(),
         setSelectionUnderline(value != 0))
PANE_INT(editSelItalicGetter, editSelItalicSetter, getSelectionItalic(),
         setSelectionItalic(value != 0))
PANE_INT(editSelOutlineGetter, editSelOutlineSetter, getSelectionOutline(),
         setSelectionOutline(value != 0))
PANE_INT(editSelShadowGetter, editSelShadowSetter, getSelectionShadow(),
         setSelectionShadow(value != 0))
PANE_INT(editSelCondenseGetter, editSelCondenseSetter, getSelectionCondensed(),
         setSelectionCondensed(value != 0))
PANE_INT(editSelExtendGetter, editSelExtendSetter, getSelectionExtended(),
         setSelectionExtended(value != 0))
PANE_INT(editSelPlainGetter, editSelPlainSetter, getSelectionPlain(),
         setSelectionPlain(value != 0))
PANE_INT(editSelTextSizeGetter, editSelTextSizeSetter, getSelectionTextSize(),
         setSelectionTextSize(value))
PANE_INT(EditSelAlignmentGetter, EditSelAlignmentSetter, GetSelAlignment(),
         SetSelAlignment(value))

stringStorage *editSelTextGetter(RuntimeObject *object, int32_t) {
  EditControl *pane = EditPaneOf(object);
  return pane ? Give(pane->GetSelText(kEncodingUTF8)) : nullptr;
}

void editSelTextSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  if (EditControl *pane = EditPaneOf(object))
    pane->SetSelText(string::Borrow(text));
}

stringStorage *editSelTextFontGetter(RuntimeObject *object, int32_t) {
  EditControl *pane = EditPaneOf(object);
  return pane ? Give(pane->getSelectionTextFont()) : nullptr;
}

void editSelTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  if (EditControl *pane = EditPaneOf(object))
    pane->setSelectionTextFont(string::Borrow(name));
}

int32_t editSelTextColorGetter(RuntimeObject *object, int32_t) {
  EditControl *pane = EditPaneOf(object);
  if (!pane)
    return 0;
  QV::RGBColor c{0, 0, 0};
  pane->getSelectionTextColor(&c);
  return (c.red / 257) << 16 | (c.green / 257) << 8 | c.blue / 257;
}

void editSelTextColorSetter(RuntimeObject *object, int32_t, int32_t color) {
  if (EditControl *pane = EditPaneOf(object))
    pane->setSelectionTextColor(ColorOf(color));
}

stringStorage *EditDataSourceGetter(RuntimeObject *object, int32_t) {
  return RuntimeLockString(AsEditField(object)->dataSource);
}

void EditDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  Keep(AsEditField(object)->dataSource, name);
  if (EditControl *pane = EditPaneOf(object)) {
    pane->RemoveBinding();
    pane->SetDataSourceName(string::Borrow(name));
    pane->InitializeBinding();
  }
}

void EditDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  Keep(AsEditField(object)->dataField, name);
  if (EditControl *pane = EditPaneOf(object))
    pane->InitializeBinding();
}

void EditAlignmentSetter(RuntimeObject *object, int32_t, int32_t value) {
  AsEditField(object)->alignment = value;
  if (EditControl *pane = EditPaneOf(object))
    pane->SetAlignment(value);
}

// The current text is checked against the new mask at once: the part that
// fits stays and the literals the mask puts after it are added.
void EditMaskSetter(RuntimeObject *object, int32_t, stringStorage *mask) {
  EditControlObject *field = AsEditField(object);
  Keep(field->mask, mask);
  if (EditControl *pane = EditPaneOf(object); pane && field->router)
    field->router->EditControlTextChanging(pane, 0, 0, pane->GetSelStart(), string(""), false);
}

RuntimeObject *StyledTextObjectGetter(RuntimeObject *object, int32_t) {
  if (!RUNTIME_CHECK_SHOWING(object, "ctl"))
    return nullptr;
  RuntimeObject *styled = AsEditField(object)->styledText;
  RuntimeLockObject(styled);
  return styled;
}

// The field never shares the object it is given: it takes a new StyledText
// on its pane and copies the given object's runs into it. An object without
// a body, an unstyled field, or a field without a pane (whose StyledText
// would have no body to copy into) ignores the assignment.
void StyledTextObjectSetter(RuntimeObject *object, int32_t, RuntimeObject *s) {
  if (!RUNTIME_CHECK_SHOWING(object, "ctl"))
    return;
  EditControlObject *field = AsEditField(object);
  if (s == field->styledText || (s && !AsStyledText(s)->body) || !field->styled)
    return;
  EditControl *pane = EditPaneOf(object);
  if (!pane)
    return;
  RuntimeLockObject(s); // s may be the field's only other holder's
  RuntimeUnlockObject(field->styledText);
  field->styledText = NewPaneStyledText(pane);
  editTextSetter(object, 0, nullptr);
  if (s && field->styledText) {
    int32_t count = StyledTextRunCountGetter(s);
    for (int32_t i = 0; i < count; ++i) {
      RuntimeObject *run = StyledTextRunGetter(s, i);
      if (run)
        AppendStyledTextRun(field->styledText, run);
      RuntimeUnlockObject(run);
    }
    RuntimeControlRefresh(object, 1);
  }
  RuntimeUnlockObject(s);
}

#define PANE_METHOD(name, call)                                                                    \
  void name(RuntimeObject *object) {                                                               \
    if (EditControl *pane = EditPaneOf(object))                                                          \
      pane->call();                                                                                \
  }

PANE_METHOD(editToggleSelectionBold, toggleSelectionBold)
PANE_METHOD(editToggleSelectionUnderline, toggleSelectionUnderline)
PANE_METHOD(editToggleSelectionItalic, toggleSelectionItalic)
PANE_METHOD(editToggleSelectionShadow, toggleSelectionShadow)
PANE_METHOD(editToggleSelectionOutline, toggleSelectionOutline)
PANE_METHOD(editToggleSelectionCondense, toggleSelectionCondensed)
PANE_METHOD(editToggleSelectionExtend, toggleSelectionExtended)
PANE_METHOD(editCopyToClipboard, EditCopy)
PANE_METHOD(editPasteFromClipboard, EditPaste)

void editSetTextAndStyle(RuntimeObject *object, stringStorage *text, stringStorage *style) {
  if (EditControl *pane = EditPaneOf(object))
    pane->SetTextAndStyle(string::Borrow(text), string::Borrow(style));
}

RuntimeObject *editStyleTextPrinter(RuntimeObject *object, RuntimeObject *graphics,
                                    int32_t width) {
  EditControl *pane = EditPaneOf(object);
  return pane ? pane->getPrintingObject(graphics, width) : nullptr;
}

int32_t editScrollPositionGetter(RuntimeObject *object) {
  EditControl *pane = EditPaneOf(object);
  return pane ? pane->GetScrollRow() : 0;
}

void editScrollPositionSetter(RuntimeObject *object, int32_t value) {
  if (EditControl *pane = EditPaneOf(object))
    pane->SetScrollRow(value);
}

int32_t EditScrollPositionXGetter(RuntimeObject *object) {
  EditControl *pane = EditPaneOf(object);
  return pane ? pane->GetScrollPosX() : 0;
}

void EditScrollPositionXSetter(RuntimeObject *object, int32_t value) {
  if (EditControl *pane = EditPaneOf(object))
    pane->SetScrollPosX(value);
}

int32_t editLineNumAtCharPos(RuntimeObject *object, int32_t position) {
  EditControl *pane = EditPaneOf(object);
  return pane ? pane->LineNumAtCharPos(position) : 0;
}

int32_t editCharPosAtLineNum(RuntimeObject *object, int32_t line) {
  EditControl *pane = EditPaneOf(object);
  return pane ? pane->CharPosAtLineNum(line) : 0;
}

int32_t editCharPosAtXY(RuntimeObject *object, int32_t x, int32_t y) {
  EditControl *pane = EditPaneOf(object);
  return pane ? pane->CharPosAtXY(x, y) : 0;
}

int32_t editInsertionPosAtXY(RuntimeObject *object, int32_t x, int32_t y) {
  EditControl *pane = EditPaneOf(object);
  return pane ? pane->InsertionPosAtXY(x, y) : 0;
}

// The field follows a source object by its interfaces: it joins the
// source's receivers, shows its text and is enabled as it has data, and
// hands the text it is given back through the source's setString. The
// source is kept without a reference; a source that goes makes the field
// forget it (EditBoundSourceSlot).
void editBindValue(RuntimeObject *object, RuntimeObject *source) {
  if (!object)
    return;
  EditControlObject *field = AsEditField(object);
  using Receiver = void (*)(RuntimeObject *, RuntimeObject *);
  RuntimeLockObject(object); // the old source's list may hold its last reference
  if (auto remove = InterfaceMethodAs<Receiver>(field->boundSource, DataNotifierClass(),
                                                "removeDataNotificationReceiver"))
    remove(field->boundSource, object);
  field->boundSource = source;
  if (auto add =
          InterfaceMethodAs<Receiver>(source, DataNotifierClass(), "addDataNotificationReceiver"))
    add(source, object);
  editReload(object);
  RuntimeUnlockObject(object);
}

void editReload(RuntimeObject *object) {
  RuntimeObject *source = object ? AsEditField(object)->boundSource : nullptr;
  if (!source)
    return;
  using GetString = stringStorage *(*)(RuntimeObject *);
  using GetBoolean = int32_t (*)(RuntimeObject *);
  EditControl *pane = EditPaneOf(object);
  auto get = InterfaceMethodAs<GetString>(source, StringProviderClass(), "getString");
  if (get && pane) {
    string text = string::Adopt(get(source));
    if (EditControl *still = EditPaneOf(object))
      still->SetText(text);
  }
  if (auto has = InterfaceMethodAs<GetBoolean>(source, DataAvailableProviderClass(),
                                               "DataAvailable"))
    controlEnabledSetter(object, 0, has(source) != 0);
}

void editCommit(RuntimeObject *object) {
  RuntimeObject *source = object ? AsEditField(object)->boundSource : nullptr;
  using SetString = void (*)(RuntimeObject *, stringStorage *);
  auto set = InterfaceMethodAs<SetString>(source, StringInterfaceClass(), "setString");
  if (!set)
    return;
  EditControl *pane = EditPaneOf(object);
  string text = pane ? pane->GetText(kEncodingUTF8) : string("");
  RuntimeLockObject(object);
  set(source, text.Storage());
  RuntimeUnlockObject(object);
}

namespace {

void *Code(auto function) { return reinterpret_cast<void *>(function); }

#define ROW(name, type, getter, setter, param, flags)                                              \
  { flags, name, type, Code(getter), #getter, Code(setter), #setter, param, 0 }
#define READ_ONLY_ROW(name, type, getter, param)                                                   \
  { 0, name, type, Code(getter), #getter, nullptr, nullptr, param, 0 }

PropertyType *const kString = &stringType.type;
PropertyType *const kBoolean = &booleanType.type;
PropertyType *const kInteger = &integerType.type;
PropertyType *const kColor = &colourType.type;

// clang-format off
ObjectInstanceTemplate EditInstances[] = {
    ROW("Text", kString, editTextGetter, editTextSetter, 0, 0),
    READ_ONLY_ROW("TextStyleData", kString, editTextStyleDataGetter, 0),
    ROW("Border", kBoolean, editBorderGetter, editBorderSetter, 0, 0x80),
    ROW("MultiLine", kBoolean, editMultiLineGetter, editMultiLineSetter, 0, 0),
    ROW("ReadOnly", kBoolean, editReadOnlyGetter, editReadOnlySetter, 0, 0),
    ROW("Password", kBoolean, editPasswordGetter, editPasswordSetter, 0, 0),
    ROW("Styled", kBoolean, boolGetter, boolSetter, 151, 0x80),
    ROW("AcceptTabs", kBoolean, boolGetter, boolSetter, 152, 0x80),
    ROW("TextColor", kColor, intGetter, editTextColorSetter, 144, 0),
    ROW("BackColor", kColor, intGetter, editBackColorSetter, 140, 0),
    ROW("ScrollBarHorizontal", kBoolean, boolGetter, boolSetter, 126, 0x80),
    ROW("ScrollBarVertical", kBoolean, editScrollBarGetter, editScrollBarSetter, 0, 0x80),
    ROW("ScrollBar", kBoolean, editScrollBarGetter, editScrollBarSetter, 0, 0x80),
    ROW("TextFont", kString, editTextFontGetter, editTextFontSetter, 0, 0),
    ROW("TextSize", kInteger, editTextSizeGetter, editTextSizeSetter, 0, 0),
    ROW("Bold", kBoolean, editBoldGetter, editBoldSetter, 0, 0),
    ROW("Italic", kBoolean, editItalicGetter, editItalicSetter, 0, 0),
    ROW("Underline", kBoolean, editUnderlineGetter, editUnderlineSetter, 0, 0),
    ROW("SelStart", kInteger, editSelStartGetter, editSelStartSetter, 0, 0),
    ROW("SelLength", kInteger, editSelLengthGetter, editSelLengthSetter, 0, 0),
    ROW("SelText", kString, editSelTextGetter, editSelTextSetter, 0, 0),
    ROW("LimitText", kInteger, editLimitTextGetter, editLimitTextSetter, 0, 0),
    ROW("SelBold", kBoolean, editSelBoldGetter, editSelBoldSetter, 0, 0),
    ROW("SelUnderline", kBoolean, editSelUnderlineGetter, editSelUnderlineSetter, 0, 0),
    ROW("SelItalic", kBoolean, editSelItalicGetter, editSelItalicSetter, 0, 0),
    ROW("SelOutline", kBoolean, editSelOutlineGetter, editSelOutlineSetter, 0, 0),
    ROW("SelShadow", kBoolean, editSelShadowGetter, editSelShadowSetter, 0, 0),
    ROW("SelCondense", kBoolean, editSelCondenseGetter, editSelCondenseSetter, 0, 0),
    ROW("SelExtend", kBoolean, editSelExtendGetter, editSelExtendSetter, 0, 0),
    ROW("SelPlain", kBoolean, editSelPlainGetter, editSelPlainSetter, 0, 0),
    ROW("SelTextFont", kString, editSelTextFontGetter, editSelTextFontSetter, 0, 0),
    ROW("SelTextSize", kInteger, editSelTextSizeGetter, editSelTextSizeSetter, 0, 0),
    ROW("SelTextColor", kColor, editSelTextColorGetter, editSelTextColorSetter, 0, 0),
    ROW("LiveUpdate", kBoolean, boolGetter, boolSetter, 153, 0),
    ROW("UseFocusRing", kBoolean, boolGetter, boolSetter, 154, 0x80),
    ROW("DataSource", kString, EditDataSourceGetter, EditDataSourceSetter, 0, 0),
    ROW("DataField", kString, stringGetter, EditDataFieldSetter, 104, 0),
    ROW("Alignment", kInteger, intGetter, EditAlignmentSetter, 160, 0),
    ROW("SelAlignment", kInteger, EditSelAlignmentGetter, EditSelAlignmentSetter, 0, 0),
    ROW("Format", kString, stringGetter, stringSetter, 172, 0),
    READ_ONLY_ROW("FormattedText", kString, stringGetter, 176),
    ROW("Mask", kString, stringGetter, EditMaskSetter, 180, 0),
    ROW("StyledText", nullptr, StyledTextObjectGetter, StyledTextObjectSetter, 0, 0),
};

MethodParameter sTextAndStyle[] = {{"text", kString, 0, {}, 0, {}, 0, {}},
                                   {"style", kString, 0, {}, 0, {}, 0, {}}};
MethodParameter sStr[] = {{"Str", kString, 0, {}, 0, {}, 0, {}}};
MethodParameter sPrinter[] = {{"g", nullptr, 0, {}, 0, {}, 0, {}},
                              {"width", kInteger, 0, {}, 0, {}, 0, {}}};
MethodParameter sV[] = {{"v", kInteger, 0, {}, 0, {}, 0, {}}};
MethodParameter sXY[] = {{"x", kInteger, 0, {}, 0, {}, 0, {}},
                         {"y", kInteger, 0, {}, 0, {}, 0, {}}};

#define METHOD(name, result, params, count, function)                                             \
  { name, result, params, count, {{Code(function), #function, {}}, {}}, kPlainMethod, 0, 0 }
#define GETSET(name, getter, setter)                                                               \
  { name, kInteger, nullptr, 0, {{Code(getter), #getter, {}}, {Code(setter), #setter, {}}},        \
    kAssignsMethod, 0, 0 }

PropertyMethod EditMethods[] = {
    METHOD("ToggleSelectionBold", nullptr, nullptr, 0, editToggleSelectionBold),
    METHOD("ToggleSelectionUnderline", nullptr, nullptr, 0, editToggleSelectionUnderline),
    METHOD("ToggleSelectionItalic", nullptr, nullptr, 0, editToggleSelectionItalic),
    METHOD("ToggleSelectionShadow", nullptr, nullptr, 0, editToggleSelectionShadow),
    METHOD("ToggleSelectionOutline", nullptr, nullptr, 0, editToggleSelectionOutline),
    METHOD("ToggleSelectionCondense", nullptr, nullptr, 0, editToggleSelectionCondense),
    METHOD("ToggleSelectionExtend", nullptr, nullptr, 0, editToggleSelectionExtend),
    METHOD("SetTextAndStyle", nullptr, sTextAndStyle, 2, editSetTextAndStyle),
    METHOD("setString", nullptr, sStr, 1, editSetString),
    METHOD("styledTextPrinter", nullptr, sPrinter, 2, editStyleTextPrinter),
    GETSET("ScrollPosition", editScrollPositionGetter, editScrollPositionSetter),
    GETSET("ScrollPositionX", EditScrollPositionXGetter, EditScrollPositionXSetter),
    METHOD("LineNumAtCharPos", kInteger, sV, 1, editLineNumAtCharPos),
    METHOD("CharPosAtLineNum", kInteger, sV, 1, editCharPosAtLineNum),
    METHOD("CharPosAtXY", kInteger, sXY, 2, editCharPosAtXY),
    METHOD("InsertionPosAtXY", kInteger, sXY, 2, editInsertionPosAtXY),
    METHOD("Copy", nullptr, nullptr, 0, editCopyToClipboard),
    METHOD("Paste", nullptr, nullptr, 0, editPasteFromClipboard),
};
// clang-format on

} // namespace

ObjectDefinition *EditClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("EditField");
  defn.super = RectControlClass();
  defn.objectSize = sizeof(EditControlObject);
  defn.destructor = RuntimeEditDestructor;
  defn.staticTables = 1;
  // Members typed by classes not linked yet are left out: a member without a
  // type cannot be declared. StyledText comes last, styledTextPrinter's
  // Graphics parameter decides that method's place.
  ObjectDefinition *graphics = LanguageGraphicsClass();
  sPrinter[0].type = graphics ? graphics->AsType() : nullptr;
  EditInstances[std::size(EditInstances) - 1].type = StyledTextClass()->AsType();
  EditMethods[9].returnType = StyledTextPrinterClass()->AsType();
  int32_t propertyCount = std::size(EditInstances);
  defn.SetPropertyListHead(FillInstances(EditInstances, propertyCount));
  if (!graphics)
    EditMethods[9].paramCount = 0;
  defn.methods = FillMethods(EditMethods, std::size(EditMethods));
  FillHooks(&defn, EditHooks, std::size(EditHooks));
  FillConstants(&defn, EditConstants, std::size(EditConstants));
  auto *createPane = new ObjectHookInstance;
  createPane->name = string("CreatePane");
  createPane->code = Code(EditCreatePane);
  defn.hookInstances = createPane;
  defn.addInterface(StringInterfaceClass());
  return &defn;
}

RuntimeObject **EditBoundSourceSlot(RuntimeObject *field) {
  return &AsEditField(field)->boundSource;
}
