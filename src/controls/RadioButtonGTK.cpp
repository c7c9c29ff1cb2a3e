#include "controls/RadioButtonGTK.h"

#include <algorithm>
#include <vector>

#include "controls/ToggleButtonGTK.h"
#include "foundation/AssertionAlert.h"
#include "windows/GTKHelper.h"

// One group of radio buttons: the buttons of one parent pane and tab page.
struct RadioGroup {
  GtkWidget *anchor; // never placed or shown; owned
  SubPane *parent;
  int32_t tabPanelIndex;
  int32_t members;
};

namespace {

constexpr AlertSite kRadioContainerAlert{"../Common/Linux/RadioButtonGTK", 0, "container"};

std::vector<RadioGroup *> &Groups() {
  static std::vector<RadioGroup *> groups;
  return groups;
}

// The group of the parent and page, made with its anchor when there is none.
RadioGroup *JoinGroup(SubPane *parent, int32_t tabPanelIndex) {
  for (RadioGroup *g : Groups())
    if (g->parent == parent && g->tabPanelIndex == tabPanelIndex) {
      ++g->members;
      return g;
    }
  GtkWidget *anchor = gtk_radio_button_new_with_label(nullptr, "");
  g_object_ref_sink(anchor);
  auto *g = new RadioGroup{anchor, parent, tabPanelIndex, 1};
  Groups().push_back(g);
  return g;
}

void LeaveGroup(RadioGroup *g) {
  if (!g || --g->members > 0)
    return;
  auto &groups = Groups();
  groups.erase(std::remove(groups.begin(), groups.end(), g), groups.end());
  gtk_widget_destroy(g->anchor);
  g_object_unref(g->anchor);
  delete g;
}

GSList *ListOf(RadioGroup *g) { return gtk_radio_button_get_group(GTK_RADIO_BUTTON(g->anchor)); }

} // namespace

void RadioButtonDelegate::RadioButtonSet(RadioButton *) {}
void RadioButtonDelegate::RadioButtonUnset(RadioButton *) {}
bool RadioButtonDelegate::RadioButtonMouseDown(RadioButton *, int32_t, int32_t) { return false; }
bool RadioButtonDelegate::RadioButtonMouseUp(RadioButton *, int32_t, int32_t) { return false; }
void RadioButtonDelegate::RadioButtonGotFocus(RadioButton *) {}
void RadioButtonDelegate::RadioButtonLostFocus(RadioButton *) {}

RadioButton *newRadioButton(RadioButtonDelegate *delegate, const FontStructure &font,
                            ContainerPane *container, int32_t tabPanelIndex,
                            const QV::Rect &bounds, const string &caption, int32_t value) {
  return new RadioButtonGTK(delegate, font, container, tabPanelIndex, bounds, caption, value);
}

int32_t CountRadioGroups() { return static_cast<int32_t>(Groups().size()); }

RadioButtonGTK::RadioButtonGTK(RadioButtonDelegate *delegate, const FontStructure &font,
                               ContainerPane *container, int32_t tabPanelIndex,
                               const QV::Rect &bounds, const string &caption, int32_t value)
    : RadioButton(container, tabPanelIndex, bounds), mDelegate(delegate) {
  SubPane *parent = GetEmbedder();
  if (!parent)
    ShowAlert(kRadioContainerAlert);
  mGroup = JoinGroup(parent, tabPanelIndex);
  SetWidget(gtk_radio_button_new_with_label(ListOf(mGroup), ""));
  GTKHelper::SetupWidget(this, true);
  setFont(font);
  setTitle(caption);
  setValue(value != 0);
  GObject *button = G_OBJECT(GetWidget());
  g_signal_connect(button, "toggled", G_CALLBACK(ToggledCallBack), this);
  g_signal_connect(button, "button-press-event",
                   G_CALLBACK(GTKHelper::GenericButtonPressedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(button, "button-release-event",
                   G_CALLBACK(GTKHelper::GenericButtonReleasedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(button, "grab-focus", G_CALLBACK(GTKHelper::GenericFocusCallBack),
                   static_cast<SubPane *>(this));
}

RadioButtonGTK::~RadioButtonGTK() {
  mDelegate = nullptr; // the widget's last signals report to nobody
  LeaveGroup(mGroup);
  mGroup = nullptr;
}

void RadioButtonGTK::Regroup() {
  SubPane *parent = GetEmbedder();
  if (!mGroup || (mGroup->parent == parent && mGroup->tabPanelIndex == mTabPanelIndex))
    return;
  RadioGroup *old = mGroup;
  const bool selected = getValue();
  mRegrouping = 1;
  mGroup = JoinGroup(parent, mTabPanelIndex);
  gtk_radio_button_set_group(GTK_RADIO_BUTTON(GetWidget()), ListOf(mGroup));
  if (selected)
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(GetWidget()), TRUE);
  mRegrouping = 0;
  LeaveGroup(old);
}

void RadioButtonGTK::ReassignParent(SubPane *newParent) {
  RadioButton::ReassignParent(newParent);
  Regroup();
}

void RadioButtonGTK::SetTabPanelIndex(int32_t index) {
  RadioButton::SetTabPanelIndex(index);
  Regroup();
}

// A report may close the window and with it the pane: nothing here touches
// the pane after the report.
void RadioButtonGTK::ToggledCallBack(GtkToggleButton *button, RadioButtonGTK *pane) {
  if (pane->mDelegate && !pane->mRegrouping && gtk_toggle_button_get_active(button))
    pane->mDelegate->RadioButtonSet(pane);
}

bool RadioButtonGTK::HandleClick(int32_t x, int32_t y, int32_t) {
  return ToggleButtonGTK::HandleClick(
      this, mDelegate != nullptr,
      [&](int32_t dx, int32_t dy) { return mDelegate->RadioButtonMouseDown(this, dx, dy); }, x,
      y);
}

void RadioButtonGTK::HandleMouseUp(int32_t x, int32_t y) {
  if (mDelegate)
    mDelegate->RadioButtonMouseUp(this, x - Bounds().left, y - Bounds().top);
}

void RadioButtonGTK::GainedFocus() {
  if (mDelegate && !IsClosing())
    mDelegate->RadioButtonGotFocus(this);
}

void RadioButtonGTK::LostFocus() {
  if (mDelegate && !IsClosing())
    mDelegate->RadioButtonLostFocus(this);
}

// Tab reaches a group at its selected button only.
bool RadioButtonGTK::AcceptFocus() { return RadioButton::AcceptFocus() && getValue(); }

bool RadioButtonGTK::getValue() {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(GetWidget())) != 0;
}

// Deselecting the selected button selects its group's anchor instead.
void RadioButtonGTK::setValue(bool on) {
  if (on || !getValue())
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(GetWidget()), on);
  else if (mGroup)
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(mGroup->anchor), TRUE);
}

void RadioButtonGTK::setTitle(const string &title) {
  GTKHelper::SetCaption(ToggleButtonGTK::Label(this), title, &mFont);
  mTitle = title;
}

void RadioButtonGTK::setFont(const FontStructure &font) {
  mFont = font;
  GTKHelper::SetupFont(ToggleButtonGTK::Label(this), &mFont);
}

void RadioButtonGTK::DrawIntoOffscreen(Graphics *g) {
  ToggleButtonGTK::DrawIntoOffscreen(this, g, true, mFont, mTitle);
}
