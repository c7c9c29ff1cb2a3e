#include "database/classes/BoundControls.h"

#include "controls/CheckBoxClass.h"
#include "controls/ControlEntryPoints.h"
#include "controls/DataBindingServices.h"
#include "controls/PopupMenuClass.h"
#include "controls/StaticTextClass.h"
#include "database/sql/SqlStrings.h"
#include "foundation/String.h"
#include "text/EditFieldClass.h"
#include "text/EditFieldObject.h"

namespace {

std::string Take(stringStorage *text) {
  std::string bytes = sqlStdString(text);
  stringStorage::RemoveReference(text);
  return bytes;
}

bool SameIgnoringCase(const std::string &a, const std::string &b) {
  return sqlString(a).Compare(sqlString(b)) == 0;
}

void SetText(RuntimeObject *control, void (*setter)(RuntimeObject *, int32_t, stringStorage *),
             const std::string &text) {
  stringStorage *storage = sqlStorage(text);
  setter(control, 0, storage);
  stringStorage::RemoveReference(storage);
}

void SetEnabled(RuntimeObject *control, bool enabled) {
  if ((controlEnabledGetter(control, 0) != 0) != enabled)
    controlEnabledSetter(control, 0, enabled ? 1 : 0);
}

// The combo box's selected text, or nullopt without a selection.
std::optional<std::string> ComboText(RuntimeObject *control) {
  if (RuntimeComboBoxSelectionGetter(control, 0) < 0)
    return std::nullopt;
  return Take(RuntimeComboBoxTextGetter(control, 0));
}

// The text a text-like control shows; nullopt for a list without a
// selection and for kinds without a text.
std::optional<std::string> ShownText(RuntimeObject *control, int32_t kind) {
  switch (kind) {
  case kDataAwareEditField:
    return Take(editTextGetter(control, 0));
  case kDataAwareStaticText:
    return sqlStdString(reinterpret_cast<StaticTextObject *>(control)->text);
  case kDataAwarePopup:
    return ComboText(control);
  default:
    return std::nullopt;
  }
}

} // namespace

std::string BoundDataField(RuntimeObject *control, int32_t kind) {
  if (!control)
    return {};
  switch (kind) {
  case kDataAwareEditField:
    return sqlStdString(reinterpret_cast<EditControlObject *>(control)->dataField);
  case kDataAwareStaticText:
    return sqlStdString(reinterpret_cast<StaticTextObject *>(control)->dataField);
  case kDataAwarePopup:
    return sqlStdString(reinterpret_cast<ComboBoxControl *>(control)->dataField);
  case kDataAwareCheckBox:
    return sqlStdString(reinterpret_cast<CheckBoxObject *>(control)->dataField);
  default:
    return {};
  }
}

void BoundShow(RuntimeObject *control, int32_t kind, const std::optional<std::string> &column,
               bool blocked) {
  switch (kind) {
  case kDataAwareEditField:
    if ((editReadOnlyGetter(control, 0) != 0) != blocked)
      editReadOnlySetter(control, 0, blocked ? 1 : 0);
    SetText(control, editTextSetter, column.value_or(""));
    break;
  case kDataAwareStaticText:
    SetText(control, staticCaptionSetter, column.value_or(""));
    break;
  case kDataAwarePopup: {
    SetEnabled(control, !blocked);
    int32_t match = -1;
    const int32_t count = column ? RuntimeComboBoxCountGetter(control, 0) : 0;
    for (int32_t row = 0; row < count && match < 0; ++row)
      if (SameIgnoringCase(Take(RuntimeComboBoxGetRow(control, row)), *column))
        match = row;
    RuntimeComboBoxSelectionSetter(control, 0, match);
    break;
  }
  case kDataAwareCheckBox:
    SetEnabled(control, !blocked);
    checkBoxValueSetter(control, 0, column && SameIgnoringCase(*column, "true") ? 1 : 0);
    break;
  default:
    break;
  }
}

void BoundBlank(RuntimeObject *control, int32_t kind) {
  switch (kind) {
  case kDataAwareEditField:
    SetText(control, editTextSetter, "");
    break;
  case kDataAwareStaticText:
    SetText(control, staticCaptionSetter, "");
    break;
  case kDataAwarePopup:
    RuntimeComboBoxSelectionSetter(control, 0, -1);
    break;
  case kDataAwareCheckBox:
    checkBoxValueSetter(control, 0, 0);
    break;
  default:
    break;
  }
}

std::optional<std::string> BoundChange(RuntimeObject *control, int32_t kind, const std::string &column) {
  if (kind == kDataAwareCheckBox) {
    const bool checked = checkBoxValueGetter(control, 0) != 0;
    if (!checked && SameIgnoringCase(column, "true"))
      return std::string("false");
    if (checked && SameIgnoringCase(column, "false"))
      return std::string("true");
    return std::nullopt;
  }
  std::optional<std::string> text = ShownText(control, kind);
  if (text && *text != column)
    return text;
  return std::nullopt;
}

std::string BoundRecordText(RuntimeObject *control, int32_t kind) {
  if (kind == kDataAwareCheckBox)
    return checkBoxValueGetter(control, 0) ? "true" : "false";
  return ShownText(control, kind).value_or("");
}
