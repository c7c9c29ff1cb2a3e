#include "controls/PopupMenuClass.h"

#include <iterator>
#include <vector>

#include "controls/ControlClasses.h"
#include "controls/DataBinders.h"
#include "controls/DesignLines.h"
#include "controls/PopupMenuGTK.h"
#include "language/Variant.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

ComboBoxControl *AsCombo(RuntimeObject *object) {
  return reinterpret_cast<ComboBoxControl *>(object);
}

ComboBox *PaneOf(RuntimeObject *object) { return object ? AsCombo(object)->pane : nullptr; }

#define CODE(function) reinterpret_cast<void *>(function), #function
#define FIELD(name) static_cast<int32_t>(offsetof(ComboBoxControl, name))

ObjectHookTemplate PopupHooks[] = {
    {0, "Change", "", "", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "GotFocus", "", "", nullptr, 0},
    {0, "LostFocus", "", "", nullptr, 0},
};

ObjectHookTemplate ComboBoxHooks[] = {
    {0, "TextChanged", "", "", nullptr, 0},
};

constexpr int32_t kDesignTimeRows = 0x80;

ObjectInstanceTemplate PopupProperties[] = {
    {0, "TextFont", &stringType.type, CODE(RuntimeComboBoxTextFontGetter),
     CODE(RuntimeComboBoxTextFontSetter), 0, 0},
    {0, "TextSize", &integerType.type, CODE(RuntimeComboBoxTextSizeGetter),
     CODE(RuntimeComboBoxTextSizeSetter), 0, 0},
    {0, "Bold", &booleanType.type, CODE(RuntimeComboBoxBoldGetter),
     CODE(RuntimeComboBoxBoldSetter), 0, 0},
    {0, "Italic", &booleanType.type, CODE(RuntimeComboBoxItalicGetter),
     CODE(RuntimeComboBoxItalicSetter), 0, 0},
    {0, "Underline", &booleanType.type, CODE(RuntimeComboBoxUnderlineGetter),
     CODE(RuntimeComboBoxUnderlineSetter), 0, 0},
    {0, "ListCount", &integerType.type, CODE(RuntimeComboBoxCountGetter), nullptr, nullptr, 0, 0},
    {0, "ListIndex", &integerType.type, CODE(RuntimeComboBoxSelectionGetter),
     CODE(RuntimeComboBoxSelectionSetter), 0, 0},
    {0, "Text", &stringType.type, CODE(RuntimeComboBoxTextGetter), nullptr, nullptr, 0, 0},
    {kDesignTimeRows, "InitialValue", &stringType.type, CODE(stringGetter), CODE(stringSetter),
     FIELD(initialValue), 0},
    {0, "DataSource", &stringType.type, CODE(PopupDataSourceGetter), CODE(PopupDataSourceSetter),
     0, 0},
    {0, "DataField", &stringType.type, CODE(stringGetter), CODE(PopupDataFieldSetter),
     FIELD(dataField), 0},
};

ObjectInstanceTemplate ComboBoxProperties[] = {
    {0, "Text", &stringType.type, CODE(RuntimeComboBoxTextGetter),
     CODE(RuntimeComboBoxTextSetter), 0, 0},
};

MethodParameter TextParameter[] = {{"Text", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter IndexParameter[] = {{"Index", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter InsertParameters[] = {{"row", &integerType.type, 0, {}, 0, {}, 0, {}},
                                      {"str", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter ReceiverParameter[] = {{"receiver", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter DataParameter[] = {{"data", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter RowTagParameters[] = {{"Index", &integerType.type, 0, {}, 0, {}, 0, {}},
                                      {"value", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter PartNameParameter[] = {{"v", &stringType.type, 0, {}, 0, {}, 0, {}}};

#define METHOD(name, result, params, count, function)                                             \
  { name, result, params, count, {{CODE(function), {}}, {}}, kPlainMethod, 0, 0 }

PropertyMethod PopupMethods[] = {
    METHOD("DeleteAllRows", nullptr, nullptr, 0, RuntimeComboBoxEmpty),
    METHOD("AddRow", nullptr, TextParameter, 1, RuntimeComboBoxAddRow),
    METHOD("AddSeparator", nullptr, nullptr, 0, RuntimeComboBoxAddSeparator),
    METHOD("RemoveRow", nullptr, IndexParameter, 1, RuntimeComboBoxRemoveRow),
    METHOD("List", &stringType.type, IndexParameter, 1, RuntimeComboBoxGetRow),
    METHOD("InsertRow", nullptr, InsertParameters, 2, RuntimeComboBoxInsertRow),
    METHOD("getString", &stringType.type, nullptr, 0, RuntimeComboBoxGetString),
    METHOD("addDataNotificationReceiver", nullptr, ReceiverParameter, 1, popupAddDNR),
    METHOD("removeDataNotificationReceiver", nullptr, ReceiverParameter, 1, popupRemoveDNR),
    METHOD("dataAvailable", &booleanType.type, nullptr, 0, popupDataAvailable),
    METHOD("BindList", nullptr, DataParameter, 1, popupBindList),
    {"RowTag",
     nullptr,
     RowTagParameters,
     2,
     {{CODE(getPopupRowTag), {}}, {CODE(setPopupRowTag), {}}},
     kAssignsMethod,
     0,
     0},
    METHOD("getBoundPart", nullptr, PartNameParameter, 1, popupGetBoundPart),
};
enum { kRowTagMethod = 11, kBoundPartMethod = 12 };

PropertyMethod RowTagMethods[] = {
    METHOD("getString", &stringType.type, nullptr, 0, popupRowTagGetString),
    METHOD("addDataNotificationReceiver", nullptr, ReceiverParameter, 1, popupRowTagAddDNR),
    METHOD("removeDataNotificationReceiver", nullptr, ReceiverParameter, 1, popupRowTagRemoveDNR),
    METHOD("dataAvailable", &booleanType.type, nullptr, 0, popupRowTagDataAvailable),
    METHOD("dataChanged", nullptr, nullptr, 0, popupRowTagDataChanged),
};

// The live row-tag providers, so that a popup that goes can detach its own.
std::vector<PopupRowTagObject *> &RowTags() {
  static std::vector<PopupRowTagObject *> tags;
  return tags;
}

void RowTagDestructor(RuntimeObject *object) {
  auto *t = reinterpret_cast<PopupRowTagObject *>(object);
  auto &tags = RowTags();
  std::erase(tags, t);
  t->receivers.Clear();
  t->popup = nullptr;
}

void PopupDestructor(RuntimeObject *object) {
  ComboBoxControl *c = AsCombo(object);
  if (ComboBox *pane = c->pane)
    pane->ForgetControl();
  DetachPopupRowTags(object);
  c->font.Release();
  c->dataReceivers.Clear();
  RuntimeObject *list = c->boundList;
  c->boundList = nullptr;
  RuntimeUnlockObject(list);
  for (stringStorage **s : {&c->initialValue, &c->dataSource, &c->dataField}) {
    RuntimeUnlockString(*s);
    *s = nullptr;
  }
}

// The design-time rows: one per line, whatever the line endings; a line
// break at the end adds no row.
void AddInitialRows(ComboBoxControl *c, ComboBox *pane) {
  ForEachDesignLine(c->initialValue, false,
                    [pane](const string &row) { pane->AddItem(row, nullptr); });
  RuntimeUnlockString(c->initialValue);
  c->initialValue = nullptr;
}

void MakePane(RuntimeObject *object, bool editable) {
  ComboBoxControl *c = AsCombo(object);
  auto *pane = new PopupMenu(c, c->font.getFont(), c->control.container, c->control.tabPanelIndex,
                             c->control.bounds, editable);
  c->pane = pane;
  c->control.pane = pane;
  if (RuntimeControl *parent = c->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  if (c->initialValue)
    AddInitialRows(c, pane);
  if (c->pendingSelection != -1)
    pane->SetSelection(c->pendingSelection, false);
  pane->Flush();
  pane->Binding().SetDataSourceName(string::Borrow(c->dataSource));
  pane->InitializeBinding();
}

// A font property: the pane's font while it exists, else the object's;
// both take a new value, and the pane is redrawn.
template <typename Read> auto ReadFont(RuntimeObject *object, Read read) {
  ComboBox *pane = PaneOf(object);
  FontStructure f = pane ? pane->Font() : AsCombo(object)->font.getFont();
  return read(f);
}

template <typename Write> void WriteFont(RuntimeObject *object, Write write) {
  ComboBoxControl *c = AsCombo(object);
  FontStructure f = c->font.getFont();
  write(f);
  c->font.SetName(f.name.Storage());
  c->font.size = static_cast<int16_t>(f.size);
  c->font.bold = f.bold;
  c->font.italic = f.italic;
  c->font.underline = f.underline;
  if (ComboBox *pane = c->pane) {
    write(pane->Font());
    pane->FontChanged();
  }
}

bool InBounds(ComboBox *pane, int32_t index) {
  if (index >= 0 && index < pane->GetCount())
    return true;
  RaiseOutOfBoundsException();
  return false;
}

} // namespace

const ObjectHook *PopupEventHook(PopupEvent event) {
  return PopupHooks[static_cast<int>(event)].hook;
}

const ObjectHook *ComboBoxTextChangedHook() { return ComboBoxHooks[0].hook; }

void DetachPopupRowTags(RuntimeObject *popup) {
  for (PopupRowTagObject *t : RowTags())
    if (t->popup == popup)
      t->popup = nullptr;
}

void PopupMenuCreatePane(RuntimeObject *object) { MakePane(object, false); }

// A combo box binds as the popup menu does.
void ComboBoxCreatePane(RuntimeObject *object) { MakePane(object, true); }

ObjectDefinition *PopupMenuClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineControlClass(defn, "PopupMenu", RectControlClass(), kPopupMenuInstanceSize, PopupDestructor,
                     PopupMenuCreatePane);
  defn.properties = FillInstances(PopupProperties, std::size(PopupProperties));
  ReceiverParameter[0].type = DataNotificationReceiverClass()->AsType();
  DataParameter[0].type = ListDataProviderClass()->AsType();
  RowTagParameters[1].type = VariantClass()->AsType();
  PopupMethods[kRowTagMethod].returnType = VariantClass()->AsType();
  PopupMethods[kBoundPartMethod].returnType = ObjectClass()->AsType();
  defn.methods = FillMethods(PopupMethods, std::size(PopupMethods));
  FillHooks(&defn, PopupHooks, std::size(PopupHooks));
  defn.addInterface(StringProviderClass());
  defn.addInterface(DataNotifierClass());
  defn.addInterface(DataAvailableProviderClass());
  defn.addInterface(ListInterfaceClass());
  defn.addInterface(BindingPartInterfaceClass());
  return &defn;
}

ObjectDefinition *ComboBoxClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineControlClass(defn, "ComboBox", PopupMenuClass(), kPopupMenuInstanceSize, nullptr,
                     ComboBoxCreatePane);
  defn.properties = FillInstances(ComboBoxProperties, std::size(ComboBoxProperties));
  FillHooks(&defn, ComboBoxHooks, std::size(ComboBoxHooks));
  return &defn;
}

ObjectDefinition *PopupRowTagClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("sys$popupRowTag");
  defn.objectSize = sizeof(PopupRowTagObject);
  defn.destructor = RowTagDestructor;
  defn.staticTables = 1;
  ReceiverParameter[0].type = DataNotificationReceiverClass()->AsType();
  defn.methods = FillMethods(RowTagMethods, std::size(RowTagMethods));
  defn.addInterface(StringProviderClass());
  defn.addInterface(DataNotifierClass());
  defn.addInterface(DataAvailableProviderClass());
  defn.addInterface(DataNotificationReceiverClass());
  return &defn;
}

extern "C" {

stringStorage *RuntimeComboBoxTextFontGetter(RuntimeObject *object, int32_t) {
  return ReadFont(object, [](FontStructure &f) { return RuntimeLockString(f.name.Storage()); });
}

void RuntimeComboBoxTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  WriteFont(object, [name](FontStructure &f) { f.name = string::Borrow(name); });
}

int32_t RuntimeComboBoxTextSizeGetter(RuntimeObject *object, int32_t) {
  return ReadFont(object, [](FontStructure &f) { return static_cast<int32_t>(f.size); });
}

void RuntimeComboBoxTextSizeSetter(RuntimeObject *object, int32_t, int32_t size) {
  WriteFont(object, [size](FontStructure &f) { f.size = static_cast<int16_t>(size); });
}

int32_t RuntimeComboBoxBoldGetter(RuntimeObject *object, int32_t) {
  return ReadFont(object, [](FontStructure &f) { return f.bold ? 1 : 0; });
}

void RuntimeComboBoxBoldSetter(RuntimeObject *object, int32_t, int32_t on) {
  WriteFont(object, [on](FontStructure &f) { f.bold = on != 0; });
}

int32_t RuntimeComboBoxItalicGetter(RuntimeObject *object, int32_t) {
  return ReadFont(object, [](FontStructure &f) { return f.italic ? 1 : 0; });
}

void RuntimeComboBoxItalicSetter(RuntimeObject *object, int32_t, int32_t on) {
  WriteFont(object, [on](FontStructure &f) { f.italic = on != 0; });
}

int32_t RuntimeComboBoxUnderlineGetter(RuntimeObject *object, int32_t) {
  return ReadFont(object, [](FontStructure &f) { return f.underline ? 1 : 0; });
}

void RuntimeComboBoxUnderlineSetter(RuntimeObject *object, int32_t, int32_t on) {
  WriteFont(object, [on](FontStructure &f) { f.underline = on != 0; });
}

int32_t RuntimeComboBoxCountGetter(RuntimeObject *object, int32_t) {
  ComboBox *pane = PaneOf(object);
  return pane ? pane->GetCount() : 0;
}

int32_t RuntimeComboBoxSelectionGetter(RuntimeObject *object, int32_t) {
  ComboBox *pane = PaneOf(object);
  return pane ? pane->Selection() : -1;
}

void RuntimeComboBoxSelectionSetter(RuntimeObject *object, int32_t, int32_t index) {
  if (ComboBox *pane = PaneOf(object))
    pane->SetSelection(index, true);
  else if (object)
    AsCombo(object)->pendingSelection = index;
}

// Without a pane the text is empty.
stringStorage *RuntimeComboBoxTextGetter(RuntimeObject *object, int32_t) {
  ComboBox *pane = PaneOf(object);
  return pane ? pane->GetText().ExtractStringStorage() : nullptr;
}

// Without a pane there is nothing to show the text in.
void RuntimeComboBoxTextSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  if (ComboBox *pane = PaneOf(object))
    pane->SetText(string::Borrow(text));
}

stringStorage *PopupDataSourceGetter(RuntimeObject *object, int32_t) {
  return RuntimeLockString(AsCombo(object)->dataSource);
}

void PopupDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  stringSetter(object, FIELD(dataSource), name);
  if (ComboBox *pane = PaneOf(object)) {
    pane->RemoveBinding();
    pane->Binding().SetDataSourceName(string::Borrow(name));
    pane->InitializeBinding();
  }
}

void PopupDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  stringSetter(object, FIELD(dataField), name);
  if (ComboBox *pane = PaneOf(object))
    pane->InitializeBinding();
}

void RuntimeComboBoxEmpty(RuntimeObject *object) {
  if (ComboBox *pane = PaneOf(object))
    pane->ResetContent();
}

void RuntimeComboBoxAddRow(RuntimeObject *object, stringStorage *text) {
  if (ComboBox *pane = PaneOf(object))
    pane->AddItem(string::Borrow(text), nullptr);
}

void RuntimeComboBoxAddSeparator(RuntimeObject *object) {
  if (ComboBox *pane = PaneOf(object))
    pane->AddSeparator();
}

void RuntimeComboBoxRemoveRow(RuntimeObject *object, int32_t index) {
  if (ComboBox *pane = PaneOf(object); pane && InBounds(pane, index))
    pane->RemoveItem(index);
}

stringStorage *RuntimeComboBoxGetRow(RuntimeObject *object, int32_t index) {
  ComboBox *pane = PaneOf(object);
  if (!pane || !InBounds(pane, index))
    return nullptr;
  return pane->GetPopupItem(index).ExtractStringStorage();
}

void RuntimeComboBoxInsertRow(RuntimeObject *object, int32_t row, stringStorage *text) {
  if (ComboBox *pane = PaneOf(object))
    pane->InsertItem(row, string::Borrow(text), nullptr);
}

stringStorage *RuntimeComboBoxGetString(RuntimeObject *object) {
  return RuntimeComboBoxTextGetter(object, 0);
}

void popupAddDNR(RuntimeObject *object, RuntimeObject *receiver) {
  AsCombo(object)->dataReceivers.AddHandler(receiver);
}

void popupRemoveDNR(RuntimeObject *object, RuntimeObject *receiver) {
  AsCombo(object)->dataReceivers.RemoveHandler(receiver);
}

int32_t popupDataAvailable(RuntimeObject *object) {
  ComboBox *pane = PaneOf(object);
  return pane && pane->Selection() >= 0 ? 1 : 0;
}

// The rows of a list-data provider: a row per tuple, its first field as the
// text and its second, when there is one, as the tag.
void popupBindList(RuntimeObject *object, RuntimeObject *data) {
  if (!object)
    return;
  ComboBoxControl *c = AsCombo(object);
  RuntimeLockUnlockObjects(data, c->boundList);
  c->boundList = data;
  RuntimeComboBoxEmpty(object);
  ComboBox *pane = PaneOf(object);
  using Count = int32_t (*)(RuntimeObject *);
  using Row = RuntimeObject *(*)(RuntimeObject *, int32_t);
  using Field = stringStorage *(*)(RuntimeObject *, int32_t);
  auto count = InterfaceMethodAs<Count>(data, ListDataProviderClass(), "GetCount");
  auto getRow = InterfaceMethodAs<Row>(data, ListDataProviderClass(), "GetRow");
  const int32_t n = count ? count(data) : 0;
  for (int32_t r = 1; r <= n && pane && getRow; ++r) {
    RuntimeObject *row = getRow(data, r);
    if (!row)
      continue;
    auto fields = InterfaceMethodAs<Count>(row, TupleInterfaceClass(), "FieldCount");
    auto field = InterfaceMethodAs<Field>(row, TupleInterfaceClass(), "getIndString");
    const int32_t fieldCount = fields ? fields(row) : 1;
    if (field && fieldCount >= 1) {
      stringStorage *text = field(row, 1);
      pane->AddItem(string::Borrow(text), nullptr);
      RuntimeUnlockString(text);
      if (fieldCount >= 2) {
        stringStorage *tag = field(row, 2);
        RuntimeObject *variant = stringToVariant(tag);
        pane->SetItemData(pane->GetCount() - 1, variant);
        RuntimeUnlockObject(variant);
        RuntimeUnlockString(tag);
      }
    }
    RuntimeUnlockObject(row);
    pane = PaneOf(object); // a provider may have closed the window
  }
}

RuntimeObject *getPopupRowTag(RuntimeObject *object, int32_t index) {
  ComboBox *pane = PaneOf(object);
  if (!pane || !InBounds(pane, index))
    return nullptr;
  RuntimeObject *tag = pane->GetItemData(index);
  RuntimeLockObject(tag);
  return tag;
}

void setPopupRowTag(RuntimeObject *object, int32_t index, RuntimeObject *tag) {
  if (ComboBox *pane = PaneOf(object); pane && InBounds(pane, index))
    pane->SetItemData(index, tag);
}

RuntimeObject *popupGetBoundPart(RuntimeObject *object, stringStorage *name) {
  if (!object || string::Borrow(name).Compare(string("RowTagProvider")) != 0)
    return nullptr;
  RuntimeObject *part = CreateInstance(PopupRowTagClass());
  if (!part)
    return nullptr;
  auto *t = reinterpret_cast<PopupRowTagObject *>(part);
  t->popup = object;
  RowTags().push_back(t);
  popupAddDNR(object, part);
  return part;
}

stringStorage *popupRowTagGetString(RuntimeObject *object) {
  RuntimeObject *popup = reinterpret_cast<PopupRowTagObject *>(object)->popup;
  ComboBox *pane = PaneOf(popup);
  const int32_t s = pane ? pane->Selection() : -1;
  RuntimeObject *tag = s >= 0 ? pane->GetItemData(s) : nullptr;
  return tag ? variantToString(tag) : nullptr;
}

void popupRowTagAddDNR(RuntimeObject *object, RuntimeObject *receiver) {
  reinterpret_cast<PopupRowTagObject *>(object)->receivers.AddHandler(receiver);
}

void popupRowTagRemoveDNR(RuntimeObject *object, RuntimeObject *receiver) {
  reinterpret_cast<PopupRowTagObject *>(object)->receivers.RemoveHandler(receiver);
}

int32_t popupRowTagDataAvailable(RuntimeObject *object) {
  RuntimeObject *popup = reinterpret_cast<PopupRowTagObject *>(object)->popup;
  return popup ? popupDataAvailable(popup) : 0;
}

void popupRowTagDataChanged(RuntimeObject *object) {
  reinterpret_cast<PopupRowTagObject *>(object)->receivers.DataChanged();
}

} // extern "C"
