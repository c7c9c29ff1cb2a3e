#include <gtk/gtk.h>

#include "controls/GroupBoxClass.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "windows/GTKHelper.h"

namespace {

// The box's object's handler for the event; nil when it has none or the
// object went. Handlers run with the object held and the pane locked, so
// that one closing the window finds both still there.
template <typename Handler>
Handler HandlerOf(GroupBoxObject *object, GroupBoxEvent event) {
  if (!object)
    return nullptr;
  return reinterpret_cast<Handler>(
      FindObjectCode(&object->control.header, GroupBoxEventHook(event)));
}

} // namespace

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

bool GroupBox::HandleClick(int32_t x, int32_t y, int32_t) {
  using Handler = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  GroupBoxObject *object = mObject;
  auto handler = HandlerOf<Handler>(object, GroupBoxEvent::kMouseDown);
  if (!handler)
    return false;
  RuntimeLockObject(&object->control.header);
  Lock();
  const bool down = handler(&object->control.header, x - Bounds().left, y - Bounds().top) != 0;
  const bool deleted = Unlock();
  RuntimeUnlockObject(&object->control.header);
  if (deleted)
    return true;
  if (!down)
    return false;
  CaptureMouse(this);
  return true;
}

namespace {

void FireMouse(GroupBox *box, GroupBoxEvent event, int32_t x, int32_t y) {
  using Handler = void (*)(RuntimeObject *, int32_t, int32_t);
  GroupBoxObject *object = box->Object();
  auto handler = HandlerOf<Handler>(object, event);
  if (!handler)
    return;
  RuntimeLockObject(&object->control.header);
  box->Lock();
  handler(&object->control.header, x - box->Bounds().left, y - box->Bounds().top);
  box->Unlock();
  RuntimeUnlockObject(&object->control.header);
}

} // namespace

void GroupBox::HandleMouseDrag(int32_t x, int32_t y) {
  FireMouse(this, GroupBoxEvent::kMouseDrag, x, y);
}

void GroupBox::HandleMouseUp(int32_t x, int32_t y) {
  FireMouse(this, GroupBoxEvent::kMouseUp, x, y);
}
