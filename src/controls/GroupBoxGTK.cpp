#include <gtk/gtk.h>

#include "controls/ControlEventFiring.h"
#include "controls/GroupBoxClass.h"
#include "windows/GTKHelper.h"

GroupBox::GroupBox(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds)
    : ContainerPane(container, tabPanelIndex, bounds) {
  mFont.size = 12;
  SetWidget(gtk_frame_new(""));
  GTKHelper::SetupWidget(this, true);
}

GroupBox *newGroupBox(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                      const string &caption, const FontStructure &font) {
  auto *box = new GroupBox(container, tabPanelIndex, bounds);
  box->setFont(font);
  box->setCaption(caption);
  return box;
}

GtkWidget *GroupBox::Label() const { return gtk_frame_get_label_widget(GTK_FRAME(GetWidget())); }

string GroupBox::getCaption() {
  const char *text = gtk_frame_get_label(GTK_FRAME(GetWidget()));
  return string(text ? text : "");
}

void GroupBox::setCaption(const string &caption) {
  if (GtkWidget *label = Label())
    GTKHelper::SetCaption(label, caption, &mFont);
}

void GroupBox::setFont(const FontStructure &font) {
  mFont = font;
  if (GtkWidget *label = Label())
    GTKHelper::SetupFont(label, &mFont);
}

void GroupBox::Close() {
  if (mObject && mObject->control.pane == this)
    mObject->control.pane = nullptr;
  ContainerPane::Close();
}

namespace {

RuntimeObject *GroupBoxObjectOf(GroupBox *box) {
  return box->Object() ? &box->Object()->control.header : nullptr;
}

} // namespace

bool GroupBox::HandleClick(int32_t x, int32_t y, int32_t) {
  return FirePaneMouseDown(this, GroupBoxObjectOf(this),
                           GroupBoxEventHook(GroupBoxEvent::kMouseDown), x, y);
}

void GroupBox::HandleMouseDrag(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, GroupBoxObjectOf(this), GroupBoxEventHook(GroupBoxEvent::kMouseDrag), x,
                     y);
}

void GroupBox::HandleMouseUp(int32_t x, int32_t y) {
  FirePaneMouseEvent(this, GroupBoxObjectOf(this), GroupBoxEventHook(GroupBoxEvent::kMouseUp), x,
                     y);
}
