// The popup menu and combo box as the window layer sees them: a list of
// text rows with tags, of which the one the entry shows is selected. The
// pane fires its object's events itself (there is no router), and changes
// the program makes to the rows fire no Change.
#pragma once
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "controls/DataControlBinding.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"

class SubPane;
struct ComboBoxControl;
struct RuntimeObject;

class ComboBox : public DataAwareClass {
public:
  ComboBox(ComboBoxControl *control, const FontStructure &font)
      : mControl(control), mFont(font) {}

  // Binds the control to the data control its data source names.
  void InitializeBinding() override;
  void RemoveBinding() override;
  virtual bool CanLoseFocusOnArrowKeyPress();
  // Fires Change and tells the data receivers, once at a time.
  virtual void Change();
  virtual void AddItem(const string &text, RuntimeObject *data) = 0;
  // The first row equal to the entry's text, case ignored; -1 for none.
  virtual int32_t Selection() = 0;
  // Shows the row; without fireEvents no Change fires. An index that names
  // no row changes nothing.
  virtual void SetSelection(int32_t index, bool fireEvents) = 0;
  virtual RuntimeObject *GetItemData(int32_t index) = 0;
  virtual void SetItemData(int32_t index, RuntimeObject *data) = 0;
  virtual string GetPopupItem(int32_t index) = 0;
  virtual void AddSeparator() = 0;
  virtual void ChangeItem(int32_t index, const string &text) = 0;
  virtual void ResetContent() = 0;
  virtual void RemoveItem(int32_t index) = 0;
  virtual void InsertItem(int32_t index, const string &text, RuntimeObject *data) = 0;
  virtual int32_t GetCount() = 0;
  virtual int32_t FindRowByData(RuntimeObject *data) = 0;
  virtual void PopupMenuGotFocus();
  virtual void PopupMenuLostFocus();
  virtual void FontChanged() = 0;
  virtual string GetText() = 0;
  virtual void SetText(const string &text) = 0;
  // Fires the combo box's TextChanged.
  virtual void TextChanged();

  ComboBoxControl *Control() const { return mControl; }
  // The object goes first: the pane leaves its data control and forgets it.
  void ForgetControl();
  DataControlBinding &Binding() { return mBinding; }
  FontStructure &Font() { return mFont; }

protected:
  virtual ~ComboBox() = default;
  // The pane as the window layer knows it, for locking around events.
  virtual SubPane *AsPane() = 0;

  DataControlBinding mBinding{kDataAwarePopup};
  ComboBoxControl *mControl; // not counted
  FontStructure mFont;
};
