// The group box: a captioned GTK+ frame that holds other controls' panes.
// It has no router: the pane fires its object's mouse events itself.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "windows/SubPane.h"

struct GroupBoxObject;

class GroupBox : public ContainerPane {
public:
  GroupBox(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds);

  // The frame's label text; "" when it has none.
  virtual string getCaption();
  // "&" markers become mnemonics; "&&" shows one "&".
  virtual void setCaption(const string &caption);
  virtual void setFont(const FontStructure &font);

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  // A closing box is forgotten by its object.
  void Close() override;

  void SetObject(GroupBoxObject *object) { mObject = object; }
  GroupBoxObject *Object() const { return mObject; }
  // The enabled flag alone: the frame's sensitivity is left alone.
  void SetEnabledFlag(bool on) { mEnabled = on; }
  GtkWidget *Label() const;

private:
  FontStructure mFont;
  GroupBoxObject *mObject = nullptr; // not owned
};

GroupBox *newGroupBox(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                      const string &caption, const FontStructure &font);
