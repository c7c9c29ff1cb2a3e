// What start-up and the unhandled-exception path call in the controls area:
// the builders of its classes, the final dialog and the redrawing of changed
// backdrops. Filled while the
// program's static objects are made, before main.
#include "controls/Canvas.h"
#include "controls/CheckBoxClass.h"
#include "controls/ContextualMenuClass.h"
#include "controls/ControlClasses.h"
#include "controls/DataBinders.h"
#include "controls/DataBindingServices.h"
#include "controls/FolderItemDialog.h"
#include "controls/GroupBoxClass.h"
#include "controls/MessageDialog.h"
#include "controls/MessageDialogClass.h"
#include "controls/PagePanelClass.h"
#include "controls/PopupMenuClass.h"
#include "controls/ProgressBarClass.h"
#include "controls/PushButtonClass.h"
#include "controls/RadioButtonClass.h"
#include "controls/ScrollerClass.h"
#include "controls/ShapeControlClasses.h"
#include "controls/StaticTextClass.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"

namespace {

constinit EditBindingHooks sEditBinding{};

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.CreateDataBindClasses = CreateDataBindClasses;
  classes.InitMessageDialogClasses = InitMessageDialogClasses;
  classes.ObjectClass = ObjectClass;
  classes.ControlClass = ControlClass;
  classes.RectControlClass = RectControlClass;
  classes.StaticTextClass = StaticTextClass;
  classes.ContextualMenuClass = ContextualMenuClass;
  classes.GroupBoxClass = GroupBoxClass;
  classes.PopupRowTagClass = PopupRowTagClass;
  classes.PaneChildInterface = PaneChildInterface;
  classes.PushButtonClass = PushButtonClass;
  classes.CheckBoxClass = CheckBoxClass;
  classes.RadioButtonClass = RadioButtonClass;
  classes.PopupMenuClass = PopupMenuClass;
  classes.ComboBoxClass = ComboBoxClass;
  classes.CanvasClass = CanvasClass;
  classes.ScrollBarClass = ScrollBarClass;
  classes.SliderClass = SliderClass;
  classes.ProgressBarClass = ProgressBarClass;
  classes.RectangleClass = RectangleClass;
  classes.OvalClass = OvalClass;
  classes.RoundRectClass = RoundRectClass;
  classes.LineClass = LineClass;
  classes.PagePanelClass = PagePanelClass;
  classes.TabPanelClass = TabPanelClass;
  classes.InitFolderItemDialogClasses = InitFolderItemDialogClasses;
  UpperAreaHooksToFill().presentFinalDialog = PresentFinalDialog;
  UpperAreaHooksToFill().invalidateChangedBackdrop = InvalidateChangedBackdrop;
  return true;
}();

} // namespace

EditBindingHooks &EditBindingHooksToFill() { return sEditBinding; }
const EditBindingHooks &GetEditBindingHooks() { return sEditBinding; }

bool IsEditField(RuntimeObject *object) {
  ObjectDefinition *edit = BuiltinClassOrNil(GetBuiltinClassHooks().EditClass);
  return edit && sEditBinding.bindValue && sEditBinding.boundSourceSlot &&
         IsObjectOfClass(object, edit);
}
