// The check box as the window layer sees it: a labelled on/off pane whose
// value both the user and code change, bound to a data control by name. It
// reports every change of its value, and what the user does, to one delegate.
#pragma once
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "controls/DataControlBinding.h"
#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "windows/SubPane.h"

class CheckBox;
struct CheckBoxObject;

// What a check box reports. Every default does nothing and answers false.
// Coordinates are relative to the box's top-left corner.
class CheckBoxDelegate {
public:
  virtual void CheckBoxChanged(CheckBox *pane);
  virtual bool CheckBoxMouseDown(CheckBox *pane, int32_t x, int32_t y);
  virtual bool CheckBoxMouseUp(CheckBox *pane, int32_t x, int32_t y);
  virtual void CheckBoxGotFocus(CheckBox *pane);
  virtual void CheckBoxLostFocus(CheckBox *pane);

protected:
  ~CheckBoxDelegate() = default;
};

class CheckBox : public ContainerPane, public DataAwareClass {
public:
  CheckBox(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds)
      : ContainerPane(parent, tabPanelIndex, bounds) {}
  ~CheckBox() override;

  virtual void setValue(bool on) = 0;
  virtual bool getValue() = 0;
  virtual void setTitle(const string &title) = 0;
  virtual void setFont(const FontStructure &font) = 0;
  // Binds the owning object to the data control its data source names.
  void InitializeBinding() override;
  void RemoveBinding() override;
  // A pane that outlives its delegate is told to report to nobody.
  virtual void setDelegate(CheckBoxDelegate *delegate) = 0;

  // A closing box leaves its data control, and its object forgets it.
  void Close() override;
  void SetOwner(CheckBoxObject *owner) { mOwner = owner; }
  CheckBoxObject *Owner() const { return mOwner; }
  // The object goes first: the box leaves its data control and forgets it.
  void ForgetOwner();
  DataControlBinding &Binding() { return mBinding; }

private:
  DataControlBinding mBinding{kDataAwareCheckBox};
  CheckBoxObject *mOwner = nullptr; // not counted
};

// A new check box with its widget placed in the window and shown. bounds
// are in the window's content coordinates.
CheckBox *newCheckBox(CheckBoxDelegate *delegate, const FontStructure &font,
                      ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                      const string &caption, int32_t value);
